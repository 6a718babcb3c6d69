#include "Tessaron/casework/BriefingLogic.h"

#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/casework/CaseworkLogic.h"
#include "TessaronCore/l10n/L10n.h"

#include <algorithm>

namespace tessaron {

BriefingLogic BriefingLogic::of(Wording wording, const QList<Topic>& topics, const QList<ConsumerGroup>& groups,
                                const QHash<QString, int64_t>& queueConsumers)
{
    BriefingLogic text;
    text.wording = wording;
    // The card counts consumer groups: a share or streams group stays in the sidebar only.
    for (const ConsumerGroup& group : groups) {
        if (group.isConsumerGroup())
            text.groups.append(group);
    }
    for (const Topic& topic : topics) {
        // The flag decides, not the name rule or the preference for internal topics.
        if (topic.isInternal)
            continue;
        text.briefed.append(topic);
        const int64_t retained = topic.retained();
        if (retained == 0)
            text.emptyTopics.append(topic);
        const auto consumers = queueConsumers.constFind(topic.name);
        if (retained >= 1 && consumers != queueConsumers.constEnd() && *consumers == 0)
            text.unattendedQueues.append(topic);
        if (topic.looksLikeDeadLetter())
            text.deadLetters.append(topic);
    }
    text.deadLetters = byRetained(text.deadLetters);
    for (const Topic& topic : std::as_const(text.deadLetters)) {
        if (topic.retained() > 0)
            text.waitingDeadLetters.append(topic);
    }
    for (const ConsumerGroup& group : std::as_const(text.groups)) {
        if (group.hasNoMembers())
            text.emptyGroups.append(group);
    }
    return text;
}

BriefingLogic BriefingLogic::of(const BrokerSession& session)
{
    const bool rabbit = session.connection() && session.connection()->kind() == BrokerSession::Connection::rabbit;
    BriefingLogic text =
        of(rabbit ? Wording::rabbit : Wording::kafka, session.topics(), session.groups(), session.queueConsumers());
    text.groupsUnseen = session.groupsUnseen();
    text.listingsFiltered = session.listingsFiltered();
    // A listing was tried (a client made, or its making failed) and is over, with nothing listed.
    text.listingFailed = !session.topicsListed() && !session.isConnecting() && !session.isLoadingTopics()
        && (session.connection() || session.connectionError());
    return text;
}

QList<Topic> BriefingLogic::byRetained(QList<Topic> topics)
{
    std::stable_sort(topics.begin(), topics.end(),
                     [](const Topic& a, const Topic& b) { return a.retained() > b.retained(); });
    return topics;
}

QString BriefingLogic::arrivalSentence() const
{
    if (listingFailed)
        return wording == Wording::rabbit
            ? loc("I couldn't list the queues on this broker, so I have nothing to report.")
            : loc("I couldn't list the topics on this broker, so I have nothing to report.");
    if (briefed.isEmpty() && listingsFiltered)
        return loc("Nothing I'm allowed to see. The broker lists only what this user's ACLs allow, and says nothing "
                   "of the rest.");
    if (briefed.isEmpty())
        return loc("Nothing to report. Either this broker is empty, or I couldn't see into it — the left-hand side "
                   "says which.");
    const bool one = briefed.size() == 1;
    const QString count = wording == Wording::rabbit
        ? (one ? loc("One queue.") : L10n::t("%d queues.", briefed.size()))
        : (one ? loc("One topic.") : L10n::t("%d topics.", briefed.size()));
    QString second;
    if (!waitingDeadLetters.isEmpty()) {
        const Topic& fullest = waitingDeadLetters.first();
        second = fullest.retained() == 1
            ? L10n::t("%@ has 1 message waiting. That's usually why you're here.", L10n::isolated(fullest.name))
            : L10n::t("%@ has %lld messages waiting. That's usually why you're here.", L10n::isolated(fullest.name),
                      CaseworkLogic::groupedCount(fullest.retained()));
    } else if (!deadLetters.isEmpty()) {
        second = loc("The dead letters are all empty. Good so far.");
    } else {
        second = loc("Nothing I'd call a dead letter. Which doesn't mean there isn't one.");
    }
    if (listingsFiltered)
        second += QLatin1Char(' ') + loc("The broker lists only what this user's ACLs allow: there may be more.");
    return count + QLatin1Char(' ') + second;
}

std::optional<QString> BriefingLogic::emptySentence() const
{
    if (emptyTopics.isEmpty())
        return std::nullopt;
    const qsizetype e = emptyTopics.size();
    const bool rabbit = wording == Wording::rabbit;
    if (e == briefed.size())
        return rabbit ? loc("All of them empty. Either nobody published, or a consumer got there first.")
                      : loc("All of them empty — never produced, or aged out. I can't tell which, and I won't guess.");
    if (e == 1)
        return rabbit ? loc("One of them is empty. Either nobody published, or a consumer got there first.")
                      : loc("One of them is empty — never produced, or aged out. I can't tell which, and I won't "
                            "guess.");
    return rabbit ? L10n::t("%d of them are empty. Either nobody published, or a consumer got there first.", e)
                  : L10n::t("%d of them are empty — never produced, or aged out. I can't tell which, and I won't "
                            "guess.",
                            e);
}

TessaronChart BriefingLogic::retainedChart() const
{
    const QList<Topic> ordered = byRetained(briefed);
    TessaronChart chart;
    for (qsizetype i = 0; i < std::min<qsizetype>(ordered.size(), 6); ++i)
        chart.bars.append({ordered[i].name, double(ordered[i].retained()), std::nullopt});
    const int64_t top = ordered.isEmpty() ? 0 : ordered.first().retained();
    // The chart card looks its texts up when it draws them: these are keys.
    if (top > 0) {
        chart.title = QStringLiteral("By what each one is holding");
        chart.footnote = QStringLiteral("Retained right now — not what was produced.");
    } else {
        chart.title = QStringLiteral("Everything is at zero.");
        chart.footnote = QStringLiteral("Not a chart I enjoy drawing, but it's the true one.");
    }
    chart.unsolicited = false;
    chart.scale = double(std::max<int64_t>(1, top));
    return chart;
}

std::optional<QString> BriefingLogic::deadLetterMoreLine() const
{
    if (deadLetters.size() < 4)
        return std::nullopt;
    return L10n::t("…and %d more", deadLetters.size() - 3);
}

QString BriefingLogic::noDeadLettersSentence() const { return loc("None I recognise by name. I'd still look."); }

QString BriefingLogic::consumersSentence() const
{
    const qsizetype k = unattendedQueues.size();
    if (k == 0)
        return loc("Every queue with messages has someone on it.");
    if (k == 1)
        return loc("One queue has messages and no consumer.");
    return L10n::t("%d queues have messages and no consumer.", k);
}

QString BriefingLogic::groupCountSentence(qsizetype total, qsizetype empty)
{
    if (total == 1)
        return empty != 0 ? loc("One group, and nobody is in it.") : loc("One group, and someone is in it.");
    if (empty == 0)
        return L10n::t("%d groups, all with members.", total);
    if (empty == 1)
        return L10n::t("%d groups. One with nobody in it.", total);
    return L10n::t("%d groups. %d with nobody in them.", total, empty);
}

QString BriefingLogic::groupsSentence() const
{
    if (groups.isEmpty() && groupsUnseen)
        return loc("I couldn't list the consumer groups, so I can't tell you who's reading.");
    if (groups.isEmpty() && listingsFiltered)
        return loc("No consumer groups this user may see. The broker hides the rest without saying so.");
    if (groups.isEmpty())
        return loc("No consumer groups. Nobody's reading yet — or nobody has committed.");
    if (listingsFiltered)
        return groupCountSentence(groups.size(), emptyGroups.size()) + QLatin1Char(' ')
            + loc("Only those this user may see.");
    return groupCountSentence(groups.size(), emptyGroups.size());
}

std::optional<QString> BriefingLogic::groupsMoreLine() const
{
    if (groups.size() < 5)
        return std::nullopt;
    return L10n::t("…and %d more, in the sidebar.", groups.size() - 4);
}

std::optional<QString> BriefingLogic::footer() const
{
    if (listingFailed)
        return std::nullopt;
    return wording == Wording::rabbit ? loc("Pick a queue. Reading one costs something there, so I'll ask first.")
                                      : loc("Pick a topic. I'll read its tail — no group joined, nothing committed.");
}

} // namespace tessaron
