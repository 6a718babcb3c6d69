#include "Tessaron/state/BrokerSession.h"

#include "Tessaron/state/SessionText.h"
#include "TessaronCore/l10n/L10n.h"

#include <QPointer>

#include <algorithm>
#include <limits>

namespace tessaron {

namespace {

// Why the members of a listed group are not shown: the client's own words, except where it names
// a case the interface can say in its language.
QString membersUnseen(const CapturedError& failure, const ConsumerGroup& listed)
{
    if (failure.code == KafkaReading::membersUnreadableCode)
        return L10n::t("The broker lists it as %@ but describes it as Dead, as it does a group of the new consumer "
                       "protocol, whose members Tessaron can't read.",
                       L10n::isolated(listed.state));
    return failure.message;
}

} // namespace

QCoro::Task<> BrokerSession::loadGroupDetail()
{
    const std::optional<QString> group = m_selectedGroup;
    if (!group || !m_connection || m_connection->kind() != Connection::kafka) {
        setGroupDetail(std::nullopt);
        setGroupFailure(std::nullopt);
        co_return;
    }
    // A share or streams group is no consumer group: describing it as one would only read a wrong
    // state (the view says what it is instead).
    if (listedAsOtherKind(m_groups, *group)) {
        ++m_groupGeneration;
        setIsLoadingGroup(false);
        setGroupDetail(std::nullopt);
        setGroupFailure(std::nullopt);
        setGroupBlindSpots({});
        co_return;
    }
    QPointer<BrokerSession> self(this);
    const quint64 generation = ++m_groupGeneration;
    const std::shared_ptr<KafkaReading> kafka = m_connection->kafkaClient();
    setIsLoadingGroup(true);
    setGroupFailure(std::nullopt);

    // The client asks one after the other anyway; after a lost connection the offsets would only
    // wait out the same time-out again, and are as unknown as the members.
    auto describing = attempt(kafka->describe(*group, clientTimeoutMs));
    const Attempt<GroupDescription> description = co_await std::move(describing);
    if (!self || generation != m_groupGeneration)
        co_return;
    Attempt<QHash<TopicPartitionRef, int64_t>> committed;
    if (description.failure && description.failure->lostConnection) {
        committed.failure = description.failure;
    } else {
        auto reading = attempt(kafka->committed(*group, clientTimeoutMs));
        committed = co_await std::move(reading);
        if (!self || generation != m_groupGeneration)
            co_return;
    }
    if (m_selectedGroup != group) {
        // Another group (or none) is shown now: nothing of this one may reach it.
        setIsLoadingGroup(false);
        co_return;
    }
    // A group request that timed out is a broker that stopped answering, as for a read.
    for (const std::optional<CapturedError>& failure : {description.failure, committed.failure}) {
        if (failure && failure->lostConnection) {
            setLostConnection(failure->message);
            break;
        }
    }

    std::optional<ConsumerGroup> listed;
    for (const ConsumerGroup& candidate : m_groups) {
        if (candidate.id == *group) {
            listed = candidate;
            break;
        }
    }

    QList<Unobservable> blindSpots;
    QString state, assignor;
    std::optional<QString> coordinator;
    QList<GroupMember> members;
    if (description.value) {
        state = description.value->state;
        assignor = description.value->assignor;
        coordinator = description.value->coordinator;
        members = description.value->members;
    } else if (listed) {
        blindSpots.append({loc("Members"), membersUnseen(*description.failure, *listed)});
        state = listed->state;
    } else {
        setGroupFailure(description.failure->message);
        setGroupDetail(std::nullopt);
        // The previous group's blind spots say nothing about this one.
        setGroupBlindSpots({});
        setIsLoadingGroup(false);
        co_return;
    }
    if (!committed.value)
        blindSpots.append({loc("Committed offsets"), committed.failure->message});

    // The ends are read after the positions, never taken from the listing: on a topic still being
    // written to, a listing's ends are older than the group's positions and would make a healthy
    // group look past the end and caught up.
    const QHash<TopicPartitionRef, int64_t> positions = committed.value.value_or(QHash<TopicPartitionRef, int64_t>());
    QList<Topic> ends;
    for (const Topic& topic : m_topics) {
        const bool held = std::any_of(positions.keyBegin(), positions.keyEnd(),
                                      [&](const TopicPartitionRef& ref) { return ref.topic == topic.name; });
        if (held && !topic.error)
            ends.append(topic);
    }
    QList<Topic> fresh;
    if (!ends.isEmpty()) {
        auto marking = attempt(kafka->watermarksOf(ends, clientTimeoutMs));
        const Attempt<QList<KafkaReading::MarkedTopic>> marked = co_await std::move(marking);
        if (!self || generation != m_groupGeneration)
            co_return;
        if (m_selectedGroup != group) {
            setIsLoadingGroup(false);
            co_return;
        }
        if (marked.failure && marked.failure->lostConnection)
            setLostConnection(marked.failure->message);
        else if (marked.value && !marked.value->isEmpty() && marked.value->constLast().failure
                 && CapturedError::from(*marked.value->constLast().failure).lostConnection)
            setLostConnection(marked.value->constLast().failure->message());
        for (qsizetype i = 0; i < ends.size(); ++i) {
            const KafkaReading::MarkedTopic* answer =
                marked.value && i < marked.value->size() ? &marked.value->at(i) : nullptr;
            if (answer && answer->topic) {
                fresh.append(*answer->topic);
            } else {
                // Unread ends are unknown ends, never the listing's.
                Topic unread = ends[i];
                unread.error = answer && answer->failure ? answer->failure->message()
                    : marked.failure                     ? marked.failure->message
                                                         : QString();
                fresh.append(unread);
            }
        }
    }
    setGroupBlindSpots(blindSpots);
    ConsumerGroupDetail detail =
        ConsumerGroupDetail::assemble(*group, state, assignor, coordinator, members, positions, fresh);
    detail.membersUnknown = !description.value;
    detail.positionsUnknown = !committed.value;
    setGroupDetail(std::move(detail));
    setIsLoadingGroup(false);
}

QCoro::Task<std::optional<int64_t>> BrokerSession::groupOffsets(QString group)
{
    const std::optional<Topic> topic = currentTopic();
    if (!m_connection || m_connection->kind() != Connection::kafka || !topic)
        co_return std::nullopt;
    QPointer<BrokerSession> self(this);
    const std::shared_ptr<KafkaReading> kafka = m_connection->kafkaClient();
    // A request that timed out is a broker that stopped answering; any other failure only leaves
    // the chip without a number.
    auto lost = [&](const CapturedError& failure) {
        if (self && failure.lostConnection)
            setLostConnection(failure.message);
    };
    auto reading = attempt(kafka->offsets(group, *topic, clientTimeoutMs));
    auto [offsets, failure] = co_await std::move(reading);
    if (failure) {
        lost(*failure);
        co_return std::nullopt;
    }
    // The ends are read after the positions: the listing's are older than a running group's
    // commits, and would hide its lag.
    auto marking = attempt(kafka->watermarks(*topic, clientTimeoutMs));
    auto [ends, unread] = co_await std::move(marking);
    if (unread) {
        lost(*unread);
        co_return std::nullopt;
    }
    // The numbers are the broker's: a wild watermark must not overflow the sum, which sticks at
    // the 64-bit limit instead.
    std::optional<int64_t> total;
    for (const GroupOffset& offset : *offsets) {
        if (!offset.committed || *offset.committed < 0)
            continue;
        const auto end = std::find_if(ends->partitions.cbegin(), ends->partitions.cend(),
                                      [&](const Partition& p) { return p.id == offset.partition; });
        // A partition whose end would not read has no known lag; the sum is then not the group's.
        if (end == ends->partitions.cend() || end->error)
            co_return std::nullopt;
        int64_t lag = 0;
        if (__builtin_sub_overflow(end->high, *offset.committed, &lag) || lag < 0)
            lag = 0;
        int64_t sum = 0;
        if (__builtin_add_overflow(total.value_or(0), lag, &sum))
            sum = std::numeric_limits<int64_t>::max();
        total = sum;
    }
    co_return total;
}

} // namespace tessaron
