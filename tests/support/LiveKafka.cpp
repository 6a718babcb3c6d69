#include "support/LiveKafka.h"

#include <QUuid>

#include <csignal>
#include <sys/types.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace tessaron::testing {

qint64 PausedBroker::pidFromEnvironment()
{
    bool ok = false;
    const qint64 pid = qEnvironmentVariable("TESSARON_TEST_KAFKA_PID").toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

PausedBroker::PausedBroker(qint64 pid)
    : m_pid(pid)
{
    if (::kill(pid_t(m_pid), SIGSTOP) != 0)
        throw std::runtime_error("the broker's process could not be stopped");
    m_paused = true;
}

void PausedBroker::resume()
{
    if (std::exchange(m_paused, false))
        ::kill(pid_t(m_pid), SIGCONT);
}

namespace {

// Keeps the first failed delivery in the rd_kafka_resp_err_t the handle's opaque points to.
void noteDelivery(rd_kafka_t*, const rd_kafka_message_t* message, void* opaque)
{
    auto* first = static_cast<rd_kafka_resp_err_t*>(opaque);
    if (message->err != RD_KAFKA_RESP_ERR_NO_ERROR && *first == RD_KAFKA_RESP_ERR_NO_ERROR)
        *first = message->err;
}

rd_kafka_t* handle(rd_kafka_type_t type, const QByteArray& bootstrap,
                   const QList<std::pair<QByteArray, QByteArray>>& extra = {}, rd_kafka_resp_err_t* delivery = nullptr)
{
    char error[512] = {};
    rd_kafka_conf_t* conf = rd_kafka_conf_new();
    if (delivery) {
        rd_kafka_conf_set_dr_msg_cb(conf, noteDelivery);
        rd_kafka_conf_set_opaque(conf, delivery);
    }
    rd_kafka_conf_set(conf, "bootstrap.servers", bootstrap.constData(), error, sizeof error);
    for (const auto& [key, value] : extra)
        rd_kafka_conf_set(conf, key.constData(), value.constData(), error, sizeof error);
    rd_kafka_t* rk = rd_kafka_new(type, conf, error, sizeof error);
    if (!rk)
        throw std::runtime_error(error);
    return rk;
}

// Runs one admin request and waits for its result event (null when none came).
template <typename Request> rd_kafka_event_t* adminCall(rd_kafka_t* rk, Request request)
{
    rd_kafka_queue_t* queue = rd_kafka_queue_new(rk);
    request(queue);
    rd_kafka_event_t* event = rd_kafka_queue_poll(queue, 15000);
    rd_kafka_queue_destroy(queue);
    return event;
}

rd_kafka_resp_err_t send(rd_kafka_t* producer, const QByteArray& name, const QList<LiveKafka::Seed>& messages)
{
    for (const LiveKafka::Seed& seed : messages) {
        const rd_kafka_resp_err_t produced = rd_kafka_producev(
            producer, RD_KAFKA_V_TOPIC(name.constData()), RD_KAFKA_V_PARTITION(seed.partition),
            RD_KAFKA_V_KEY(seed.key.isEmpty() ? nullptr : const_cast<char*>(seed.key.constData()),
                           size_t(seed.key.size())),
            RD_KAFKA_V_VALUE(seed.tombstone ? nullptr : const_cast<char*>(seed.payload.constData()),
                             seed.tombstone ? 0 : size_t(seed.payload.size())),
            RD_KAFKA_V_MSGFLAGS(RD_KAFKA_MSG_F_COPY), RD_KAFKA_V_TIMESTAMP(seed.timestampMs), RD_KAFKA_V_END);
        if (produced != RD_KAFKA_RESP_ERR_NO_ERROR)
            return produced;
    }
    return RD_KAFKA_RESP_ERR_NO_ERROR;
}

void check(rd_kafka_resp_err_t err, const char* what)
{
    if (err != RD_KAFKA_RESP_ERR_NO_ERROR)
        throw std::runtime_error(std::string(what) + ": " + rd_kafka_err2str(err));
}

} // namespace

QByteArray LiveKafka::bootstrapFromEnvironment() { return qgetenv("TESSARON_TEST_KAFKA_BOOTSTRAP"); }

QString LiveKafka::uniqueName(const QString& prefix)
{
    return prefix + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
}

LiveKafka::LiveKafka(QByteArray bootstrap)
    : m_bootstrap(std::move(bootstrap))
{ }

LiveKafka::~LiveKafka()
{
    while (!m_members.isEmpty()) {
        rd_kafka_t* member = m_members.first();
        leave(member);
    }
}

Broker LiveKafka::broker() const
{
    Broker broker;
    broker.id = QUuid::createUuid();
    broker.name = QStringLiteral("live");
    broker.kind = BrokerKind::kafka;
    broker.bootstrap = QString::fromUtf8(m_bootstrap);
    broker.security = BrokerSecurity::plaintext;
    return broker;
}

void LiveKafka::createTopic(const QString& topic, int partitions, const QList<Seed>& messages,
                            const QList<std::pair<QByteArray, QByteArray>>& config)
{
    rd_kafka_t* admin = handle(RD_KAFKA_PRODUCER, m_bootstrap);
    const QByteArray name = topic.toUtf8();
    char error[512] = {};
    rd_kafka_NewTopic_t* newTopic = rd_kafka_NewTopic_new(name.constData(), partitions, 1, error, sizeof error);
    for (const auto& [key, value] : config)
        rd_kafka_NewTopic_set_config(newTopic, key.constData(), value.constData());
    rd_kafka_event_t* event =
        adminCall(admin, [&](rd_kafka_queue_t* queue) { rd_kafka_CreateTopics(admin, &newTopic, 1, nullptr, queue); });
    rd_kafka_resp_err_t created = event ? rd_kafka_event_error(event) : RD_KAFKA_RESP_ERR__TIMED_OUT;
    if (const rd_kafka_CreateTopics_result_t* result = event ? rd_kafka_event_CreateTopics_result(event) : nullptr) {
        size_t count = 0;
        const rd_kafka_topic_result_t** topics = rd_kafka_CreateTopics_result_topics(result, &count);
        // A topic several runs share (the restricted user's) may be there already.
        if (created == RD_KAFKA_RESP_ERR_NO_ERROR && count > 0
            && rd_kafka_topic_result_error(topics[0]) != RD_KAFKA_RESP_ERR_TOPIC_ALREADY_EXISTS)
            created = rd_kafka_topic_result_error(topics[0]);
    }
    if (event)
        rd_kafka_event_destroy(event);
    rd_kafka_NewTopic_destroy(newTopic);
    // A producer that learns of the topic before every partition has a leader fails its messages.
    bool ready = false;
    for (int i = 0; i < 100 && created == RD_KAFKA_RESP_ERR_NO_ERROR && !ready; ++i) {
        rd_kafka_topic_t* handle = rd_kafka_topic_new(admin, name.constData(), nullptr);
        const rd_kafka_metadata_t* metadata = nullptr;
        if (rd_kafka_metadata(admin, 0, handle, &metadata, 5000) == RD_KAFKA_RESP_ERR_NO_ERROR) {
            const rd_kafka_metadata_topic_t& t = metadata->topics[0];
            ready = t.err == RD_KAFKA_RESP_ERR_NO_ERROR && t.partition_cnt == partitions;
            for (int p = 0; ready && p < t.partition_cnt; ++p)
                ready = t.partitions[p].leader >= 0 && t.partitions[p].err == RD_KAFKA_RESP_ERR_NO_ERROR;
            rd_kafka_metadata_destroy(metadata);
        }
        rd_kafka_topic_destroy(handle);
        if (!ready)
            rd_kafka_poll(admin, 100);
    }
    rd_kafka_destroy(admin);
    check(created, "creating a topic");
    if (!ready)
        throw std::runtime_error("the new topic got no leader for every partition");
    produce(topic, messages);
}

void LiveKafka::produce(const QString& topic, const QList<Seed>& messages)
{
    if (messages.isEmpty())
        return;
    // A flush empties the queue whether or not the messages were delivered: each report counts.
    rd_kafka_resp_err_t delivery = RD_KAFKA_RESP_ERR_NO_ERROR;
    // Idempotent, so that a retry under load cannot reorder a partition's seeds: the tests read
    // them by offset and by time.
    rd_kafka_t* producer = handle(RD_KAFKA_PRODUCER, m_bootstrap, {{"enable.idempotence", "true"}}, &delivery);
    const rd_kafka_resp_err_t produced = send(producer, topic.toUtf8(), messages);
    const rd_kafka_resp_err_t flushed = rd_kafka_flush(producer, 15000);
    rd_kafka_destroy(producer);
    check(produced, "seeding a message");
    check(flushed, "acknowledging seeded messages");
    check(delivery, "delivering a seeded message");
}

void LiveKafka::produceTransactions(const QString& topic, const QList<QList<Seed>>& batches, const QList<bool>& commit)
{
    rd_kafka_t* producer =
        handle(RD_KAFKA_PRODUCER, m_bootstrap, {{"transactional.id", uniqueName(QStringLiteral("tx-")).toUtf8()}});
    auto checked = [producer](rd_kafka_error_t* error, const char* what) {
        if (!error)
            return;
        const std::string text = std::string(what) + ": " + rd_kafka_error_string(error);
        rd_kafka_error_destroy(error);
        rd_kafka_destroy(producer);
        throw std::runtime_error(text);
    };
    checked(rd_kafka_init_transactions(producer, 15000), "starting transactions");
    for (qsizetype i = 0; i < batches.size(); ++i) {
        checked(rd_kafka_begin_transaction(producer), "beginning a transaction");
        if (send(producer, topic.toUtf8(), batches[i]) != RD_KAFKA_RESP_ERR_NO_ERROR)
            checked(rd_kafka_error_new(RD_KAFKA_RESP_ERR__FAIL, "produce"), "producing in a transaction");
        if (commit.value(i))
            checked(rd_kafka_commit_transaction(producer, 15000), "committing a transaction");
        else {
            rd_kafka_flush(producer, 15000);
            checked(rd_kafka_abort_transaction(producer, 15000), "aborting a transaction");
        }
    }
    rd_kafka_destroy(producer);
}

void LiveKafka::deleteTopic(const QString& topic)
{
    rd_kafka_t* admin = handle(RD_KAFKA_PRODUCER, m_bootstrap);
    const QByteArray name = topic.toUtf8();
    rd_kafka_DeleteTopic_t* doomed = rd_kafka_DeleteTopic_new(name.constData());
    rd_kafka_event_t* event =
        adminCall(admin, [&](rd_kafka_queue_t* queue) { rd_kafka_DeleteTopics(admin, &doomed, 1, nullptr, queue); });
    rd_kafka_resp_err_t deleted = event ? rd_kafka_event_error(event) : RD_KAFKA_RESP_ERR__TIMED_OUT;
    if (const rd_kafka_DeleteTopics_result_t* result = event ? rd_kafka_event_DeleteTopics_result(event) : nullptr) {
        size_t count = 0;
        const rd_kafka_topic_result_t** topics = rd_kafka_DeleteTopics_result_topics(result, &count);
        if (deleted == RD_KAFKA_RESP_ERR_NO_ERROR && count > 0)
            deleted = rd_kafka_topic_result_error(topics[0]);
    }
    if (event)
        rd_kafka_event_destroy(event);
    rd_kafka_DeleteTopic_destroy(doomed);
    // Until the broker's metadata forgets the topic, a listing would still name it.
    bool gone = false;
    for (int i = 0; i < 100 && deleted == RD_KAFKA_RESP_ERR_NO_ERROR && !gone; ++i) {
        const rd_kafka_metadata_t* metadata = nullptr;
        if (rd_kafka_metadata(admin, 1, nullptr, &metadata, 5000) == RD_KAFKA_RESP_ERR_NO_ERROR) {
            gone = true;
            for (int t = 0; t < metadata->topic_cnt; ++t)
                gone = gone && name != metadata->topics[t].topic;
            rd_kafka_metadata_destroy(metadata);
        }
        if (!gone)
            rd_kafka_poll(admin, 100);
    }
    rd_kafka_destroy(admin);
    check(deleted, "deleting a topic");
    if (!gone)
        throw std::runtime_error("the deleted topic is still listed");
}

void LiveKafka::trim(const QString& topic, const QMap<int32_t, int64_t>& before)
{
    rd_kafka_t* admin = handle(RD_KAFKA_PRODUCER, m_bootstrap);
    rd_kafka_topic_partition_list_t* list = rd_kafka_topic_partition_list_new(int(before.size()));
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        rd_kafka_topic_partition_list_add(list, topic.toUtf8().constData(), it.key())->offset = it.value();
    rd_kafka_DeleteRecords_t* request = rd_kafka_DeleteRecords_new(list);
    rd_kafka_topic_partition_list_destroy(list);
    rd_kafka_event_t* event =
        adminCall(admin, [&](rd_kafka_queue_t* queue) { rd_kafka_DeleteRecords(admin, &request, 1, nullptr, queue); });
    rd_kafka_resp_err_t trimmed = event ? rd_kafka_event_error(event) : RD_KAFKA_RESP_ERR__TIMED_OUT;
    if (const rd_kafka_DeleteRecords_result_t* result = event ? rd_kafka_event_DeleteRecords_result(event) : nullptr) {
        const rd_kafka_topic_partition_list_t* offsets = rd_kafka_DeleteRecords_result_offsets(result);
        for (int i = 0; offsets && i < offsets->cnt && trimmed == RD_KAFKA_RESP_ERR_NO_ERROR; ++i)
            trimmed = offsets->elems[i].err;
    }
    if (event)
        rd_kafka_event_destroy(event);
    rd_kafka_DeleteRecords_destroy(request);
    rd_kafka_destroy(admin);
    check(trimmed, "deleting records");
}

std::pair<int64_t, int64_t> LiveKafka::watermarks(const QString& topic, int32_t partition)
{
    rd_kafka_t* rk = handle(RD_KAFKA_PRODUCER, m_bootstrap);
    int64_t low = -1, high = -1;
    const rd_kafka_resp_err_t read =
        rd_kafka_query_watermark_offsets(rk, topic.toUtf8().constData(), partition, &low, &high, 10000);
    rd_kafka_destroy(rk);
    check(read, "reading watermarks");
    return {low, high};
}

QMap<int32_t, int64_t> LiveKafka::committed(const QString& group, const QString& topic, int partitions)
{
    rd_kafka_t* rk = handle(RD_KAFKA_CONSUMER, m_bootstrap, {{"group.id", group.toUtf8()}});
    rd_kafka_topic_partition_list_t* list = rd_kafka_topic_partition_list_new(partitions);
    for (int32_t p = 0; p < partitions; ++p)
        rd_kafka_topic_partition_list_add(list, topic.toUtf8().constData(), p);
    const rd_kafka_resp_err_t read = rd_kafka_committed(rk, list, 10000);
    QMap<int32_t, int64_t> offsets;
    for (int i = 0; i < list->cnt; ++i)
        offsets.insert(list->elems[i].partition, list->elems[i].offset < 0 ? -1 : list->elems[i].offset);
    rd_kafka_topic_partition_list_destroy(list);
    rd_kafka_destroy_flags(rk, RD_KAFKA_DESTROY_F_NO_CONSUMER_CLOSE);
    check(read, "reading committed offsets back");
    return offsets;
}

void LiveKafka::commitAsSimple(const QString& group, const QString& topic, const QMap<int32_t, int64_t>& offsets)
{
    rd_kafka_t* rk = handle(RD_KAFKA_CONSUMER, m_bootstrap, {{"group.id", group.toUtf8()}});
    rd_kafka_topic_partition_list_t* list = rd_kafka_topic_partition_list_new(int(offsets.size()));
    for (auto it = offsets.cbegin(); it != offsets.cend(); ++it)
        rd_kafka_topic_partition_list_add(list, topic.toUtf8().constData(), it.key())->offset = it.value();
    rd_kafka_assign(rk, list);
    const rd_kafka_resp_err_t committed = rd_kafka_commit(rk, list, 0);
    rd_kafka_topic_partition_list_destroy(list);
    rd_kafka_assign(rk, nullptr);
    rd_kafka_consumer_close(rk);
    rd_kafka_destroy(rk);
    check(committed, "committing as a simple group");
}

rd_kafka_t* LiveKafka::join(const QString& group, const QString& topic, const QByteArray& clientId)
{
    QList<std::pair<QByteArray, QByteArray>> settings = {
        {"group.id", group.toUtf8()}, {"enable.auto.commit", "false"}, {"auto.offset.reset", "earliest"}};
    if (!clientId.isEmpty())
        settings.append({"client.id", clientId});
    rd_kafka_t* member = handle(RD_KAFKA_CONSUMER, m_bootstrap, settings);
    m_members.append(member);
    rd_kafka_poll_set_consumer(member);
    rd_kafka_topic_partition_list_t* topics = rd_kafka_topic_partition_list_new(1);
    rd_kafka_topic_partition_list_add(topics, topic.toUtf8().constData(), RD_KAFKA_PARTITION_UA);
    const rd_kafka_resp_err_t subscribed = rd_kafka_subscribe(member, topics);
    rd_kafka_topic_partition_list_destroy(topics);
    check(subscribed, "subscribing a member");
    return member;
}

void LiveKafka::readAndCommit(rd_kafka_t* member, int count)
{
    int read = 0;
    for (int i = 0; i < 60 && read < count; ++i) {
        if (rd_kafka_message_t* m = rd_kafka_consumer_poll(member, 500)) {
            read += m->err == RD_KAFKA_RESP_ERR_NO_ERROR;
            rd_kafka_message_destroy(m);
        }
    }
    if (read != count)
        throw std::runtime_error("the member read " + std::to_string(read) + " of " + std::to_string(count));
    check(rd_kafka_commit(member, nullptr, 0), "committing what the member read");
}

void LiveKafka::awaitAssignment(rd_kafka_t* member)
{
    for (int i = 0; i < 120; ++i) {
        if (rd_kafka_message_t* m = rd_kafka_consumer_poll(member, 250))
            rd_kafka_message_destroy(m);
        rd_kafka_topic_partition_list_t* assignment = nullptr;
        if (rd_kafka_assignment(member, &assignment) == RD_KAFKA_RESP_ERR_NO_ERROR) {
            const int count = assignment->cnt;
            rd_kafka_topic_partition_list_destroy(assignment);
            if (count > 0)
                return;
        }
    }
    throw std::runtime_error("the member was given no partitions");
}

void LiveKafka::leave(rd_kafka_t*& member)
{
    if (!member)
        return;
    m_members.removeOne(member);
    rd_kafka_consumer_close(member);
    rd_kafka_destroy(member);
    member = nullptr;
}

} // namespace tessaron::testing
