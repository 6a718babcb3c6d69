#include "DemoKafka.h"

#include "DemoKafkaGroups.h"
#include "KafkaSeeder.h"

#include "support/RegistryPeer.h"
#include "support/MockKafkaCluster.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <random>

namespace tessaron::demo {

namespace {

using Record = testing::MockKafkaCluster::Record;
using Batch = QList<std::pair<int32_t, Record>>;

// The partition a key lands on, the same on every run (librdkafka's own partitioner is not
// reachable from here, and the demo only needs one that is stable).
int32_t partitionOf(const QByteArray& key, int partitions)
{
    quint32 hash = 2166136261u;
    for (const char c : key)
        hash = (hash ^ quint8(c)) * 16777619u;
    return int32_t(hash % quint32(partitions));
}

QByteArray json(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

// Timestamps spread over the last six hours, oldest first, so reading from a moment finds some.
class Clock {
public:
    explicit Clock(int64_t count)
        : m_count(std::max<int64_t>(count, 1))
        , m_end(QDateTime::currentMSecsSinceEpoch() - 60'000)
    { }
    int64_t at(int64_t i) const { return m_end - (m_count - 1 - i) * (6 * 3600'000 / m_count); }

private:
    int64_t m_count;
    int64_t m_end;
};

// Avro binary encoding of the few types the demo schema uses.
void avroLong(QByteArray& out, int64_t value)
{
    quint64 n = (quint64(value) << 1) ^ quint64(value >> 63);
    while (n & ~quint64(0x7F)) {
        out.append(char((n & 0x7F) | 0x80));
        n >>= 7;
    }
    out.append(char(n));
}

void avroString(QByteArray& out, const QByteArray& text)
{
    avroLong(out, text.size());
    out.append(text);
}

QByteArray confluentFrame(int32_t schemaId, const QByteArray& body)
{
    QByteArray frame(5, '\0');
    frame[1] = char((schemaId >> 24) & 0xFF);
    frame[2] = char((schemaId >> 16) & 0xFF);
    frame[3] = char((schemaId >> 8) & 0xFF);
    frame[4] = char(schemaId & 0xFF);
    return frame + body;
}

const QStringList currencies = {"EUR", "USD", "BRL"};

const int orderPartitions = 3;
const int seededOrders = 240;

// The `i`-th order, as seeded and as added while the demo runs on a real broker.
std::pair<int32_t, Record> orderRecord(int i, std::mt19937& rng, int64_t timestampMs)
{
    const QByteArray customer = "cust-" + QByteArray::number(1 + int(rng() % 60));
    const double total = double(500 + rng() % 20000) / 100.0;
    QJsonObject order{{"orderId", QString("ord-%1").arg(10001 + i)},
                      {"customer", QString::fromUtf8(customer)},
                      {"total", total},
                      {"currency", currencies.at(int(rng() % 3))},
                      {"items", int(1 + rng() % 6)},
                      {"status", "placed"}};
    // About one in nineteen disagrees with the rest, in one of three ways.
    if (i % 19 == 7) {
        switch ((i / 19) % 3) {
        case 0:
            order.remove("currency");
            break;
        case 1:
            order.insert("total", QString::number(total, 'f', 2));
            break;
        default:
            order.remove("customer");
            order.insert("customerId", QString::fromUtf8(customer));
            break;
        }
    }
    return {partitionOf(customer, orderPartitions),
            Record{customer, json(order), {{"source", QByteArray("checkout-service")}}, timestampMs}};
}

Batch orders(std::mt19937& rng)
{
    const Clock clock(seededOrders);
    Batch batch;
    for (int i = 0; i < seededOrders; ++i)
        batch.append(orderRecord(i, rng, clock.at(i)));
    return batch;
}

Batch deadLetters()
{
    const struct {
        const char* payload;
        const char* error;
    } failures[] = {
        {R"({"orderId":"ord-10031","customer":"cust-12","total":"18.90","currency":"EUR","items":1})",
         "total is not a number"},
        {R"({"orderId":"ord-10044","customer":"cust-7","total":61.0,"items":2})", "currency is missing"},
        {R"({"orderId":"ord-10052","customerId":"cust-33","total":12.5,"currency":"USD","items":1})",
         "customer is missing"},
        {R"({"orderId":"ord-10077","customer":"cust-40","total":)", "payload is not JSON"},
        {R"({"orderId":"ord-10090","customer":"cust-9","total":-4.0,"currency":"BRL","items":1})", "total is negative"},
        {R"({"orderId":"ord-10101","customer":"cust-21","total":"7.25","currency":"EUR","items":3})",
         "total is not a number"},
        {R"({"orderId":"ord-10133","customer":"cust-5","total":99.0,"items":4})", "currency is missing"},
        {R"({"orderId":"ord-10158","customer":"cust-48","total":45.1,"currency":"XYZ","items":2})",
         "unknown currency XYZ"},
        {R"({"orderId":"ord-10200","customerId":"cust-2","total":30.0,"currency":"EUR","items":2})",
         "customer is missing"},
    };
    const Clock clock(std::size(failures));
    Batch batch;
    int i = 0;
    for (const auto& failure : failures) {
        batch.append({0,
                      Record{QByteArray("ord-") + QByteArray::number(10000 + i),
                             QByteArray(failure.payload),
                             {{"x-error", QByteArray(failure.error)},
                              {"x-original-topic", QByteArray("orders")},
                              {"x-retries", QByteArray("3")}},
                             clock.at(i)}});
        ++i;
    }
    return batch;
}

Batch clicks(std::mt19937& rng)
{
    static const char* const pages[] = {"/", "/products", "/products/lamp", "/cart", "/checkout", "/account"};
    const int count = 600;
    const Clock clock(count);
    Batch batch;
    for (int i = 0; i < count; ++i) {
        // Four in five on partition 0; the rest over 1 to 4; partition 5 never gets one.
        const int32_t partition = i % 5 != 0 ? 0 : 1 + (i / 5) % 4;
        const QJsonObject event{{"event", i % 7 == 0 ? "add_to_cart" : "page_view"},
                                {"page", pages[rng() % std::size(pages)]},
                                {"session", QString("s-%1").arg(rng() % 90000 + 10000)},
                                {"ms", int(rng() % 1800)}};
        batch.append({partition, Record{std::nullopt, json(event), {}, clock.at(i)}});
    }
    return batch;
}

Batch inventory(std::mt19937& rng)
{
    const int count = 320;
    const Clock clock(count);
    Batch batch;
    for (int i = 0; i < count; ++i) {
        const QByteArray sku =
            i % 20 < 11 ? DemoKafka::crowdedKey.toUtf8() : "sku-" + QByteArray::number(2000 + int(rng() % 40));
        const QJsonObject update{{"sku", QString::fromUtf8(sku)},
                                 {"warehouse", i % 3 == 0 ? "lisbon" : "porto"},
                                 {"delta", int(rng() % 9) - 4},
                                 {"onHand", int(rng() % 300)}};
        batch.append({partitionOf(sku, 4), Record{sku, json(update), {}, clock.at(i)}});
    }
    return batch;
}

Batch payments(std::mt19937& rng)
{
    const int count = 120;
    const Clock clock(count);
    Batch batch;
    for (int i = 0; i < count; ++i) {
        const QByteArray id = "pay-" + QByteArray::number(50001 + i);
        QByteArray body;
        avroString(body, id);
        avroLong(body, int64_t(100 + rng() % 50000));
        avroLong(body, int64_t(rng() % 3)); // currency symbol
        body.append(char(i % 6 != 0));      // captured
        if (i % 4 == 0) {
            avroLong(body, 1); // the string branch of the note
            avroString(body, "split payment");
        } else {
            avroLong(body, 0); // null
        }
        batch.append({partitionOf(id, 2), Record{id, confluentFrame(DemoKafka::avroSchemaId, body), {}, clock.at(i)}});
    }
    return batch;
}

Batch profiles()
{
    static const char* const cities[] = {"Lisbon", "Recife", "Porto", "Curitiba", "Braga", "Natal"};
    const int profiles = 48;
    const int deletions = 12;
    const Clock clock(profiles + deletions);
    Batch batch;
    for (int i = 0; i < profiles; ++i) {
        const QByteArray key = "cust-" + QByteArray::number(i + 1);
        const QJsonObject profile{{"customer", QString::fromUtf8(key)},
                                  {"name", QString("Customer %1").arg(i + 1)},
                                  {"city", cities[i % std::size(cities)]},
                                  {"marketing", i % 3 != 0}};
        batch.append({partitionOf(key, 2), Record{key, json(profile), {}, clock.at(i)}});
    }
    // Customers who asked to be forgotten: the value is gone, the key stays until compaction.
    for (int d = 0; d < deletions; ++d) {
        const QByteArray key = "cust-" + QByteArray::number(4 * d + 3);
        batch.append({partitionOf(key, 2), Record{key, std::nullopt, {}, clock.at(profiles + d)}});
    }
    return batch;
}

Batch telemetry(std::mt19937& rng)
{
    const int count = 80;
    const Clock clock(count);
    Batch batch;
    for (int i = 0; i < count; ++i) {
        const int device = 1 + i % 8;
        const QByteArray key = "device-" + QByteArray::number(device);
        // A small fixed frame: magic, version, device, eight readings, a check byte.
        QByteArray frame("\x89TLM\x00\x01", 6);
        frame.append(char(device >> 8)).append(char(device & 0xFF));
        quint8 check = 0;
        for (int r = 0; r < 8; ++r) {
            const quint16 reading = quint16(rng() & 0xFFFF);
            frame.append(char(reading >> 8)).append(char(reading & 0xFF));
            check ^= quint8(reading >> 8) ^ quint8(reading & 0xFF);
        }
        frame.append(char(check));
        batch.append({partitionOf(key, 2), Record{key, frame, {}, clock.at(i)}});
    }
    return batch;
}

} // namespace

const QList<DemoKafka::TopicPlan>& DemoKafka::plan()
{
    static const QList<TopicPlan> topics = {
        {driftingTopic, orderPartitions, seededOrders},
        {deadLetterTopic, 1, 9},
        {skewedTopic, 6, 600},
        {crowdedKeyTopic, 4, 320},
        {avroTopic, 2, 120},
        {tombstoneTopic, 2, 60},
        {binaryTopic, 2, 80},
    };
    return topics;
}

QByteArray DemoKafka::avroSchema()
{
    return R"({"type":"record","name":"Payment","namespace":"demo.payments","fields":[)"
           R"({"name":"paymentId","type":"string"},)"
           R"({"name":"amountCents","type":"long"},)"
           R"({"name":"currency","type":{"type":"enum","name":"Currency","symbols":["EUR","USD","BRL"]}},)"
           R"({"name":"captured","type":"boolean"},)"
           R"({"name":"note","type":["null","string"],"default":null}]})";
}

// On a real broker, an order every second, numbered on from what the topic already holds.
struct DemoKafka::Traffic {
    explicit Traffic(const QString& bootstrap)
        : producer(bootstrap)
    { }
    KafkaSeeder producer;
    QTimer ticker;
    std::mt19937 rng{20261210};
    int next = 0;
};

DemoKafka::DemoKafka(const std::optional<QString>& bootstrap)
    : m_cluster(bootstrap ? nullptr : std::make_unique<testing::MockKafkaCluster>(1))
    , m_bootstrap(bootstrap ? *bootstrap : m_cluster->bootstrap())
    , m_registry(std::make_unique<RegistryPeer>())
    , m_id(QUuid::createUuid())
{
    m_registry->answer("/schemas/ids/" + QByteArray::number(avroSchemaId),
                       {200, json(QJsonObject{{"schema", QString::fromUtf8(avroSchema())}})});
    seed();
    if (m_cluster)
        return;

    m_traffic = std::make_unique<Traffic>(m_bootstrap);
    m_traffic->next = int(m_traffic->producer.written(driftingTopic, orderPartitions));
    m_traffic->ticker.setInterval(1000);
    QObject::connect(&m_traffic->ticker, &QTimer::timeout, [traffic = m_traffic.get()] {
        const auto [partition, record] = orderRecord(traffic->next++, traffic->rng, 0);
        traffic->producer.send({driftingTopic, partition, record});
    });
    m_traffic->ticker.start();
    m_groups = std::make_unique<DemoKafkaGroups>(m_bootstrap);
}

DemoKafka::~DemoKafka() = default;

void DemoKafka::seed()
{
    std::mt19937 rng(20261209);
    QList<testing::MockKafkaCluster::Placed> all;
    auto add = [&all](const QString& topic, const Batch& batch) {
        for (const auto& [partition, record] : batch)
            all.append({topic, partition, record});
    };
    add(driftingTopic, orders(rng));
    add(deadLetterTopic, deadLetters());
    add(skewedTopic, clicks(rng));
    add(crowdedKeyTopic, inventory(rng));
    add(avroTopic, payments(rng));
    add(tombstoneTopic, profiles());
    add(binaryTopic, telemetry(rng));

    if (m_cluster) {
        for (const TopicPlan& topic : plan())
            m_cluster->createTopic(topic.name, topic.partitions);
        m_cluster->produceAll(all);
        return;
    }
    KafkaSeeder seeder(m_bootstrap);
    QList<KafkaSeeder::NewTopic> topics;
    for (const TopicPlan& topic : plan())
        topics.append({topic.name, topic.partitions});
    // A topic an earlier run seeded keeps its records; seeding it again would double them.
    const QSet<QString> created = seeder.createTopics(topics);
    all.removeIf(
        [&created](const testing::MockKafkaCluster::Placed& placed) { return !created.contains(placed.topic); });
    seeder.produceAll(all);
}

Broker DemoKafka::broker() const
{
    Broker broker;
    broker.id = m_id;
    broker.name = QStringLiteral("Demo Kafka");
    broker.kind = BrokerKind::kafka;
    broker.bootstrap = m_bootstrap;
    broker.security = BrokerSecurity::plaintext;
    broker.saslMechanism = QStringLiteral("PLAIN");
    broker.isFavorite = true;
    broker.schemaRegistryURL = registryURL();
    return broker;
}

QString DemoKafka::bootstrap() const { return m_bootstrap; }

QString DemoKafka::registryURL() const { return QStringLiteral("http://") + m_registry->address(); }

} // namespace tessaron::demo
