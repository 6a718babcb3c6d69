#include "Tessaron/workspace/SidebarLogic.h"

#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <cmath>

namespace tessaron::Sidebar {

QString compactCount(int64_t count)
{
    if (count <= 999)
        return QString::number(count);
    // QString::number formats in the C locale: never a comma, whatever LC_NUMERIC says.
    if (count > 999999)
        return QString::number(double(count) / 1000000.0, 'f', 1) + u'M';
    return QString::number(double(count) / 1000.0, 'f', 1) + u'k';
}

QString trimmedSearch(const QString& search)
{
    qsizetype start = 0;
    qsizetype end = search.size();
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (start < end && blank(search.at(start)))
        ++start;
    while (end > start && blank(search.at(end - 1)))
        --end;
    return search.mid(start, end - start);
}

QList<ConsumerGroup> filteredGroups(const QList<ConsumerGroup>& groups, const QString& search)
{
    const QString term = trimmedSearch(search);
    if (term.isEmpty())
        return groups;
    QList<ConsumerGroup> kept;
    for (const ConsumerGroup& group : groups) {
        if (group.id.contains(term, Qt::CaseInsensitive))
            kept.append(group);
    }
    return kept;
}

int folderCount(const QList<Topic>& topics, const std::optional<QString>& folder)
{
    int count = 0;
    for (const Topic& topic : topics) {
        if (topic.isInternal)
            continue;
        if (!folder || topic.name == *folder
            || (topic.name.size() > folder->size() && topic.name.startsWith(*folder)
                && topic.name.at(folder->size()) == u'.'))
            ++count;
    }
    return count;
}

QString brokersOnFileRemark(qsizetype count)
{
    if (count == 1)
        return L10n::t("Just the one. He's not complaining.");
    return L10n::t("%d on file. Each opens in its own tab.", qint64(count));
}

Body body(bool isConnecting, bool isLoadingTopics, bool anyTopics, bool anyVisible)
{
    if ((isConnecting || isLoadingTopics) && !anyTopics)
        return Body::loading;
    if (!anyVisible)
        return Body::empty;
    return Body::list;
}

QString emptyNotice(const QString& search, bool listed, bool queues, bool filtered)
{
    if (!listed)
        return queues ? L10n::t("I couldn't list the queues on this broker.")
                      : L10n::t("I couldn't list the topics on this broker.");
    if (!search.isEmpty())
        return L10n::t("Nothing matches \"%@\".", L10n::isolated(search));
    if (filtered)
        return L10n::t("The broker shows this user no topics. It lists only what the user's ACLs allow, and says "
                       "nothing of the rest.");
    return L10n::t("No topics on this broker.");
}

bool offersAsk(bool aiAvailable, bool hasCurrentTopic) { return aiAvailable && hasCurrentTopic; }
bool fileEnabled(bool connected) { return connected; }

double clampWidth(double width)
{
    if (!std::isfinite(width))
        return defaultWidth;
    return std::min(maximumWidth, std::max(minimumWidth, width));
}

double storedWidth(const UserDefaults& store) { return clampWidth(store.number(widthKey).value_or(defaultWidth)); }

void storeWidth(UserDefaults& store, double width) { store.setDouble(widthKey, clampWidth(width)); }

const Topic& Content::topicAt(const Entry& entry) const
{
    switch (entry.section) {
    case Entry::pinned:
        return sections.pinned.at(entry.index);
    case Entry::deadLetters:
        return sections.deadLetters.at(entry.index);
    default:
        return sections.ordinary.at(entry.index);
    }
}

QString Content::key(const Entry& entry) const
{
    switch (entry.kind) {
    case Entry::heading:
        return QStringLiteral("h:%1").arg(int(entry.section));
    case Entry::topic:
        return QStringLiteral("t:%1:").arg(int(entry.section)) + topicAt(entry).name;
    case Entry::missingPin:
        return QStringLiteral("m:") + sections.missingPins.at(entry.index);
    case Entry::group:
        return QStringLiteral("g:") + groups.at(entry.index).id;
    case Entry::fact: {
        const Unobservable& fact = facts.at(entry.index);
        return QStringLiteral("f:") + fact.subject + u'\n' + fact.reason;
    }
    }
    return {};
}

Content content(TopicFilter::Sections sections, QList<ConsumerGroup> groups, QList<Unobservable> facts, bool listShown)
{
    Content c;
    c.sections = std::move(sections);
    c.groups = std::move(groups);
    c.facts = std::move(facts);
    QList<Entry>& out = c.entries;
    auto rows = [&](Entry::Kind kind, Entry::Section section, qsizetype count) {
        for (qsizetype i = 0; i < count; ++i)
            out.append(Entry{kind, section, int(i), 0});
    };
    if (listShown) {
        const auto& s = c.sections;
        out.reserve(s.pinned.size() + s.missingPins.size() + s.deadLetters.size() + s.ordinary.size() + c.groups.size()
                    + c.facts.size() + 5);
        const bool pinnedShown = !s.pinned.isEmpty() || !s.missingPins.isEmpty();
        if (pinnedShown) {
            out.append(Entry{Entry::heading, Entry::pinned, -1, 0});
            rows(Entry::topic, Entry::pinned, s.pinned.size());
            rows(Entry::missingPin, Entry::pinned, s.missingPins.size());
        }
        if (!s.deadLetters.isEmpty()) {
            out.append(Entry{Entry::heading, Entry::deadLetters, -1, quint8(pinnedShown ? 10 : 0)});
            rows(Entry::topic, Entry::deadLetters, s.deadLetters.size());
        }
        if (!s.ordinary.isEmpty()) {
            out.append(
                Entry{Entry::heading, Entry::topics, -1, quint8(pinnedShown || !s.deadLetters.isEmpty() ? 10 : 0)});
            rows(Entry::topic, Entry::topics, s.ordinary.size());
        }
        if (!c.groups.isEmpty()) {
            out.append(Entry{Entry::heading, Entry::groups, -1, 10});
            rows(Entry::group, Entry::groups, c.groups.size());
        }
    }
    if (!c.facts.isEmpty()) {
        out.append(Entry{Entry::heading, Entry::cantSee, -1, quint8(listShown ? 10 : 0)});
        rows(Entry::fact, Entry::cantSee, c.facts.size());
    }
    return c;
}

} // namespace tessaron::Sidebar
