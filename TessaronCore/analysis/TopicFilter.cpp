#include "TessaronCore/analysis/TopicFilter.h"

#include "TessaronCore/analysis/SearchTerm.h"
#include "TessaronCore/model/ByteHash.h"
#include "TessaronCore/model/TextRules.h"

#include <QHash>

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

    // Pins are few and topics many: hash the pins once and look every topic up among them, rather
    // than hashing every topic name.
    QHash<HashedView<QStringView>, qsizetype> pinSlot; // name to its slot among the distinct pins
    pinSlot.reserve(pinned.size());
    for (const QString& name : pinned) {
        const HashedView<QStringView> key(name);
        if (!pinSlot.contains(key))
            pinSlot.insert(key, pinSlot.size());
    }
    const auto slotOf = [&](const QString& name) -> qsizetype {
        if (pinSlot.isEmpty())
            return -1;
        return pinSlot.value(HashedView<QStringView>(name), -1);
    };

    // Sized once: growing a list of topics copies every topic held so far.
    qsizetype deadLetters = 0;
    for (const Candidate& c : shown)
        deadLetters += c.deadLetter ? 1 : 0;
    s.deadLetters.reserve(deadLetters);
    s.ordinary.reserve(qsizetype(shown.size()) - deadLetters);
    s.pinned.reserve(pinned.size());

    std::vector<const Topic*> firstShown(size_t(pinSlot.size()), nullptr);
    for (const Candidate& c : shown) {
        const qsizetype slot = slotOf(c.topic->name);
        if (slot >= 0) {
            if (!firstShown[size_t(slot)])
                firstShown[size_t(slot)] = c.topic;
        } else if (c.deadLetter) {
            s.deadLetters.append(*c.topic);
        } else {
            s.ordinary.append(*c.topic);
        }
    }
    for (const QString& name : pinned) {
        if (const Topic* topic = firstShown[size_t(slotOf(name))])
            s.pinned.append(*topic);
    }

    if (reportMissing) {
        std::vector<bool> present(size_t(pinSlot.size()), false);
        for (const Topic& t : topics) {
            const qsizetype slot = slotOf(t.name);
            if (slot >= 0)
                present[size_t(slot)] = true;
        }
        const std::optional<SearchTerm> term = SearchTerm::prepare(search);
        for (const QString& name : pinned) {
            if (!present[size_t(slotOf(name))] && inNamespace(name, namespaceName) && passesSearch(name, term))
                s.missingPins.append(name);
        }
    }
    return s;
}

QStringList namespaces(const QList<Topic>& topics)
{
    QHash<HashedView<QStringView>, qsizetype> counts;
    for (const Topic& t : topics) {
        if (t.isInternal)
            continue;
        // The first non-empty segment counts when it is shorter than the name, that is when the
        // name holds a full stop.
        const QStringView name(t.name);
        qsizetype from = 0;
        while (from < name.size() && name[from] == QLatin1Char('.'))
            ++from;
        if (from == name.size())
            continue;
        qsizetype to = name.indexOf(QLatin1Char('.'), from);
        if (to < 0)
            to = name.size();
        const QStringView first = name.sliced(from, to - from);
        if (first.size() >= name.size())
            continue;
        counts[HashedView<QStringView>(first)] += 1;
    }
    QStringList result;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() >= 2)
            result.append(it.key().view.toString());
    }
    std::sort(result.begin(), result.end(), [](const QString& a, const QString& b) {
        if (const int c = TextRules::compare(a, b))
            return c < 0;
        return TextRules::compareCodePoints(a, b) < 0;
    });
    return result;
}

} // namespace tessaron::TopicFilter
