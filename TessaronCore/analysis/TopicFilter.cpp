#include "TessaronCore/analysis/TopicFilter.h"

#include "TessaronCore/analysis/SearchTerm.h"
#include "TessaronCore/model/TextRules.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

namespace tessaron::TopicFilter {

namespace {

bool inNamespace(const QString& name, const std::optional<QString>& namespaceName)
{
    if (!namespaceName)
        return true;
    const QString& ns = *namespaceName;
    return name == ns || (name.size() > ns.size() && name.startsWith(ns) && name.at(ns.size()) == QLatin1Char('.'));
}

bool passesSearch(const QString& name, const std::optional<SearchTerm>& term) { return !term || term->matches(name); }

} // namespace

namespace {

struct Candidate {
    const Topic* topic;
    bool deadLetter;
    QString orderKey;
};

// The visible topics in display order, each with its dead-letter look worked out once.
std::vector<Candidate> visibleCandidates(const QList<Topic>& topics, QStringView search,
                                         const std::optional<QString>& namespaceName, bool includeInternal)
{
    const std::optional<SearchTerm> term = SearchTerm::prepare(search);
    std::vector<Candidate> kept;
    kept.reserve(size_t(topics.size()));
    for (const Topic& t : topics) {
        if (!includeInternal && t.isInternal)
            continue;
        if (!inNamespace(t.name, namespaceName) || !passesSearch(t.name, term))
            continue;
        kept.push_back({&t, t.looksLikeDeadLetter(), TextRules::orderKey(t.name)});
    }
    std::stable_sort(kept.begin(), kept.end(), [](const Candidate& a, const Candidate& b) {
        if (a.topic->isInternal != b.topic->isInternal)
            return !a.topic->isInternal;
        if (a.deadLetter != b.deadLetter)
            return a.deadLetter;
        return TextRules::compareCodePoints(a.orderKey, b.orderKey) < 0;
    });
    return kept;
}

} // namespace

QList<Topic> visible(const QList<Topic>& topics, QStringView search, const std::optional<QString>& namespaceName,
                     bool includeInternal)
{
    const std::vector<Candidate> kept = visibleCandidates(topics, search, namespaceName, includeInternal);
    QList<Topic> result;
    result.reserve(qsizetype(kept.size()));
    for (const Candidate& c : kept)
        result.append(*c.topic);
    return result;
}

Sections sections(const QList<Topic>& topics, const QStringList& pinned, QStringView search,
                  const std::optional<QString>& namespaceName, bool includeInternal, bool reportMissing)
{
    const std::vector<Candidate> shown = visibleCandidates(topics, search, namespaceName, includeInternal);
    Sections s;

    QHash<QString, const Topic*> firstShown;
    firstShown.reserve(qsizetype(shown.size()));
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        firstShown.insert(it->topic->name, it->topic); // ends holding the earliest

    const QSet<QString> pinSet(pinned.cbegin(), pinned.cend());
    for (const QString& name : pinned) {
        const auto it = firstShown.constFind(name);
        if (it != firstShown.constEnd())
            s.pinned.append(**it);
    }
    // Topics are not relocatable: growing the list copies every one already in it.
    s.ordinary.reserve(qsizetype(shown.size()));
    for (const Candidate& c : shown) {
        if (pinSet.contains(c.topic->name))
            continue;
        if (c.deadLetter)
            s.deadLetters.append(*c.topic);
        else
            s.ordinary.append(*c.topic);
    }

    if (reportMissing) {
        QSet<QString> present;
        present.reserve(topics.size());
        for (const Topic& t : topics)
            present.insert(t.name);
        const std::optional<SearchTerm> term = SearchTerm::prepare(search);
        for (const QString& name : pinned) {
            if (!present.contains(name) && inNamespace(name, namespaceName) && passesSearch(name, term))
                s.missingPins.append(name);
        }
    }
    return s;
}

QStringList namespaces(const QList<Topic>& topics)
{
    QHash<QString, qsizetype> counts;
    for (const Topic& t : topics) {
        if (t.isInternal)
            continue;
        // The first non-empty segment counts when it is shorter than the name, that is when the
        // name holds a full stop.
        const QStringList segments = t.name.split(QLatin1Char('.'), Qt::SkipEmptyParts);
        if (segments.isEmpty() || segments.first().size() >= t.name.size())
            continue;
        counts[segments.first()] += 1;
    }
    QStringList result;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() >= 2)
            result.append(it.key());
    }
    std::sort(result.begin(), result.end(), [](const QString& a, const QString& b) {
        if (const int c = TextRules::compare(a, b))
            return c < 0;
        return TextRules::compareCodePoints(a, b) < 0;
    });
    return result;
}

} // namespace tessaron::TopicFilter
