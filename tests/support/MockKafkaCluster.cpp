#include "support/MockKafkaCluster.h"

#include <QUuid>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tessaron::testing {

namespace {

void knock(uint16_t port)
{
    if (port == 0)
        return;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(fd);
}

void quietLog(const rd_kafka_t*, int, const char*, const char*) { }

void report(rd_kafka_t*, const rd_kafka_message_t* message, void*)
{
    if (message->_private)
        *static_cast<rd_kafka_resp_err_t*>(message->_private) = message->err;
}

void check(rd_kafka_resp_err_t err, const char* what)
{
    if (err != RD_KAFKA_RESP_ERR_NO_ERROR)
        throw std::runtime_error(std::string(what) + ": " + rd_kafka_err2str(err));
}

} // namespace

MockKafkaCluster::MockKafkaCluster(int brokerCount)
{
    m_owner = makeHandle(RD_KAFKA_PRODUCER, {});
    m_cluster = rd_kafka_mock_cluster_new(m_owner, brokerCount);
    if (!m_cluster)
        throw std::runtime_error("could not start the mock cluster");
    m_brokerCount = brokerCount;
    m_bootstrap = QString::fromUtf8(rd_kafka_mock_cluster_bootstraps(m_cluster));
    for (const QString& address : m_bootstrap.split(QLatin1Char(','), Qt::SkipEmptyParts))
        m_ports.append(uint16_t(address.section(QLatin1Char(':'), -1).toUInt()));
}

MockKafkaCluster::~MockKafkaCluster()
{
    if (m_producer)
        rd_kafka_destroy(m_producer);
    rd_kafka_mock_cluster_destroy(m_cluster);
    rd_kafka_destroy(m_owner);
}

Broker MockKafkaCluster::broker(const QString& name) const
{
    Broker broker;
    broker.id = QUuid::createUuid();
    broker.name = name;
    broker.kind = BrokerKind::kafka;
    broker.bootstrap = m_bootstrap;
    broker.security = BrokerSecurity::plaintext;
    broker.saslMechanism = QStringLiteral("PLAIN");
    return broker;
}

void MockKafkaCluster::createTopics(const QList<NewTopic>& topics)
{
    std::atomic<qsizetype> next{0};
    std::atomic<rd_kafka_resp_err_t> failure{RD_KAFKA_RESP_ERR_NO_ERROR};
    whileAwake([&] {
        std::vector<std::thread> workers;
        for (qsizetype w = 0; w < std::min<qsizetype>(topics.size(), 4); ++w) {
            workers.emplace_back([&] {
                for (qsizetype i = next++; i < topics.size(); i = next++) {
                    const NewTopic& t = topics[i];
                    const rd_kafka_resp_err_t err = rd_kafka_mock_topic_create(m_cluster, t.name.toUtf8().constData(),
                                                                               t.partitions, t.replicationFactor);
                    if (err != RD_KAFKA_RESP_ERR_NO_ERROR)
                        failure = err;
                }
            });
        }
        for (std::thread& worker : workers)
            worker.join();
    });
    check(failure, "creating a topic");
}

void MockKafkaCluster::produce(const QString& topic, int32_t partition, const Record& record)
{
    rd_kafka_resp_err_t delivered = RD_KAFKA_RESP_ERR__FAIL;
    enqueue(topic, partition, record, &delivered);
    check(rd_kafka_flush(producer(), 10000), "acknowledging a seeded message");
    check(delivered, "delivering a seeded message");
}

void MockKafkaCluster::produceAll(const QList<Placed>& records)
{
    std::vector<rd_kafka_resp_err_t> delivered(static_cast<size_t>(records.size()), RD_KAFKA_RESP_ERR__FAIL);
    for (qsizetype i = 0; i < records.size(); ++i)
        enqueue(records[i].topic, records[i].partition, records[i].record, &delivered[static_cast<size_t>(i)]);
    check(rd_kafka_flush(producer(), 30000), "acknowledging seeded messages");
    for (const rd_kafka_resp_err_t err : delivered)
        check(err, "delivering a seeded message");
}

void MockKafkaCluster::produceMany(const QString& topic, int32_t partition, int count, const QByteArray& prefix)
{
    for (int i = 0; i < count; ++i)
        produce(topic, partition, Record{"k" + QByteArray::number(i), prefix + QByteArray::number(i), {}, 0});
}

void MockKafkaCluster::commit(const QString& group, const QString& topic, const QMap<int32_t, int64_t>& offsets)
{
    rd_kafka_t* rk =
        makeHandle(RD_KAFKA_CONSUMER, {{"group.id", group.toStdString()}, {"enable.auto.commit", "false"}});
    rd_kafka_topic_partition_list_t* list = rd_kafka_topic_partition_list_new(static_cast<int>(offsets.size()));
    for (auto it = offsets.cbegin(); it != offsets.cend(); ++it)
        rd_kafka_topic_partition_list_add(list, topic.toUtf8().constData(), it.key())->offset = it.value();
    const rd_kafka_resp_err_t err = rd_kafka_commit(rk, list, 0);
    rd_kafka_topic_partition_list_destroy(list);
    rd_kafka_destroy_flags(rk, RD_KAFKA_DESTROY_F_NO_CONSUMER_CLOSE);
    check(err, "committing offsets");
}

void MockKafkaCluster::setBrokerDown(int32_t id)
{
    whileAwake([&] { check(rd_kafka_mock_broker_set_down(m_cluster, id), "bringing a broker down"); });
}

void MockKafkaCluster::setBrokerUp(int32_t id)
{
    whileAwake([&] { check(rd_kafka_mock_broker_set_up(m_cluster, id), "bringing a broker up"); });
}

void MockKafkaCluster::setAllBrokersDown()
{
    for (int id = 1; id <= m_brokerCount; ++id)
        setBrokerDown(id);
}

void MockKafkaCluster::setAllBrokersUp()
{
    for (int id = 1; id <= m_brokerCount; ++id)
        setBrokerUp(id);
}

void MockKafkaCluster::pushRequestErrors(int16_t apiKey, std::initializer_list<rd_kafka_resp_err_t> errors)
{
    rd_kafka_mock_push_request_errors_array(m_cluster, apiKey, errors.size(), errors.begin());
}

void MockKafkaCluster::setTopicError(const QString& topic, rd_kafka_resp_err_t error)
{
    rd_kafka_mock_topic_set_error(m_cluster, topic.toUtf8().constData(), error);
}

// Hands one message to the producer; `delivered` receives its delivery report.
void MockKafkaCluster::enqueue(const QString& topic, int32_t partition, const Record& record,
                               rd_kafka_resp_err_t* delivered)
{
    rd_kafka_headers_t* headers = rd_kafka_headers_new(static_cast<size_t>(record.headers.size()));
    for (const auto& [name, value] : record.headers)
        rd_kafka_header_add(headers, name.constData(), -1, value ? value->constData() : nullptr,
                            value ? value->size() : 0);
    static const char empty = 0;
    auto bytes = [](const std::optional<QByteArray>& b) -> void* {
        if (!b)
            return nullptr;
        return const_cast<char*>(b->isEmpty() ? &empty : b->constData());
    };
    const QByteArray name = topic.toUtf8();
    const rd_kafka_resp_err_t err = rd_kafka_producev(
        producer(), RD_KAFKA_V_TOPIC(name.constData()), RD_KAFKA_V_PARTITION(partition),
        RD_KAFKA_V_KEY(bytes(record.key), (record.key ? static_cast<size_t>(record.key->size()) : 0)),
        RD_KAFKA_V_VALUE(bytes(record.payload), (record.payload ? static_cast<size_t>(record.payload->size()) : 0)),
        RD_KAFKA_V_MSGFLAGS(RD_KAFKA_MSG_F_COPY), RD_KAFKA_V_HEADERS(headers), RD_KAFKA_V_TIMESTAMP(record.timestampMs),
        RD_KAFKA_V_OPAQUE(delivered), RD_KAFKA_V_END);
    if (err) {
        rd_kafka_headers_destroy(headers);
        check(err, "seeding a message");
    }
}

// librdkafka 2.0.2's mock cluster thread can miss the wake-up of an operation queued for it and
// notice it only at its next poll time-out, about a second later (a thousand topics created
// one by one took minutes). A connection to one of its brokers wakes it, so while `work` waits
// on such operations, a helper thread keeps knocking.
void MockKafkaCluster::whileAwake(const std::function<void()>& work)
{
    std::atomic<bool> done{false};
    std::thread knocker([&] {
        for (size_t turn = 0; !done; ++turn) {
            knock(m_ports.isEmpty() ? 0 : m_ports[qsizetype(turn % size_t(m_ports.size()))]);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    struct Stop {
        std::atomic<bool>& done;
        std::thread& knocker;
        ~Stop()
        {
            done = true;
            knocker.join();
        }
    } stop{done, knocker};
    work();
}

rd_kafka_t* MockKafkaCluster::makeHandle(rd_kafka_type_t type,
                                         std::initializer_list<std::pair<std::string, std::string>> pairs) const
{
    rd_kafka_conf_t* conf = rd_kafka_conf_new();
    char error[512] = {};
    if (!m_bootstrap.isEmpty())
        rd_kafka_conf_set(conf, "bootstrap.servers", m_bootstrap.toUtf8().constData(), error, sizeof error);
    for (const auto& [key, value] : pairs) {
        if (rd_kafka_conf_set(conf, key.c_str(), value.c_str(), error, sizeof error) != RD_KAFKA_CONF_OK)
            throw std::runtime_error(error);
    }
    rd_kafka_conf_set_log_cb(conf, quietLog);
    if (type == RD_KAFKA_PRODUCER)
        rd_kafka_conf_set_dr_msg_cb(conf, report);
    rd_kafka_t* rk = rd_kafka_new(type, conf, error, sizeof error);
    if (!rk)
        throw std::runtime_error(error);
    return rk;
}

rd_kafka_t* MockKafkaCluster::producer()
{
    if (!m_producer)
        m_producer = makeHandle(RD_KAFKA_PRODUCER, {});
    return m_producer;
}

} // namespace tessaron::testing
