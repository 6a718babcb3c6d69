// From nothing to the newest messages of a topic, as one process: start, connect, read, exit.
// bench_session's fromNothing times it against kcat doing the same.
//
//   bench_newest_from_nothing session|client BOOTSTRAP TOPIC
//
// `session` goes the application's road (connect as the application does, which lists the topics
// with their watermarks and the groups, then read the newest 100); `client` asks the Kafka client
// alone for the topic's partitions and the newest 8 of each. Prints the messages read.
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/kafka/KafkaClient.h"

#include "support/SyncWait.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QUuid>

#include <cstdio>

using namespace tessaron;
using testing::syncWait;

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    // Preferences go to a throwaway folder, never the user's own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    const QString mode = QString::fromUtf8(argv[1]);
    const QString topicName = QString::fromUtf8(argv[3]);
    Broker broker;
    broker.id = QUuid::createUuid();
    broker.name = QStringLiteral("cold");
    broker.kind = BrokerKind::kafka;
    broker.bootstrap = QString::fromUtf8(argv[2]);
    broker.security = BrokerSecurity::plaintext;
    broker.saslMechanism = QStringLiteral("PLAIN");

    qsizetype read = 0;
    if (mode == QLatin1String("session")) {
        BrokerSession session(broker, std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        session.setSelectedTopic(topicName);
        syncWait(session.read(BrokerSession::Position::atTail(), 100, false));
        read = session.messages().size();
    } else {
        KafkaClient client(broker, std::nullopt, std::nullopt, 10000);
        const QList<Topic> topics = syncWait(client.topics(10000));
        for (const Topic& topic : topics) {
            if (topic.name != topicName)
                continue;
            const qsizetype share = std::max<qsizetype>(1, 100 / std::max<qsizetype>(1, topic.partitions.size()));
            QList<KafkaReading::PartitionStart> starts;
            for (const Partition& partition : topic.partitions)
                starts.append({partition.id, KafkaClient::StartPosition::atTail(share)});
            for (const KafkaReading::PartitionPage& answer : syncWait(client.pages(topicName, starts, share, 10000)))
                read += answer.page ? answer.page->messages.size() : 0;
        }
    }
    std::printf("%lld\n", static_cast<long long>(read));
    return read > 0 ? 0 : 1;
}
