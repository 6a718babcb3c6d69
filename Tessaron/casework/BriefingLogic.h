#pragma once

#include "Tessaron/kit/TessaronChart.h"
#include "TessaronCore/model/ConsumerGroup.h"
#include "TessaronCore/model/Topic.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace tessaron {

class BrokerSession;

// What the briefing of an open broker says, computed from what the session has listed. No state,
// no widgets: the briefing view recomputes it whenever the session changes.
struct BriefingLogic {
    // The wording follows the live connection: RabbitMQ only while a RabbitMQ client is connected,
    // Kafka otherwise (also before a connection exists).
    enum class Wording { kafka, rabbit };

    Wording wording = Wording::kafka;
    QList<Topic> briefed;             // listed topics without the internal ones, in listing order
    QList<Topic> deadLetters;         // fullest first, equal counts in listing order
    QList<Topic> waitingDeadLetters;  // dead letters retaining something
    QList<Topic> emptyTopics;         // retaining exactly 0
    QList<Topic> unattendedQueues;    // messages and a consumer count of 0 (a queue missing from the map is attended)
    QList<ConsumerGroup> groups;      // as listed
    QList<ConsumerGroup> emptyGroups; // state exactly "Empty"
    bool groupsUnseen = false;        // the groups could not be listed: none listed is not none
    bool listingFailed = false;       // the topics could not be listed: nothing listed is not an empty broker
    bool listingsFiltered = false;    // the broker lists only what this user's ACLs let it see

    static BriefingLogic of(Wording wording, const QList<Topic>& topics, const QList<ConsumerGroup>& groups,
                            const QHash<QString, int64_t>& queueConsumers);
    static BriefingLogic of(const BrokerSession& session);

    // Descending by retained count; a stable sort, so equal counts keep their order.
    static QList<Topic> byRetained(QList<Topic> topics);

    QString arrivalSentence() const;
    // Only when some topic is empty.
    std::optional<QString> emptySentence() const;
    // The six fullest topics.
    TessaronChart retainedChart() const;

    // Dead letters card: at most three links, then "…and %d more" from four on.
    QList<Topic> deadLetterLinks() const { return deadLetters.mid(0, 3); }
    std::optional<QString> deadLetterMoreLine() const;
    QString noDeadLettersSentence() const;

    // Consumers card (RabbitMQ): the sentence and at most three links.
    QString consumersSentence() const;
    QList<Topic> unattendedLinks() const { return unattendedQueues.mid(0, 3); }

    // Consumer groups card (Kafka): the sentence, four links, then "…and %d more, in the sidebar.".
    static QString groupCountSentence(qsizetype total, qsizetype empty);
    QString groupsSentence() const;
    QList<ConsumerGroup> groupLinks() const { return groups.mid(0, 4); }
    std::optional<QString> groupsMoreLine() const;

    // The invitation to pick a topic; none when there is nothing listed to pick from.
    std::optional<QString> footer() const;
};

} // namespace tessaron
