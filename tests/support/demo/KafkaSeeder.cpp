#include "KafkaSeeder.h"

#include <QHash>

#include <stdexcept>
#include <string>
#include <vector>

namespace tessaron::demo {

namespace {

// The report lands in the rd_kafka_resp_err_t a message carries as its opaque, when it has one.
void report(rd_kafka_t*, const rd_kafka_message_t* message, void*)
{
    if (message->_private)
        *static_cast<rd_kafka_resp_err_t*>(message->_private) = message->err;
}

void check(rd_kafka_resp_err_t err, const std::string& what)
{
    if (err != RD_KAFKA_RESP_ERR_NO_ERROR)
        throw std::runtime_error(what + ": " + rd_kafka_err2str(err));
}

rd_kafka_resp_err_t enqueue(rd_kafka_t* producer, const KafkaSeeder::Placed& placed, rd_kafka_resp_err_t* delivered)
{
    const testing::MockKafkaCluster::Record& record = placed.record;
    rd_kafka_headers_t* headers = rd_kafka_headers_new(size_t(record.headers.size()));
    for (const auto& [name, value] : record.headers)
        rd_kafka_header_add(headers, name.constData(), -1, value ? value->constData() : nullptr,
                            value ? value->size() : 0);
    // An empty key or payload is still one; only an absent one is sent as null.
    static const char empty = 0;
    auto bytes = [](const std::optional<QByteArray>& b) -> void* {
        if (!b)
            return nullptr;
        return const_cast<char*>(b->isEmpty() ? &empty : b->constData());
    };
    const QByteArray topic = placed.topic.toUtf8();
    const rd_kafka_resp_err_t err = rd_kafka_producev(
        producer, RD_KAFKA_V_TOPIC(topic.constData()), RD_KAFKA_V_PARTITION(placed.partition),
        RD_KAFKA_V_KEY(bytes(record.key), (record.key ? size_t(record.key->size()) : 0)),
        RD_KAFKA_V_VALUE(bytes(record.payload), (record.payload ? size_t(record.payload->size()) : 0)),
        RD_KAFKA_V_MSGFLAGS(RD_KAFKA_MSG_F_COPY), RD_KAFKA_V_HEADERS(headers), RD_KAFKA_V_TIMESTAMP(record.timestampMs),
        RD_KAFKA_V_OPAQUE(delivered), RD_KAFKA_V_END);
    // The headers belong to the message only once it was taken.
    if (err != RD_KAFKA_RESP_ERR_NO_ERROR)
        rd_kafka_headers_destroy(headers);
    return err;
}

} // namespace

KafkaSeeder::KafkaSeeder(const QString& bootstrap)
{
    char error[512] = {};
    rd_kafka_conf_t* conf = rd_kafka_conf_new();
    if (rd_kafka_conf_set(conf, "bootstrap.servers", bootstrap.toUtf8().constData(), error, sizeof error)
        != RD_KAFKA_CONF_OK) {
        rd_kafka_conf_destroy(conf);
        throw std::runtime_error(error);
    }
    rd_kafka_conf_set_dr_msg_cb(conf, report);
    m_producer = rd_kafka_new(RD_KAFKA_PRODUCER, conf, error, sizeof error);
    if (!m_producer)
        throw std::runtime_error(error);
}

KafkaSeeder::~KafkaSeeder()
{
    rd_kafka_flush(m_producer, 5000);
    rd_kafka_destroy(m_producer);
}

QSet<QString> KafkaSeeder::createTopics(const QList<NewTopic>& topics)
{
    char error[512] = {};
    std::vector<rd_kafka_NewTopic_t*> requests;
    auto release = [&requests] {
        for (rd_kafka_NewTopic_t* request : requests)
            rd_kafka_NewTopic_destroy(request);
    };
    for (const NewTopic& topic : topics) {
        rd_kafka_NewTopic_t* request =
            rd_kafka_NewTopic_new(topic.name.toUtf8().constData(), topic.partitions, 1, error, sizeof error);
        if (!request) {
            release();
            throw std::runtime_error("creating " + topic.name.toStdString() + ": " + error);
        }
        requests.push_back(request);
    }
    // The answer comes once the broker has made the topics, not merely accepted the request.
    rd_kafka_AdminOptions_t* options = rd_kafka_AdminOptions_new(m_producer, RD_KAFKA_ADMIN_OP_CREATETOPICS);
    rd_kafka_AdminOptions_set_operation_timeout(options, 15000, error, sizeof error);
    rd_kafka_queue_t* queue = rd_kafka_queue_new(m_producer);
    rd_kafka_CreateTopics(m_producer, requests.data(), requests.size(), options, queue);
    rd_kafka_event_t* event = rd_kafka_queue_poll(queue, 30000);
    rd_kafka_queue_destroy(queue);
    rd_kafka_AdminOptions_destroy(options);
    release();

    QSet<QString> created;
    std::string refused = event ? std::string() : "creating the topics: no answer in 30 s";
    if (event && rd_kafka_event_error(event) != RD_KAFKA_RESP_ERR_NO_ERROR)
        refused = std::string("creating the topics: ") + rd_kafka_event_error_string(event);
    if (const rd_kafka_CreateTopics_result_t* result =
            refused.empty() ? rd_kafka_event_CreateTopics_result(event) : nullptr) {
        size_t count = 0;
        const rd_kafka_topic_result_t** results = rd_kafka_CreateTopics_result_topics(result, &count);
        for (size_t i = 0; i < count && refused.empty(); ++i) {
            const rd_kafka_resp_err_t err = rd_kafka_topic_result_error(results[i]);
            const char* name = rd_kafka_topic_result_name(results[i]);
            if (err == RD_KAFKA_RESP_ERR_NO_ERROR)
                created.insert(QString::fromUtf8(name));
            else if (err != RD_KAFKA_RESP_ERR_TOPIC_ALREADY_EXISTS)
                refused = std::string("creating ") + name + ": " + rd_kafka_topic_result_error_string(results[i]);
        }
    }
    if (event)
        rd_kafka_event_destroy(event);
    if (!refused.empty())
        throw std::runtime_error(refused);

    // A producer that learns of a topic before every partition has a leader fails its messages.
    QHash<QString, int> pending;
    for (const NewTopic& topic : topics) {
        if (created.contains(topic.name))
            pending.insert(topic.name, topic.partitions);
    }
    for (int i = 0; i < 100 && !pending.isEmpty(); ++i) {
        const rd_kafka_metadata_t* metadata = nullptr;
        if (rd_kafka_metadata(m_producer, 1, nullptr, &metadata, 5000) == RD_KAFKA_RESP_ERR_NO_ERROR) {
            for (int t = 0; t < metadata->topic_cnt; ++t) {
                const rd_kafka_metadata_topic_t& topic = metadata->topics[t];
                const QString name = QString::fromUtf8(topic.topic);
                bool ready = topic.err == RD_KAFKA_RESP_ERR_NO_ERROR && topic.partition_cnt == pending.value(name, -1);
                for (int p = 0; ready && p < topic.partition_cnt; ++p)
                    ready = topic.partitions[p].leader >= 0 && topic.partitions[p].err == RD_KAFKA_RESP_ERR_NO_ERROR;
                if (ready)
                    pending.remove(name);
            }
            rd_kafka_metadata_destroy(metadata);
        }
        if (!pending.isEmpty())
            rd_kafka_poll(m_producer, 100);
    }
    if (!pending.isEmpty())
        throw std::runtime_error("the new topic " + pending.keys().first().toStdString()
                                 + " got no leader for every partition");
    return created;
}

void KafkaSeeder::produceAll(const QList<Placed>& records)
{
    // A flush empties the queue whether or not the messages were delivered: each report counts.
    std::vector<rd_kafka_resp_err_t> delivered(size_t(records.size()), RD_KAFKA_RESP_ERR__FAIL);
    for (qsizetype i = 0; i < records.size(); ++i)
        check(enqueue(m_producer, records[i], &delivered[size_t(i)]), "seeding " + records[i].topic.toStdString());
    check(rd_kafka_flush(m_producer, 30000), "acknowledging the seeded records");
    for (qsizetype i = 0; i < records.size(); ++i)
        check(delivered[size_t(i)], "delivering a record to " + records[i].topic.toStdString());
}

int64_t KafkaSeeder::written(const QString& topic, int partitions)
{
    int64_t sum = 0;
    for (int32_t p = 0; p < partitions; ++p) {
        int64_t low = 0, high = 0;
        check(rd_kafka_query_watermark_offsets(m_producer, topic.toUtf8().constData(), p, &low, &high, 10000),
              "reading the end of " + topic.toStdString());
        sum += high;
    }
    return sum;
}

void KafkaSeeder::send(const Placed& record)
{
    // Refused at once (a full queue): dropped, the next one follows soon.
    enqueue(m_producer, record, nullptr);
    // Serves the reports of earlier ones, so the queue never grows.
    rd_kafka_poll(m_producer, 0);
}

} // namespace tessaron::demo
