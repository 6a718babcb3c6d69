#pragma once

// An in-process Kafka cluster for tests: librdkafka's own mock brokers on loopback ports.
// Seed topics and messages, commit a group's offsets, bring brokers down, inject request errors.
//
//   MockKafkaCluster cluster(3);
//   cluster.createTopic("orders", 3);
//   cluster.produce("orders", 0, {.key = "k", .payload = "v"});
//   KafkaClient client(cluster.broker(), std::nullopt, std::nullopt, 10000);

#include "TessaronCore/model/Broker.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QUuid>

#include <librdkafka/rdkafka.h>
#include <librdkafka/rdkafka_mock.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tessaron::testing {

class MockKafkaCluster {
public:
    struct Record {
        std::optional<QByteArray> key;
        std::optional<QByteArray> payload;
        // A header with an absent value is sent without one.
        QList<std::pair<QByteArray, std::optional<QByteArray>>> headers;
        // Milliseconds since 1970; 0 lets the producer stamp the message.
        int64_t timestampMs = 0;
    };

    explicit MockKafkaCluster(int brokerCount = 1)
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

    ~MockKafkaCluster()
    {
        if (m_producer)
            rd_kafka_destroy(m_producer);
        rd_kafka_mock_cluster_destroy(m_cluster);
        rd_kafka_destroy(m_owner);
    }

    MockKafkaCluster(const MockKafkaCluster&) = delete;
    MockKafkaCluster& operator=(const MockKafkaCluster&) = delete;

    rd_kafka_mock_cluster_t* raw() const { return m_cluster; }
    const QString& bootstrap() const { return m_bootstrap; }
    int brokerCount() const { return m_brokerCount; }

    // A plaintext Kafka broker definition that reaches this cluster.
    Broker broker(const QString& name = QStringLiteral("mock")) const
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

    struct NewTopic {
        QString name;
        int partitions = 1;
        int replicationFactor = 1;
    };

    void createTopic(const QString& name, int partitions, int replicationFactor = 1)
    {
        createTopics({{name, partitions, replicationFactor}});
    }

    // Creates the topics side by side on a few threads, while the cluster is kept awake.
    void createTopics(const QList<NewTopic>& topics)
    {
        std::atomic<qsizetype> next{0};
        std::atomic<rd_kafka_resp_err_t> failure{RD_KAFKA_RESP_ERR_NO_ERROR};
        whileAwake([&] {
            std::vector<std::thread> workers;
            for (qsizetype w = 0; w < std::min<qsizetype>(topics.size(), 4); ++w) {
                workers.emplace_back([&] {
                    for (qsizetype i = next++; i < topics.size(); i = next++) {
                        const NewTopic& t = topics[i];
                        const rd_kafka_resp_err_t err = rd_kafka_mock_topic_create(
                            m_cluster, t.name.toUtf8().constData(), t.partitions, t.replicationFactor);
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

    // Produces one message and waits for its acknowledgement.
    void produce(const QString& topic, int32_t partition, const Record& record)
    {
        rd_kafka_resp_err_t delivered = RD_KAFKA_RESP_ERR__FAIL;
        enqueue(topic, partition, record, &delivered);
        check(rd_kafka_flush(producer(), 10000), "acknowledging a seeded message");
        check(delivered, "delivering a seeded message");
    }

    // One message of a batch and where it goes.
    struct Placed {
        QString topic;
        int32_t partition = 0;
        Record record;
    };

    // Produces many messages and waits once for every acknowledgement: flushed one at a time, or
    // one topic at a time (each new topic waits for its metadata), hundreds take seconds.
    void produceAll(const QList<Placed>& records)
    {
        std::vector<rd_kafka_resp_err_t> delivered(static_cast<size_t>(records.size()), RD_KAFKA_RESP_ERR__FAIL);
        for (qsizetype i = 0; i < records.size(); ++i)
            enqueue(records[i].topic, records[i].partition, records[i].record, &delivered[static_cast<size_t>(i)]);
        check(rd_kafka_flush(producer(), 30000), "acknowledging seeded messages");
        for (const rd_kafka_resp_err_t err : delivered)
            check(err, "delivering a seeded message");
    }

    // Produces `count` messages "<prefix><i>" with keys "k<i>" on one partition.
    void produceMany(const QString& topic, int32_t partition, int count, const QByteArray& prefix = "m")
    {
        for (int i = 0; i < count; ++i)
            produce(topic, partition, Record{"k" + QByteArray::number(i), prefix + QByteArray::number(i), {}, 0});
    }

    // Commits offsets for a group, as a consumer of that group would.
    void commit(const QString& group, const QString& topic, const QMap<int32_t, int64_t>& offsets)
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

    void setBrokerDown(int32_t id)
    {
        whileAwake([&] { check(rd_kafka_mock_broker_set_down(m_cluster, id), "bringing a broker down"); });
    }
    void setBrokerUp(int32_t id)
    {
        whileAwake([&] { check(rd_kafka_mock_broker_set_up(m_cluster, id), "bringing a broker up"); });
    }
    void setAllBrokersDown()
    {
        for (int id = 1; id <= m_brokerCount; ++id)
            setBrokerDown(id);
    }
    void setAllBrokersUp()
    {
        for (int id = 1; id <= m_brokerCount; ++id)
            setBrokerUp(id);
    }

    // The next requests of one kind (a Kafka protocol API key, e.g. 0 Produce, 8 OffsetCommit)
    // fail with these errors, one each, in order.
    void pushRequestErrors(int16_t apiKey, std::initializer_list<rd_kafka_resp_err_t> errors)
    {
        rd_kafka_mock_push_request_errors_array(m_cluster, apiKey, errors.size(), errors.begin());
    }

    void setTopicError(const QString& topic, rd_kafka_resp_err_t error)
    {
        rd_kafka_mock_topic_set_error(m_cluster, topic.toUtf8().constData(), error);
    }

private:
    // Hands one message to the producer; `delivered` receives its delivery report.
    void enqueue(const QString& topic, int32_t partition, const Record& record, rd_kafka_resp_err_t* delivered)
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
            RD_KAFKA_V_MSGFLAGS(RD_KAFKA_MSG_F_COPY), RD_KAFKA_V_HEADERS(headers),
            RD_KAFKA_V_TIMESTAMP(record.timestampMs), RD_KAFKA_V_OPAQUE(delivered), RD_KAFKA_V_END);
        if (err) {
            rd_kafka_headers_destroy(headers);
            check(err, "seeding a message");
        }
    }

    // librdkafka 2.0.2's mock cluster thread can miss the wake-up of an operation queued for it and
    // notice it only at its next poll time-out, about a second later (a thousand topics created
    // one by one took minutes). A connection to one of its brokers wakes it, so while `work` waits
    // on such operations, a helper thread keeps knocking.
    template <typename Work> void whileAwake(Work work)
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

    static void knock(uint16_t port)
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

    static void quietLog(const rd_kafka_t*, int, const char*, const char*) { }

    static void report(rd_kafka_t*, const rd_kafka_message_t* message, void*)
    {
        if (message->_private)
            *static_cast<rd_kafka_resp_err_t*>(message->_private) = message->err;
    }

    rd_kafka_t* makeHandle(rd_kafka_type_t type, std::initializer_list<std::pair<std::string, std::string>> pairs) const
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

    rd_kafka_t* producer()
    {
        if (!m_producer)
            m_producer = makeHandle(RD_KAFKA_PRODUCER, {});
        return m_producer;
    }

    static void check(rd_kafka_resp_err_t err, const char* what)
    {
        if (err != RD_KAFKA_RESP_ERR_NO_ERROR)
            throw std::runtime_error(std::string(what) + ": " + rd_kafka_err2str(err));
    }

    rd_kafka_t* m_owner = nullptr;
    rd_kafka_t* m_producer = nullptr;
    rd_kafka_mock_cluster_t* m_cluster = nullptr;
    int m_brokerCount = 0;
    QString m_bootstrap;
    QList<uint16_t> m_ports; // of the brokers, for waking the cluster's thread
};

} // namespace tessaron::testing
