// tessaron-demo-brokers [--profile DIR] [--kafka HOST:PORT] [--rabbitmq URL] [--vhost NAME]
//
// Seeds the demo Kafka topics into the broker at HOST:PORT (plaintext) when given, else into
// librdkafka's mock cluster started on loopback, and starts their Schema Registry on loopback. On
// a real broker it also forms consumer groups: "order-fulfilment", one member reading "orders"
// slowly while this process adds an order every second, so its lag grows; "billing-reconciler",
// idle with committed positions; "legacy-reporting", whose topic was deleted after it committed.
// Seeds the RabbitMQ node whose management API is at URL (when given), writes a profile naming
// these brokers into DIR (a new temporary folder when none is given, removed again at the end),
// prints the profile folder on the first line of its output, and keeps everything up until SIGINT
// or SIGTERM. scripts/demo runs it.
#include "DemoKafka.h"
#include "DemoProfile.h"
#include "DemoRabbit.h"

#include "support/SyncWait.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

using namespace tessaron;

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void say(const QString& line) { std::fprintf(stderr, "%s\n", qPrintable(line)); }

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription("Demo brokers on loopback and a profile naming them.");
    options.addHelpOption();
    options.addOption({"profile", "Write the profile into <dir> (default: a new temporary folder).", "dir"});
    options.addOption(
        {"kafka", "Seed the Kafka broker at <host:port> instead of starting the mock cluster.", "host:port"});
    options.addOption({"rabbitmq", "Seed the RabbitMQ node whose management API is at <url>.", "url"});
    options.addOption({"vhost", "The RabbitMQ virtual host to seed (default: /).", "name", "/"});
    options.process(app);

    // Once everything runs, SIGINT and SIGTERM quit the event loop, so the consumers close and a
    // temporary profile is removed.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        say("tessaron-demo-brokers: could not set up signal handling");
        return 1;
    }
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });

    std::optional<QTemporaryDir> scratch;
    QString folder = options.value("profile");
    if (folder.isEmpty()) {
        scratch.emplace(QDir::tempPath() + "/tessaron-demo-XXXXXX");
        if (!scratch->isValid()) {
            say("tessaron-demo-brokers: could not create a temporary profile folder");
            return 1;
        }
        folder = scratch->path();
    }
    folder = QDir(folder).absolutePath();

    std::optional<QString> kafkaAt;
    if (options.isSet("kafka"))
        kafkaAt = options.value("kafka");
    std::unique_ptr<demo::DemoKafka> kafka;
    try {
        kafka = std::make_unique<demo::DemoKafka>(kafkaAt);
    } catch (const std::exception& e) {
        say(kafkaAt ? QString("tessaron-demo-brokers: could not seed Kafka at %1: %2")
                          .arg(*kafkaAt, QString::fromUtf8(e.what()))
                    : QString("tessaron-demo-brokers: the demo Kafka cluster did not start: %1").arg(e.what()));
        return 1;
    }
    QList<Broker> brokers = {kafka->broker()};

    std::unique_ptr<demo::DemoRabbit> rabbit;
    if (options.isSet("rabbitmq")) {
        try {
            rabbit = testing::syncWait(demo::DemoRabbit::seed(options.value("rabbitmq"), options.value("vhost")));
            brokers.append(rabbit->broker());
        } catch (const std::exception& e) {
            say(QString("tessaron-demo-brokers: could not seed RabbitMQ at %1: %2")
                    .arg(options.value("rabbitmq"), QString::fromUtf8(e.what())));
            return 1;
        }
    }

    if (const std::optional<QString> refused = demo::DemoProfile::write(folder, brokers)) {
        say("tessaron-demo-brokers: " + *refused);
        return 1;
    }

    // Caught only from here on: while seeding, a signal ends the process at once, as it should.
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    std::printf("%s\n", qPrintable(folder));
    std::fflush(stdout);
    say("Demo Kafka: " + kafka->bootstrap() + " (Schema Registry " + kafka->registryURL() + ")");
    if (rabbit)
        say("Demo RabbitMQ: " + options.value("rabbitmq") + " (virtual host " + rabbit->vhost() + ")");
    say("Profile: " + folder + " — stop with Ctrl+C.");

    const int status = app.exec();
    rabbit.reset();
    kafka.reset();
    return status;
}
