#include "support/LiveKafka.h"

#include <QUuid>

#include <stdexcept>
#include <string>
#include <utility>

namespace tessaron::testing {

namespace {

rd_kafka_t* handle(rd_kafka_type_t type, const QByteArray& bootstrap,
                   const QList<std::pair<QByteArray, QByteArray>>& extra = {})
{
    char error[512] = {};
    rd_kafka_conf_t* conf = rd_kafka_conf_new();
    rd_kafka_conf_set(conf, "bootstrap.servers", bootstrap.constData(), error, sizeof error);
    for (const auto& [key, value] : extra)
        rd_kafka_conf_set(conf, key.constData(), value.constData(), error, sizeof error);
    rd_kafka_t* rk = rd_kafka_new(type, conf, error, sizeof error);
    if (!rk)
        throw std::runtime_error(error);
    return rk;
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

void LiveKafka::createTopic(const QString& topic, int partitions, const QList<Seed>& messages)
{
    rd_kafka_t* admin = handle(RD_KAFKA_PRODUCER, m_bootstrap);
    const QByteArray name = topic.toUtf8();
    char error[512] = {};
    rd_kafka_NewTopic_t* newTopic = rd_kafka_NewTopic_new(name.constData(), partitions, 1, error, sizeof error);
    rd_kafka_queue_t* queue = rd_kafka_queue_new(admin);
    rd_kafka_CreateTopics(admin, &newTopic, 1, nullptr, queue);
    rd_kafka_event_t* event = rd_kafka_queue_poll(queue, 15000);
    const rd_kafka_resp_err_t created = event ? rd_kafka_event_error(event) : RD_KAFKA_RESP_ERR__TIMED_OUT;
    if (event)
        rd_kafka_event_destroy(event);
    rd_kafka_queue_destroy(queue);
    rd_kafka_NewTopic_destroy(newTopic);
    rd_kafka_resp_err_t produced = RD_KAFKA_RESP_ERR_NO_ERROR;
    for (const Seed& seed : messages) {
        if (produced == RD_KAFKA_RESP_ERR_NO_ERROR)
            produced = rd_kafka_producev(
                admin, RD_KAFKA_V_TOPIC(name.constData()), RD_KAFKA_V_PARTITION(seed.partition),
                RD_KAFKA_V_VALUE(const_cast<char*>(seed.payload.constData()), size_t(seed.payload.size())),
                RD_KAFKA_V_MSGFLAGS(RD_KAFKA_MSG_F_COPY), RD_KAFKA_V_TIMESTAMP(seed.timestampMs), RD_KAFKA_V_END);
    }
    const rd_kafka_resp_err_t flushed = rd_kafka_flush(admin, 15000);
    rd_kafka_destroy(admin);
    check(created, "creating a topic");
    check(produced, "seeding a message");
    check(flushed, "acknowledging seeded messages");
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
