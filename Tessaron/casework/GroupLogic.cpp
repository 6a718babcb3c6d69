#include "Tessaron/casework/GroupLogic.h"

#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/Saturating.h"

#include <QMap>

namespace tessaron::GroupLogic {

using CaseworkLogic::groupedCount;

QString headline(const GroupVerdict& verdict)
{
    switch (verdict.tag()) {
    case GroupVerdict::Case::caughtUp:
        return loc("Caught up.");
    case GroupVerdict::Case::behind:
        return loc("Behind.");
    case GroupVerdict::Case::nobodyHome:
        return loc("Nobody home.");
    case GroupVerdict::Case::rebalancing:
        return loc("Mid-rebalance.");
    case GroupVerdict::Case::neverCommitted:
        // The broker answers Dead for a group it no longer knows: nothing says it never committed.
        if (verdict.gone())
            return loc("Gone.");
        return loc("Never committed.");
    case GroupVerdict::Case::cannotSee:
        return loc("Can't see.");
    case GroupVerdict::Case::nobodyHomeCaughtUp:
        return loc("Nobody home. Nothing waiting.");
    }
    return {};
}

QString explanation(const GroupVerdict& verdict)
{
    switch (verdict.tag()) {
    case GroupVerdict::Case::caughtUp:
        if (verdict.partitions() == 1)
            return loc("Its one partition is read to the end. Whatever's wrong, it isn't this group.");
        return L10n::t("All %d partitions are read to the end. Whatever's wrong, it isn't this group.",
                       verdict.partitions());
    case GroupVerdict::Case::behind: {
        if (verdict.partitions() == 1 && verdict.worst())
            return L10n::t("%@ behind, all of it on %@, its one partition.", groupedCount(verdict.total()),
                           L10n::isolated(verdict.worst()->topic) + QLatin1Char(' ')
                               + CaseworkLogic::partitionName(verdict.worst()->partition));
        // Of two lagging partitions the worst always carries half: it stands out only at twice the
        // other's lag. Of more, carrying half is already more than all the others together.
        const double standsOut = verdict.partitions() == 2 ? 2.0 / 3.0 : 0.5;
        if (verdict.share() >= standsOut && verdict.worst()) {
            const GroupPosition& worst = *verdict.worst();
            const QString label =
                L10n::isolated(worst.topic) + QLatin1Char(' ') + CaseworkLogic::partitionName(worst.partition);
            return L10n::t("%@ behind across %d partitions, and %@ carries %d%% of it. Start there — one partition "
                           "far behind the rest is usually one consumer, not the whole group.",
                           groupedCount(verdict.total()), verdict.partitions(), label,
                           CaseworkLogic::wholePercent(verdict.share()));
        }
        return L10n::t("%@ behind, spread across %d partitions with no one of them standing out. That's the shape "
                       "of consumers that are simply slower than the producers.",
                       groupedCount(verdict.total()), verdict.partitions());
    }
    case GroupVerdict::Case::nobodyHome:
        // The lag is Kafka's offset distance: aborted transactions and their markers take offsets
        // too, so it is not a count of messages.
        if (verdict.total() == 1)
            return loc("Nobody's in the group and it's 1 offset behind. That's the shape of a consumer that died — "
                       "the lag kept being a number, so nobody noticed.");
        return L10n::t("Nobody's in the group and it's %@ offsets behind. That's the shape of a consumer that "
                       "died — the lag kept being a number, so nobody noticed.",
                       groupedCount(verdict.total()));
    case GroupVerdict::Case::rebalancing:
        return L10n::t("%@. The positions are moving while this is true; Tessaron will judge them once it settles. "
                       "Look again in a moment.",
                       verdict.state());
    case GroupVerdict::Case::neverCommitted:
        if (verdict.gone())
            return loc("The broker doesn't know this group any more: no members, nothing committed. It was deleted, "
                       "or its commits expired.");
        if (verdict.members() == 0)
            return loc("No members and nothing committed, anywhere. The broker remembers the name and nothing "
                       "else.");
        if (verdict.members() == 1)
            return loc("One member and nothing committed, anywhere. Either it's never finished a batch, or it "
                       "commits somewhere Tessaron can't see.");
        return L10n::t("%d members and nothing committed, anywhere. Either they've never finished a batch, or they "
                       "commit somewhere Tessaron can't see.",
                       verdict.members());
    case GroupVerdict::Case::cannotSee:
        if (verdict.positions() == 0)
            return loc("Tessaron couldn't read where it committed, so it can't say whether it committed at all, or "
                       "how far behind it is. No verdict.");
        if (verdict.seen() == 1)
            return L10n::t("Nothing waits on the one partition whose end Tessaron can see, but the end of %d more "
                           "wouldn't read. No verdict until it can see them.",
                           verdict.positions());
        if (verdict.seen() > 0)
            return L10n::t("Nothing waits on the %d partitions whose end Tessaron can see, but the end of %d more "
                           "wouldn't read. No verdict until it can see them.",
                           verdict.seen(), verdict.positions());
        if (verdict.positions() == 1)
            return loc("It committed on one partition and Tessaron can't see its end — the topic isn't listed, or its "
                       "watermarks wouldn't read. No verdict.");
        return L10n::t("It committed on %d partitions and Tessaron can't see the end of any of them — the topics "
                       "aren't listed, or their watermarks wouldn't read. No verdict.",
                       verdict.positions());
    case GroupVerdict::Case::nobodyHomeCaughtUp:
        return loc("Nobody's in the group, but it left nothing behind. A batch job between runs, or a consumer that "
                   "shut down cleanly.");
    }
    return {};
}

QList<Stat> stats(const ConsumerGroupDetail& detail)
{
    QList<Stat> tiles;
    const Tone stateTone = detail.isEmpty()     ? Tone::warning
        : detail.isRebalancing()                ? Tone::lavender
        : detail.state == QLatin1String("Dead") ? Tone::muted
                                                : Tone::allClear;
    tiles.append({detail.state.toUpper(), QString(), stateTone});
    const qsizetype members = detail.members.size();
    if (detail.membersUnknown)
        tiles.append({QStringLiteral("\u2014"), loc("members"), Tone::muted});
    else
        tiles.append({QString::number(members), members == 1 ? loc("member") : loc("members"), Tone::accent});
    const qsizetype topics = detail.topics().size();
    tiles.append({QString::number(topics), topics == 1 ? loc("topic") : loc("topics"), Tone::accent});
    const ConsumerGroupDetail::Lag lag = detail.lag();
    if (!detail.positions.isEmpty())
        tiles.append({groupedCount(lag.known), loc("behind"), lag.known < 1 ? Tone::allClear : Tone::warning});
    if (lag.unknownPartitions >= 1)
        tiles.append({QString::number(lag.unknownPartitions),
                      lag.unknownPartitions == 1 ? loc("partition he can't see") : loc("partitions he can't see"),
                      Tone::muted});
    if (detail.coordinator)
        tiles.append({*detail.coordinator, loc("coordinator"), Tone::muted});
    return tiles;
}

Tone membersTone(const ConsumerGroupDetail& detail)
{
    if (!detail.members.isEmpty())
        return Tone::neutral;
    if (detail.membersUnknown)
        return Tone::muted;
    return detail.positions.isEmpty() ? Tone::muted : Tone::warning;
}

QString nobodySentence(const ConsumerGroupDetail& detail)
{
    if (detail.membersUnknown)
        return loc("Tessaron can't see who's in it: the broker wouldn't describe its members.");
    return detail.isRebalancing() ? loc("Nobody yet — they're being seated.")
                                  : loc("Nobody. The group has no members right now.");
}

std::optional<QString> assignorLine(const ConsumerGroupDetail& detail)
{
    if (detail.assignor.isEmpty())
        return std::nullopt;
    return L10n::t("Partitions dealt by %@.", L10n::isolated(detail.assignor));
}

QString memberName(const GroupMember& member) { return member.clientID.isEmpty() ? member.id : member.clientID; }

QString assignmentLine(const GroupMember& member)
{
    if (member.assigned.isEmpty())
        return loc("Holding nothing.");
    // QMap keeps the topics in plain ascending order; each list keeps the assignment order.
    QMap<QString, QStringList> byTopic;
    for (const TopicPartitionRef& ref : member.assigned)
        byTopic[ref.topic].append(CaseworkLogic::partitionName(ref.partition));
    QStringList parts;
    for (auto it = byTopic.cbegin(); it != byTopic.cend(); ++it)
        parts.append(it.key() + QLatin1Char(' ') + it.value().join(QStringLiteral(", ")));
    return parts.join(QStringLiteral(" \u00B7 "));
}

QList<TopicCard> topicCards(const ConsumerGroupDetail& detail, const QList<Topic>& listing)
{
    QList<TopicCard> cards;
    const QStringList names = detail.topics();
    for (qsizetype i = 0; i < names.size(); ++i) {
        TopicCard card;
        card.topic = names[i];
        card.eyebrow = i == 0 ? loc("WHERE IT STANDS") : loc("AND ON");
        for (const Topic& topic : listing) {
            if (topic.name == card.topic) {
                card.listed = topic;
                break;
            }
        }
        card.rows = detail.positionsOn(card.topic);
        for (const GroupPosition& row : std::as_const(card.rows)) {
            if (const auto lag = row.lag())
                card.behindTotal = Saturating::add(card.behindTotal, *lag);
            else
                ++card.blind;
        }
        if (card.blind == card.rows.size())
            card.tone = Tone::muted;
        else
            card.tone = card.behindTotal >= 1 ? Tone::warning : Tone::allClear;
        if (card.blind == 0)
            card.lagLabel =
                card.behindTotal != 0 ? L10n::t("%@ behind", groupedCount(card.behindTotal)) : loc("caught up");
        if (card.listed && card.listed->error) {
            card.note = L10n::t("Its watermarks wouldn't read: %@", L10n::isolated(*card.listed->error));
            card.noteTone = Tone::warning;
        } else if (card.listed && card.blind > 0) {
            // The topic is listed, but some partitions' ends would not read with the group's positions.
            QStringList unread;
            for (const GroupPosition& row : std::as_const(card.rows)) {
                if (!row.end)
                    unread << CaseworkLogic::partitionName(row.partition);
            }
            card.note =
                L10n::t("The end of %@ wouldn't read, so the lag there is unknown.", unread.join(QStringLiteral(", ")));
            card.noteTone = Tone::warning;
        } else if (!card.listed) {
            card.note = loc("The broker doesn't list this topic anymore. The positions are what the group last "
                            "committed; there is no end to measure them against.");
            card.noteTone = Tone::muted;
        }
        cards.append(card);
    }
    return cards;
}

QHash<QString, QString> clientsOf(const ConsumerGroupDetail& detail)
{
    QHash<QString, QString> clients;
    for (const GroupMember& member : detail.members)
        clients.insert(member.id, member.clientID);
    return clients;
}

PositionCells positionCells(const GroupPosition& row, const std::optional<GroupPosition>& worst,
                            const QHash<QString, QString>& clients, bool membersUnknown)
{
    PositionCells cells;
    cells.partition = CaseworkLogic::partitionName(row.partition);
    cells.worst = worst && worst->id() == row.id();
    cells.committed = groupedCount(row.committed);
    if (row.end)
        cells.end = groupedCount(*row.end);
    if (!row.end) {
        cells.behind = PositionCells::Behind::cantSee;
        cells.behindText = loc("Can't see");
    } else if (*row.end < row.committed) {
        cells.behind = PositionCells::Behind::pastEnd;
        cells.behindText = loc("past the end");
    } else {
        const int64_t lag = *row.lag();
        if (lag == 0) {
            cells.behind = PositionCells::Behind::caughtUp;
            cells.behindText = QStringLiteral("0");
        } else {
            cells.behind = PositionCells::Behind::lagging;
            cells.behindText = groupedCount(lag);
        }
    }
    if (row.heldBy) {
        cells.heldBy = clients.value(*row.heldBy, *row.heldBy);
        cells.heldBySpoken = cells.heldBy;
    } else if (membersUnknown) {
        cells.heldByUnknown = true;
        cells.heldBy = QStringLiteral("\u2014");
        cells.heldBySpoken = loc("unknown");
    } else {
        cells.heldByNobody = true;
        cells.heldBy = loc("nobody");
        cells.heldBySpoken = cells.heldBy;
    }
    return cells;
}

QList<BlindSpot> blindSpots(const ConsumerGroupDetail& detail, const QList<Topic>& listing,
                            const QList<Unobservable>& groupBlindSpots)
{
    QList<BlindSpot> spots;
    for (const Unobservable& fact : groupBlindSpots)
        spots.append({fact.subject, fact.reason, false});
    for (const QString& name : detail.topics()) {
        const bool listed =
            std::any_of(listing.cbegin(), listing.cend(), [&](const Topic& topic) { return topic.name == name; });
        if (!listed) {
            spots.append({name,
                          loc("Committed on, but not in the broker's listing. Deleted, or Tessaron isn't allowed to "
                              "see it."),
                          true});
            continue;
        }
        QStringList unread;
        for (const GroupPosition& row : detail.positionsOn(name)) {
            if (!row.end)
                unread << CaseworkLogic::partitionName(row.partition);
        }
        if (!unread.isEmpty())
            spots.append({name,
                          L10n::t("The end of %@ wouldn't read, so the lag there is unknown.",
                                  unread.join(QStringLiteral(", "))),
                          true});
    }
    return spots;
}

} // namespace tessaron::GroupLogic
