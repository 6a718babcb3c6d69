#include "support/Keyring.h"
#include "support/SessionFakes.h"

#include "Tessaron/reception/BrokerFormLogic.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/storage/AppSupport.h"
#include "VelkinInfra/keychain/Keychain.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace tessaron;
using namespace tessaron::fakes;

class TestBrokerFormLogic : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakeFactory> m_clients;

private slots:
    void init()
    {
        QFile::remove(AppSupport::url(AppState::brokersFileName));
        m_clients = std::make_shared<FakeFactory>();
    }

    void assemblesTrimmedFieldsOntoTheOriginal()
    {
        Broker original = kafkaBroker("orders");
        original.isFavorite = true;
        BrokerFormLogic form(original, false);
        form.setName("  Orders \t");
        form.setBootstrap("\tb1:9092,b2:9092 ");
        form.setUsername(" svc ");
        form.setCaPath(" /etc/ca.pem ");
        form.setClientCertPath("\t/c.pem");
        form.setClientKeyPath("/k.pem ");
        form.setMechanism(" SCRAM-SHA-256");
        form.setRegistryURL(" http://registry:8081 ");
        form.setRegistryUsername(" reg ");
        form.setVhost(" /staging ");
        form.setSecurity(BrokerSecurity::ssl);

        Broker b = form.assembledBroker();
        QCOMPARE(b.id, original.id);
        QVERIFY(b.isFavorite);
        QCOMPARE(b.name, QString("Orders"));
        QCOMPARE(b.bootstrap, QString("b1:9092,b2:9092"));
        QCOMPARE(b.username, QString("svc"));
        QCOMPARE(b.caPath, QString("/etc/ca.pem"));
        QCOMPARE(b.clientCertPath, QString("/c.pem"));
        QCOMPARE(b.clientKeyPath, QString("/k.pem"));
        QCOMPARE(b.saslMechanism, QString(" SCRAM-SHA-256")); // chosen, never typed: kept as it is
        QCOMPARE(b.schemaRegistryURL, QString("http://registry:8081"));
        QCOMPARE(b.schemaRegistryUsername, QString("reg"));
        QCOMPARE(b.vhost, QString("/staging")); // hidden on Kafka, kept all the same
        QCOMPARE(b.security, BrokerSecurity(BrokerSecurity::ssl));

        // RabbitMQ has no registry, whatever the hidden fields still hold; back on Kafka they return.
        form.setKind(BrokerKind::rabbitmq);
        b = form.assembledBroker();
        QVERIFY(b.schemaRegistryURL.isEmpty());
        QVERIFY(b.schemaRegistryUsername.isEmpty());
        form.setKind(BrokerKind::kafka);
        QCOMPARE(form.assembledBroker().schemaRegistryURL, QString("http://registry:8081"));
        // Passwords are never part of the broker.
        form.setPassword("secret");
        QVERIFY(!QString(QJsonDocument(form.assembledBroker().toJson()).toJson()).contains("secret"));
    }

    void canSaveNeedsANameAnAddressAndForSaslAUser()
    {
        Broker blank = kafkaBroker("");
        blank.bootstrap.clear();
        BrokerFormLogic form(blank, true);
        QVERIFY(!form.canSave());
        form.setName(" \t ");
        form.setBootstrap("localhost:9092");
        QVERIFY(!form.canSave()); // spaces are no name
        form.setName("\n");
        QVERIFY(form.canSave()); // a line break is not trimmed
        form.setName("orders");
        form.setBootstrap("   ");
        QVERIFY(!form.canSave());
        form.setBootstrap("localhost:9092");

        form.setSecurity(BrokerSecurity::saslSSL);
        QVERIFY(!form.canSave());
        form.setUsername("  ");
        QVERIFY(!form.canSave());
        form.setUsername("svc");
        QVERIFY(form.canSave()); // a password is never required
        form.setUsername("");
        form.setSecurity(BrokerSecurity::plaintext);
        QVERIFY(form.canSave());
        // Nothing else is checked: not the address, not the files.
        form.setBootstrap("not an address");
        form.setCaPath("/does/not/exist.pem");
        QVERIFY(form.canSave());
    }

    void secretsAreStoredOnlyOnceEdited()
    {
        BrokerFormLogic form(securedBroker("orders", BrokerSecurity::saslSSL), false);
        QVERIFY(!form.passwordToStore());
        QVERIFY(!form.registryPasswordToStore());
        QVERIFY(!form.keyPassphraseToStore());
        form.setPassword("typed");
        form.setPassword("");
        QCOMPARE(form.passwordToStore(), std::optional<QString>("")); // edited to empty: removes
        form.setRegistryPassword("r");
        QCOMPARE(form.registryPasswordToStore(), std::optional<QString>("r"));
        form.setKeyPassphrase("k");
        form.setKeyPassphrase("");
        QCOMPARE(form.keyPassphraseToStore(), std::optional<QString>(""));
    }

    void aTestTakesTheStoredPasswordFromTheKeyringQueue()
    {
        REQUIRE_KEYRING();
        m_clients->kafka->listed = QList<Topic>();
        AppState app(m_clients);
        // Not edited, saved with credentials: the stored password, read on the state's keyring
        // queue while the window's event loop runs on.
        const Broker sasl = securedBroker("orders", BrokerSecurity::saslPlaintext);
        QVERIFY(!syncWait(app.save(sasl, QString("stored"))));
        BrokerFormLogic editing(sasl, false);
        QCoro::Task<> test = editing.runTest(&app);
        QVERIFY(editing.testing());
        QVERIFY(!test.isReady());
        syncWait(std::move(test));
        QCOMPARE(m_clients->lastPassword, std::optional<QString>("stored"));
        // Edited, even to empty: what was typed.
        editing.setPassword("x");
        editing.setPassword("");
        syncWait(editing.runTest(&app));
        QCOMPARE(m_clients->lastPassword, std::optional<QString>(""));

        // Saved without credentials and switched to SASL without typing one: no password.
        const Broker plain = securedBroker("plain", BrokerSecurity::plaintext);
        Keychain(AppState::keychainService).set("left over", AppState::passwordAccount(plain.id));
        BrokerFormLogic switching(plain, false);
        switching.setSecurity(BrokerSecurity::saslSSL);
        switching.setUsername("svc");
        syncWait(switching.runTest(&app));
        QVERIFY(switching.testResult());
        QVERIFY(!m_clients->lastPassword);
        Keychain(AppState::keychainService).remove(AppState::passwordAccount(plain.id));
        app.remove(sasl);
    }

    void sectionsFollowKindAndSecurity()
    {
        BrokerFormLogic form(securedBroker("orders", BrokerSecurity::plaintext), true);
        QVERIFY(!form.showsTLS());
        QVERIFY(!form.showsCredentials());
        QVERIFY(form.showsRegistryCard());
        QVERIFY(!form.showsVirtualHost());

        form.setSecurity(BrokerSecurity::saslSSL);
        QVERIFY(form.showsTLS());
        QVERIFY(form.showsCredentials());
        QVERIFY(form.showsMechanism());
        form.setKind(BrokerKind::rabbitmq);
        QVERIFY(!form.showsMechanism());
        QVERIFY(!form.showsRegistryCard());
        QVERIFY(form.showsVirtualHost());
        // Without credentials RabbitMQ is signed in to as guest, and the form says so.
        form.setUsername("ana");
        for (BrokerSecurity security : {BrokerSecurity::plaintext, BrokerSecurity::ssl}) {
            form.setSecurity(security);
            QVERIFY2(form.securitySentence().contains("guest/guest"), qPrintable(form.securitySentence()));
            QVERIFY(form.assembledBroker().username.isEmpty());
        }
        form.setSecurity(BrokerSecurity::saslSSL);
        QVERIFY(!form.securitySentence().contains("guest"));
        QCOMPARE(form.assembledBroker().username, QString("ana"));
        form.setKind(BrokerKind::sqs); // undeclared kinds read as Kafka
        QVERIFY(form.showsRegistryCard());
        QVERIFY(form.showsMechanism());

        // The client certificate: both or neither; the passphrase only with both, under TLS.
        QVERIFY(!form.showsBothOrNeither());
        QVERIFY(!form.showsKeyPassphrase());
        form.setClientCertPath("/c.pem");
        QVERIFY(form.showsBothOrNeither());
        QVERIFY(!form.showsKeyPassphrase());
        form.setClientKeyPath("/k.pem");
        QVERIFY(!form.showsBothOrNeither());
        QVERIFY(form.showsKeyPassphrase());
        form.setSecurity(BrokerSecurity::saslPlaintext);
        QVERIFY(!form.showsKeyPassphrase());
        form.setSecurity(BrokerSecurity::ssl);
        form.clearClientCertificate();
        QVERIFY(!form.showsKeyPassphrase());
        QVERIFY(!form.showsClientClear());

        // The registry: a typed address names it; only a non-blank one asks for a login, and the
        // registry password waits for a user name (spaces count as one here).
        form.setRegistryURL("   ");
        QVERIFY(form.registryNamed());
        QVERIFY(!form.showsRegistryLogin());
        QVERIFY(form.assembledBroker().schemaRegistryURL.isEmpty());
        form.setRegistryURL("http://r:8081");
        QVERIFY(form.showsRegistryLogin());
        QVERIFY(!form.registryPasswordEnabled());
        form.setRegistryUsername(" ");
        QVERIFY(form.registryPasswordEnabled());
        QVERIFY(form.assembledBroker().schemaRegistryUsername.isEmpty());
    }

    void aTestAnswersAndSlamsEachTime()
    {
        m_clients->kafka->listed = QList<Topic>{topic("orders"), topic("payments"), topic("__consumer_offsets")};
        AppState app(m_clients);
        BrokerFormLogic form(securedBroker("orders", BrokerSecurity::plaintext), false);
        QSignalSpy changes(&form, &BrokerFormLogic::testChanged);
        syncWait(form.runTest(&app));
        QVERIFY(!form.testing());
        QCOMPARE(form.testResult(), std::optional(AppState::TestResult::answered(2)));
        QCOMPARE(form.stampStrikes(), 1);
        syncWait(form.runTest(&app));
        QCOMPARE(form.stampStrikes(), 2); // the same answer slams again
        QVERIFY(changes.count() >= 4);

        m_clients->kafka->topicsError = KafkaError(-195, "broker transport failure");
        syncWait(form.runTest(&app));
        QCOMPARE(form.testResult(), std::optional(AppState::TestResult::refused("broker transport failure")));
        QCOMPARE(form.stampStrikes(), 3);
    }

    void aRefusedConnectionAnswersTheTestAtOnce()
    {
        // A loopback port bound without listening refuses every connection, and nobody else can
        // take it meanwhile.
        const int refusing = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QCOMPARE(::bind(refusing, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        QCOMPARE(::getsockname(refusing, reinterpret_cast<sockaddr*>(&address), &length), 0);
        Broker nobody = securedBroker("nobody", BrokerSecurity::plaintext);
        nobody.bootstrap = "127.0.0.1:" + QString::number(ntohs(address.sin_port));

        AppState app(ClientFactory::live());
        BrokerFormLogic form(nobody, false);
        QElapsedTimer clock;
        clock.start();
        syncWait(form.runTest(&app));
        const qint64 ms = clock.elapsed();
        ::close(refusing);
        // The library would wait out the whole test time-out (8 s) for a broker that refused; the
        // refusal is taken after a grace of 1 s, in case the name has another address.
        QVERIFY2(ms < 2000, qPrintable(QString::number(ms)));
        QVERIFY(form.testResult() && !form.testResult()->isAnswered());
        QVERIFY2(form.testResult()->reason().startsWith("listing topics: nothing accepts connections at that address"),
                 qPrintable(form.testResult()->reason()));
    }

    void aTestUsesTheTypedPassphrase()
    {
        m_clients->kafka->listed = QList<Topic>();
        AppState app(m_clients);
        Broker tls = securedBroker("orders", BrokerSecurity::ssl);
        tls.clientCertPath = "/c.pem";
        tls.clientKeyPath = "/k.pem";
        BrokerFormLogic form(tls, false);
        form.setKeyPassphrase("open sesame");
        syncWait(form.runTest(&app));
        QCOMPARE(m_clients->lastClientKey, std::optional<QString>("open sesame"));
        form.setKeyPassphrase("");
        syncWait(form.runTest(&app));
        QVERIFY(!m_clients->lastClientKey); // emptied: none
    }

    void anAnswerAboutEditedValuesIsDropped()
    {
        m_clients->kafka->listed = QList<Topic>{topic("orders")};
        AppState app(m_clients);
        BrokerFormLogic form(securedBroker("orders", BrokerSecurity::plaintext), false);
        std::shared_ptr<Gate> gate = m_clients->kafka->gates.hold("topics");
        QCoro::Task<> test = form.runTest(&app);
        QVERIFY(form.testing());
        form.setBootstrap("elsewhere:9092");
        gate->release();
        syncWait(std::move(test));
        QVERIFY(!form.testing());
        QVERIFY(!form.testResult());
        QCOMPARE(form.stampStrikes(), 0);

        // Editing something the test does not use keeps the answer.
        m_clients->kafka->gates = Gates();
        gate = m_clients->kafka->gates.hold("topics");
        QCoro::Task<> second = form.runTest(&app);
        form.setRegistryPassword("irrelevant");
        gate->release();
        syncWait(std::move(second));
        QVERIFY(form.testResult());
    }

    void anAbandonedOrDestroyedFormHearsNothing()
    {
        m_clients->kafka->listed = QList<Topic>{topic("orders")};
        AppState app(m_clients);
        auto form = std::make_unique<BrokerFormLogic>(securedBroker("orders", BrokerSecurity::plaintext), false);
        std::shared_ptr<Gate> gate = m_clients->kafka->gates.hold("topics");
        QCoro::Task<> test = form->runTest(&app);
        form->abandonTest();
        QVERIFY(!form->testing());
        gate->release();
        syncWait(std::move(test));
        QVERIFY(!form->testResult());

        m_clients->kafka->gates = Gates();
        gate = m_clients->kafka->gates.hold("topics");
        QCoro::Task<> orphan = form->runTest(&app);
        form.reset();
        gate->release();
        syncWait(std::move(orphan)); // must not touch the destroyed form
    }

    void aFailedSaveKeepsTheRefusalUntilASaveSucceeds()
    {
        const QString path = AppSupport::url(AppState::brokersFileName);
        AppState app(m_clients);
        const Broker fresh = kafkaBroker("fresh");
        app.setEditing(fresh);
        BrokerFormLogic form(fresh, true);
        // A folder where the file should be: the write fails whoever runs the test.
        QVERIFY(QDir().mkpath(path));
        QVERIFY(!syncWait(form.save(&app)));
        QVERIFY(form.refusal());
        QVERIFY(form.refusal()->contains("brokers.json"));
        QVERIFY(app.editing());            // still open
        QCOMPARE(app.brokers().size(), 1); // only the default broker
        QVERIFY(QDir(path).removeRecursively());
        QVERIFY(syncWait(form.save(&app)));
        QVERIFY(!form.refusal());
        QVERIFY(!app.editing());
        QCOMPARE(app.brokers().last().name, QString("fresh"));
    }
};

TESSARON_KEYRING_TEST_MAIN(QCoreApplication, TestBrokerFormLogic)

#include "tst_BrokerFormLogic.moc"
