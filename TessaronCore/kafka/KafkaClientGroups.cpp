// Consumer-group inspection: looks, never joins, never commits.
#include "TessaronCore/kafka/KafkaClient.h"
#include "TessaronCore/model/TextRules.h"

#include "TessaronCore/kafka/KafkaAdminCall.h"
#include "TessaronCore/kafka/KafkaSupport.h"

#include <algorithm>

namespace tessaron {

using namespace kafka;

namespace {

QString text(const char* value) { return value ? QString::fromUtf8(value) : QString(); }

QString stateName(rd_kafka_consumer_group_state_t state)
{
    return QString::fromUtf8(rd_kafka_consumer_group_state_name(state));
}

ConsumerGroup::Protocol protocolOf(const rd_kafka_ConsumerGroupListing_t* listing)
{
#if RD_KAFKA_VERSION >= 0x020a00ff
    switch (rd_kafka_ConsumerGroupListing_type(listing)) {
    case RD_KAFKA_CONSUMER_GROUP_TYPE_CONSUMER:
        return ConsumerGroup::Protocol::consumer;
    case RD_KAFKA_CONSUMER_GROUP_TYPE_CLASSIC:
        return ConsumerGroup::Protocol::classic;
    default:
        // The broker named a type this library does not know: a share or streams group.
        return ConsumerGroup::Protocol::other;
    }
#else
    Q_UNUSED(listing)
    return ConsumerGroup::Protocol::classic;
#endif
}

bool byTopicThenPartition(const TopicPartitionRef& a, const TopicPartitionRef& b)
{
    return a.topic != b.topic ? TextRules::precedes(a.topic, b.topic) : a.partition < b.partition;
}

GroupMember toMember(const rd_kafka_MemberDescription_t* member)
{
    QList<TopicPartitionRef> assigned;
    const rd_kafka_MemberAssignment_t* assignment = rd_kafka_MemberDescription_assignment(member);
    const rd_kafka_topic_partition_list_t* list =
        assignment ? rd_kafka_MemberAssignment_partitions(assignment) : nullptr;
    if (list) {
        for (int i = 0; i < list->cnt; ++i)
            assigned.append(TopicPartitionRef(text(list->elems[i].topic), list->elems[i].partition));
        std::stable_sort(assigned.begin(), assigned.end(), byTopicThenPartition);
    }
    const char* instance = rd_kafka_MemberDescription_group_instance_id(member);
    return GroupMember(text(rd_kafka_MemberDescription_consumer_id(member)),
                       text(rd_kafka_MemberDescription_client_id(member)),
                       text(rd_kafka_MemberDescription_host(member)),
                       instance ? std::optional<QString>(text(instance)) : std::nullopt, std::move(assigned));
}

// Every group the cluster lists, sorted by id.
QList<ConsumerGroup> listOnQueue(rd_kafka_t* rk, int32_t timeoutMs)
{
    const QString context = QStringLiteral("listing consumer groups");
    KafkaAdminCall call(rk, RD_KAFKA_ADMIN_OP_LISTCONSUMERGROUPS, timeoutMs, true);
    rd_kafka_ListConsumerGroups(rk, call.options(), call.queue());
    const rd_kafka_event_t* event = call.wait(context);
    const rd_kafka_ListConsumerGroups_result_t* result =
        rd_kafka_event_ListConsumerGroups_result(const_cast<rd_kafka_event_t*>(event));
    if (!result)
        throw KafkaError(-1, context + QStringLiteral(": empty result"));
    QList<ConsumerGroup> groups;
    size_t count = 0;
    const rd_kafka_ConsumerGroupListing_t** listings = rd_kafka_ListConsumerGroups_result_valid(result, &count);
    for (size_t i = 0; listings && i < count; ++i) {
        if (!listings[i])
            continue;
        groups.append(ConsumerGroup(text(rd_kafka_ConsumerGroupListing_group_id(listings[i])),
                                    stateName(rd_kafka_ConsumerGroupListing_state(listings[i])),
                                    rd_kafka_ConsumerGroupListing_is_simple_consumer_group(listings[i]) != 0,
                                    protocolOf(listings[i])));
    }
    // A broker older than 3.8 names no group's type, which the library reports as unknown for
    // every group: they are then all groups of the classic protocol, the only kind it has.
    if (std::none_of(groups.cbegin(), groups.cend(), [](const ConsumerGroup& g) { return g.isConsumerGroup(); }))
        for (ConsumerGroup& group : groups)
            group.protocol = ConsumerGroup::Protocol::classic;
    // Brokers that failed to list are passed over while others answered; when none did, an
    // empty list would read as a cluster without groups.
    size_t errorCount = 0;
    const rd_kafka_error_t** errors = rd_kafka_ListConsumerGroups_result_errors(result, &errorCount);
    if (groups.isEmpty() && errors && errorCount > 0 && errors[0])
        throw failure(rd_kafka_error_code(errors[0]), context);
    std::stable_sort(groups.begin(), groups.end(),
                     [](const ConsumerGroup& a, const ConsumerGroup& b) { return TextRules::precedes(a.id, b.id); });
    return groups;
}

} // namespace

QCoro::Task<QList<ConsumerGroup>> KafkaClient::groups(int32_t timeoutMs)
{
    auto job = onQueue(*m_queue, m_handle, [timeoutMs](rd_kafka_t* rk) { return listOnQueue(rk, timeoutMs); });
    co_return co_await job;
}

QCoro::Task<GroupDescription> KafkaClient::describe(QString group, int32_t timeoutMs)
{
    auto job = onQueue(*m_queue, m_handle, [group = std::move(group), timeoutMs](rd_kafka_t* rk) {
        const QString context = QStringLiteral("describing ") + group;
        requireAnswer(rk, context, timeoutMs);
        KafkaAdminCall call(rk, RD_KAFKA_ADMIN_OP_DESCRIBECONSUMERGROUPS, timeoutMs, true);
        const QByteArray id = group.toUtf8();
        const char* ids[] = {id.constData()};
        rd_kafka_DescribeConsumerGroups(rk, ids, 1, call.options(), call.queue());
        const rd_kafka_event_t* event = call.wait(context);
        const rd_kafka_DescribeConsumerGroups_result_t* result =
            rd_kafka_event_DescribeConsumerGroups_result(const_cast<rd_kafka_event_t*>(event));
        if (!result)
            throw KafkaError(-1, context + QStringLiteral(": empty result"));
        size_t count = 0;
        const rd_kafka_ConsumerGroupDescription_t** descriptions =
            rd_kafka_DescribeConsumerGroups_result_groups(result, &count);
        if (!descriptions || count == 0 || !descriptions[0])
            throw KafkaError(-1, context + QStringLiteral(": the broker returned no description"));
        const rd_kafka_ConsumerGroupDescription_t* description = descriptions[0];
        if (const rd_kafka_error_t* error = rd_kafka_ConsumerGroupDescription_error(description))
            throw failure(rd_kafka_error_code(error), context);

        QList<GroupMember> members;
        const size_t memberCount = rd_kafka_ConsumerGroupDescription_member_count(description);
        for (size_t i = 0; i < memberCount; ++i) {
            if (const rd_kafka_MemberDescription_t* member = rd_kafka_ConsumerGroupDescription_member(description, i))
                members.append(toMember(member));
        }
        std::stable_sort(members.begin(), members.end(), [](const GroupMember& a, const GroupMember& b) {
            return TextRules::precedes(a.clientID, b.clientID);
        });

        const rd_kafka_consumer_group_state_t described = rd_kafka_ConsumerGroupDescription_state(description);
        if (described == RD_KAFKA_CONSUMER_GROUP_STATE_DEAD && members.isEmpty()) {
            // The classic description answers "Dead" for a group of the consumer protocol as for one
            // that is gone; the listing tells them apart. A listed group is not described at all
            // rather than shown dead without its members.
            const QList<ConsumerGroup> listed = listOnQueue(rk, timeoutMs);
            const auto match =
                std::find_if(listed.begin(), listed.end(), [&](const ConsumerGroup& g) { return g.id == group; });
            if (match != listed.end() && match->state != QLatin1String("Dead"))
                throw KafkaError(membersUnreadableCode,
                                 context
                                     + QStringLiteral(": the broker lists it as %1 but describes it as Dead, as it "
                                                      "does a group of the consumer protocol, whose members this "
                                                      "client cannot read")
                                           .arg(match->state));
        }

        std::optional<QString> coordinator;
        if (const rd_kafka_Node_t* node = rd_kafka_ConsumerGroupDescription_coordinator(description))
            coordinator = text(rd_kafka_Node_host(node)) + QLatin1Char(':') + QString::number(rd_kafka_Node_port(node));
        return GroupDescription(group, stateName(described),
                                text(rd_kafka_ConsumerGroupDescription_partition_assignor(description)), coordinator,
                                std::move(members));
    });
    co_return co_await job;
}

QCoro::Task<QHash<TopicPartitionRef, int64_t>> KafkaClient::committed(QString group, int32_t timeoutMs)
{
    auto job = onQueue(*m_queue, m_handle, [group = std::move(group), timeoutMs](rd_kafka_t* rk) {
        const QString context = QStringLiteral("reading ") + group + QStringLiteral("'s offsets");
        requireAnswer(rk, context, timeoutMs);
        KafkaAdminCall call(rk, RD_KAFKA_ADMIN_OP_LISTCONSUMERGROUPOFFSETS, timeoutMs, true);
        using OwnedRequest =
            std::unique_ptr<rd_kafka_ListConsumerGroupOffsets_t, Destroyer<rd_kafka_ListConsumerGroupOffsets_destroy>>;
        OwnedRequest request(rd_kafka_ListConsumerGroupOffsets_new(group.toUtf8().constData(), nullptr));
        if (!request)
            throw KafkaError(-1, QStringLiteral("could not build an offsets request"));
        rd_kafka_ListConsumerGroupOffsets_t* requests[] = {request.get()};
        rd_kafka_ListConsumerGroupOffsets(rk, requests, 1, call.options(), call.queue());
        const rd_kafka_event_t* event = call.wait(context);
        const rd_kafka_ListConsumerGroupOffsets_result_t* result =
            rd_kafka_event_ListConsumerGroupOffsets_result(const_cast<rd_kafka_event_t*>(event));
        if (!result)
            throw KafkaError(-1, context + QStringLiteral(": empty result"));
        QHash<TopicPartitionRef, int64_t> offsets;
        size_t count = 0;
        const rd_kafka_group_result_t** groups = rd_kafka_ListConsumerGroupOffsets_result_groups(result, &count);
        if (!groups || count == 0 || !groups[0])
            return offsets;
        if (const rd_kafka_error_t* error = rd_kafka_group_result_error(groups[0]))
            throw failure(rd_kafka_error_code(error), context);
        const rd_kafka_topic_partition_list_t* list = rd_kafka_group_result_partitions(groups[0]);
        for (int i = 0; list && i < list->cnt; ++i) {
            // The library reports a partition without a committed offset as -1001.
            if (list->elems[i].offset < 0)
                continue;
            offsets.insert(TopicPartitionRef(text(list->elems[i].topic), list->elems[i].partition),
                           list->elems[i].offset);
        }
        return offsets;
    });
    co_return co_await job;
}

QCoro::Task<QList<GroupOffset>> KafkaClient::offsets(QString group, Topic topic, int32_t timeoutMs)
{
    // A short-lived second handle carrying the group's id lets the library ask the group's
    // coordinator; it never subscribes, fetches or commits.
    KafkaPairs pairs = configurationPairs(m_broker, m_password, m_clientKeyPassword, m_timeoutMs,
                                          {{QStringLiteral("group.id"), group}});
    auto job = onQueue(
        *m_queue, m_handle,
        [group = std::move(group), topic = std::move(topic), pairs = std::move(pairs), timeoutMs](rd_kafka_t*) {
            struct SecondHandle {
                rd_kafka_t* raw;
                ~SecondHandle() { rd_kafka_destroy_flags(raw, RD_KAFKA_DESTROY_F_NO_CONSUMER_CLOSE); }
            } second{createHandle(RD_KAFKA_CONSUMER, pairs)};
            PollAfter poll{second.raw};
            OwnedPartitionList list(rd_kafka_topic_partition_list_new(static_cast<int>(topic.partitions.size())));
            if (!list)
                throw KafkaError(-1, QStringLiteral("could not allocate a partition list"));
            const QByteArray name = topic.name.toUtf8();
            for (const Partition& partition : topic.partitions)
                rd_kafka_topic_partition_list_add(list.get(), name.constData(), partition.id);
            const rd_kafka_resp_err_t result = rd_kafka_committed(second.raw, list.get(), timeoutMs);
            if (result == RD_KAFKA_RESP_ERR__TIMED_OUT)
                throw unanswered(second.raw, QStringLiteral("reading committed offsets for ") + group, timeoutMs);
            if (result != RD_KAFKA_RESP_ERR_NO_ERROR)
                throw failure(result, QStringLiteral("reading committed offsets for ") + group);
            QList<GroupOffset> offsets;
            for (int i = 0; i < list->cnt; ++i) {
                const rd_kafka_topic_partition_t& element = list->elems[i];
                int64_t high = 0;
                const auto match = std::find_if(topic.partitions.begin(), topic.partitions.end(),
                                                [&](const Partition& p) { return p.id == element.partition; });
                if (match != topic.partitions.end())
                    high = match->high;
                offsets.append(GroupOffset(
                    topic.name, element.partition,
                    element.offset == RD_KAFKA_OFFSET_INVALID ? std::nullopt : std::optional<int64_t>(element.offset),
                    high));
            }
            std::stable_sort(offsets.begin(), offsets.end(),
                             [](const GroupOffset& a, const GroupOffset& b) { return a.partition < b.partition; });
            return offsets;
        });
    co_return co_await job;
}

} // namespace tessaron
