// Connection tests and sessions that sign in to a real broker. Skipped unless
// scripts/services/kafka.service.sh started one.
#include "support/LiveKafka.h"
#include "support/SyncWait.h"

#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/storage/AppSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

using namespace tessaron;
using namespace tessaron::testing;

namespace {

QString env(const char* name) { return qEnvironmentVariable(name); }

Broker signingIn(const QString& user)
{
    Broker broker = LiveKafka(env("TESSARON_TEST_KAFKA_SASL_BOOTSTRAP").toUtf8()).broker();
    broker.security = BrokerSecurity::saslPlaintext;
    broker.saslMechanism = QStringLiteral("SCRAM-SHA-256");
    broker.username = user;
    return broker;
}

} // namespace

class TestSessionSecuredLive : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (env("TESSARON_TEST_KAFKA_SASL_BOOTSTRAP").isEmpty())
            QSKIP("the broker's SASL listener is not named (scripts/services/kafka.service.sh names it)");
        LiveKafka live(LiveKafka::bootstrapFromEnvironment());
        live.createTopic(env("TESSARON_TEST_KAFKA_READER_TOPIC"), 1, {});
        live.createTopic(env("TESSARON_TEST_KAFKA_GLIMPSE_TOPIC"), 1, {{0, "not for the reader"}});
        QFile::remove(AppSupport::url(AppState::brokersFileName));
    }

    void aWrongPasswordIsNamedAndNothingIsKept()
    {
        AppState app;
        const QList<Broker> before = app.brokers();
        const AppState::TestResult result =
            syncWait(app.test(signingIn(env("TESSARON_TEST_KAFKA_ADMIN_USER")), QStringLiteral("not-the-password")));
        QVERIFY(!result.isAnswered());
        QVERIFY2(result.reason().startsWith("listing topics: the broker refused the user name or password"),
                 qPrintable(result.reason()));
        QCOMPARE(app.brokers(), before);
        QVERIFY(!QFile::exists(AppSupport::url(AppState::brokersFileName)));
    }

    void anAdministratorsListingsAreWhole()
    {
        BrokerSession session(signingIn(env("TESSARON_TEST_KAFKA_ADMIN_USER")),
                              env("TESSARON_TEST_KAFKA_ADMIN_PASSWORD"), std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        QVERIFY(session.topicsListed());
        QVERIFY(!session.listingsFiltered());
    }

    void aRestrictedUserKeepsItsConnection()
    {
        // Its listings are what its ACLs let it describe; a group it may not describe is the broker's
        // refusal, not a lost connection.
        BrokerSession session(signingIn(env("TESSARON_TEST_KAFKA_READER_USER")),
                              env("TESSARON_TEST_KAFKA_READER_PASSWORD"), std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        QVERIFY(!session.connectionError());
        QVERIFY2(!session.lostConnection(), qPrintable(session.lostConnection().value_or(QString())));
        QStringList names;
        for (const Topic& topic : session.topics())
            names << topic.name;
        names.sort();
        QCOMPARE(names,
                 (QStringList{env("TESSARON_TEST_KAFKA_GLIMPSE_TOPIC"), env("TESSARON_TEST_KAFKA_READER_TOPIC")}));
        // The broker lists only what the user may describe and says nothing of the rest: a
        // filtered listing, never a lost connection, and the session knows it is filtered.
        QVERIFY(!session.lostConnection());
        QVERIFY(session.listingsFiltered());

        // A topic it may see but not read: refused, and said so, not "nothing came back".
        session.setSelectedTopic(env("TESSARON_TEST_KAFKA_GLIMPSE_TOPIC"));
        syncWait(session.readLatest());
        QVERIFY(session.messages().isEmpty());
        QVERIFY(!session.lostConnection());
        QVERIFY(session.readRefused());
        // The topic it may read is read as any other.
        session.setSelectedTopic(env("TESSARON_TEST_KAFKA_READER_TOPIC"));
        syncWait(session.readLatest());
        QVERIFY(!session.readRefused());

        session.setSelectedGroup(QStringLiteral("tessaron-secured-group"));
        syncWait(session.loadGroupDetail());
        QVERIFY(!session.lostConnection());
        QVERIFY2(session.groupFailure() && session.groupFailure()->contains("authorization", Qt::CaseInsensitive),
                 qPrintable(session.groupFailure().value_or(QString())));
    }
};

QTEST_GUILESS_MAIN(TestSessionSecuredLive)
#include "tst_SessionSecuredLive.moc"
