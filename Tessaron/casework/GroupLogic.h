#pragma once

#include "Tessaron/casework/CaseworkLogic.h"
#include "TessaronCore/analysis/GroupVerdict.h"
#include "TessaronCore/model/KafkaError.h"
#include "TessaronCore/model/ConsumerGroupDetail.h"
#include "TessaronCore/model/Topic.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace tessaron::GroupLogic {

using CaseworkLogic::Tone;

// The verdict in one line, and in a paragraph.
QString headline(const GroupVerdict& verdict);
QString explanation(const GroupVerdict& verdict);

// One tile of the stat row.
struct Stat {
    QString value;
    QString label; // empty: the value alone
    Tone tone;
    friend bool operator==(const Stat&, const Stat&) = default;
};
QList<Stat> stats(const ConsumerGroupDetail& detail);

// Tint of the members card, and its sentence when nobody is in the group.
Tone membersTone(const ConsumerGroupDetail& detail);
QString nobodySentence(const ConsumerGroupDetail& detail);
// "Partitions dealt by %@."; none without an assignor.
std::optional<QString> assignorLine(const ConsumerGroupDetail& detail);

// A member's shown name: its client id, or its member id when that is empty.
QString memberName(const GroupMember& member);
// "audit p1 · orders p2, p0": topics ascending, partitions in assignment order; "Holding nothing."
QString assignmentLine(const GroupMember& member);

// One topic card of the detail page.
struct TopicCard {
    QString topic;
    QString eyebrow;
    std::optional<Topic> listed; // the session's listing of the topic; none when it is not listed
    QList<GroupPosition> rows;
    int64_t behindTotal = 0;
    qsizetype blind = 0;
    Tone tone = Tone::allClear;
    std::optional<QString> lagLabel; // only when every row has an end
    std::optional<QString> note;
    Tone noteTone = Tone::muted;
};
QList<TopicCard> topicCards(const ConsumerGroupDetail& detail, const QList<Topic>& listing);

// The cells of one position row.
struct PositionCells {
    enum class Behind { cantSee, pastEnd, caughtUp, lagging };
    QString partition;
    bool worst = false;
    QString committed;
    std::optional<QString> end; // none: the dash
    Behind behind = Behind::caughtUp;
    QString behindText;
    QString heldBy;
    QString heldBySpoken; // what a screen reader says for `heldBy`
    bool heldByNobody = false;
    bool heldByUnknown = false; // the broker would not describe the members
};
// `membersUnknown`: the group's members could not be read, so a partition without a holder is
// held by someone unseen, not by nobody.
PositionCells positionCells(const GroupPosition& row, const std::optional<GroupPosition>& worst,
                            const QHash<QString, QString>& clients, bool membersUnknown = false);
// Member id to client id; a repeated member id keeps its last entry.
QHash<QString, QString> clientsOf(const ConsumerGroupDetail& detail);

// The blind-spot card's entries: the group load's blind spots, then the committed-on topics the
// broker does not list.
struct BlindSpot {
    QString title;
    QString sentence;
    bool isTopic = false;
};
QList<BlindSpot> blindSpots(const ConsumerGroupDetail& detail, const QList<Topic>& listing,
                            const QList<Unobservable>& groupBlindSpots);

} // namespace tessaron::GroupLogic
