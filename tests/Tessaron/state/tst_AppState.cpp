#include "support/Keyring.h"
#include "support/SessionFakes.h"

#include "Tessaron/state/AppState.h"
#include "TessaronCore/storage/AppSupport.h"
#include "VelkinInfra/keychain/Keychain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMetaProperty>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace tessaron;
using testing::keyringReachable;
using namespace tessaron::fakes;

namespace { } // namespace

class TestAppState : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakeFactory> m_clients;

    static QString brokersPath() { return AppSupport::url(AppState::brokersFileName); }

private slots:
    void init()
    {
        QFile::remove(brokersPath());
        QDir(brokersPath()).removeRecursively();
        m_clients = std::make_shared<FakeFactory>();
        m_clients->kafka->listed = QList<Topic>();
    }

    // Every change signal of the published state belongs to a readable property, so a binding
    // (and anything else going by the meta-object) sees every published value.
    void everyPublishedValueIsAProperty()
    {
        for (const QMetaObject* meta : {&AppState::staticMetaObject, &BrokerSession::staticMetaObject}) {
            QSet<QByteArray> notifying;
            for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
                const QMetaProperty property = meta->property(i);
                QVERIFY2(property.isReadable() && property.hasNotifySignal(), property.name());
                QCOMPARE(property.notifySignal().name(), QByteArray(property.name()) + "Changed");
                notifying.insert(property.notifySignal().name());
            }
            for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
                const QMetaMethod method = meta->method(i);
                if (method.methodType() == QMetaMethod::Signal && method.name().endsWith("Changed"))
                    QVERIFY2(notifying.contains(method.name()), method.name().constData());
            }
        }
    }

    void startsFromTheFileOrTheDefaultBroker()
    {
        AppState fresh(m_clients);
        QCOMPARE(fresh.brokers().size(), 1);
        const Broker local = fresh.brokers().first();
        QCOMPARE(local.name, QString("Local"));
        QCOMPARE(local.kind, BrokerKind(BrokerKind::kafka));
        QCOMPARE(local.bootstrap, QString("localhost:19092"));
        QCOMPARE(local.saslMechanism, QString("PLAIN"));
        QVERIFY(!QFile::exists(brokersPath())); // not written until something changes

        QFile file(brokersPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[]");
        file.close();
        AppState empty(m_clients);
        QVERIFY(empty.brokers().isEmpty());
    }

    void savingKeepsPlacesAndReportsAFileThatCannotBeWritten()
    {
        AppState state(m_clients);
        Broker a = kafkaBroker("a"), b = kafkaBroker("b");
        QVERIFY(!syncWait(state.save(a, std::nullopt)));
        QVERIFY(!syncWait(state.save(b, std::nullopt)));
        a.name = "a2";
        state.setEditing(a);
        QSignalSpy brokersChanged(&state, &AppState::brokersChanged);
        QVERIFY(!syncWait(state.save(a, std::nullopt)));
        QCOMPARE(brokersChanged.count(), 1);
        QVERIFY(!state.editing());
        QCOMPARE(namesOf(state.brokers()), (QStringList{"Local", "a2", "b"}));
        QCOMPARE(namesOf(AppState(m_clients).brokers()), (QStringList{"Local", "a2", "b"}));

        state.toggleFavorite(b.id);
        QCOMPARE(namesOf(state.brokersFavoritesFirst()), (QStringList{"b", "Local", "a2"}));
        QVERIFY(AppState(m_clients).brokers().last().isFavorite);

        // The file cannot be written: the caller hears it, and nothing pretends to be on file.
        QFile::remove(brokersPath());
        QVERIFY(QDir().mkpath(brokersPath()));
        state.setEditing(b);
        const std::optional<QString> failure = syncWait(state.save(kafkaBroker("c"), std::nullopt));
        QVERIFY(failure);
        QVERIFY(failure->contains("brokers.json"));
        QCOMPARE(namesOf(state.brokers()), (QStringList{"Local", "a2", "b"}));
        QVERIFY(state.editing());
    }

    void openingSelectingAndClosingTabs()
    {
        AppState state(m_clients);
        const Broker a = kafkaBroker("a"), b = kafkaBroker("b"), c = kafkaBroker("c");
        state.setShowingPicker(true);
        state.open(a);
        QCOMPARE(state.sessions().size(), 1);
        QCOMPARE(state.selected(), std::optional<QUuid>(a.id));
        QVERIFY(!state.showingPicker());
        QTRY_VERIFY(m_clients->kafka->calls.contains("topics")); // the connect started
        state.open(b);
        state.open(c);
        // Each connects once its secrets are read off the main thread.
        QTRY_VERIFY(!state.sessions()[1]->isConnecting() && !state.sessions()[2]->isConnecting());
        m_clients->kafka->calls.clear();
        state.setShowingPicker(true);
        state.open(a);
        QCOMPARE(state.sessions().size(), 3);
        QCOMPARE(state.activeSession()->broker().name, QString("a"));
        QVERIFY(!state.showingPicker());
        QVERIFY(m_clients->kafka->calls.isEmpty()); // no reconnect

        state.open(b);
        state.close(b.id);
        QCOMPARE(state.selected(), std::optional<QUuid>(c.id));
        QPointer<BrokerSession> closing = state.sessions().first();
        state.close(a.id);
        QCOMPARE(state.selected(), std::optional<QUuid>(c.id));
        QTRY_VERIFY(!closing);
        state.setShowingPicker(true);
        state.close(c.id);
        QVERIFY(state.sessions().isEmpty());
        QVERIFY(!state.selected());
        QVERIFY(!state.showingPicker());
        QVERIFY(!state.activeSession());
    }

    void connectionTests()
    {
        AppState state(m_clients);
        m_clients->kafka->listed = QList<Topic>{topic("__consumer_offsets"), topic("_schemas")};
        QCOMPARE(syncWait(state.test(kafkaBroker(), QString("pw"))), AppState::TestResult::answered(0));
        QCOMPARE(m_clients->lastPassword, std::optional<QString>("pw"));
        m_clients->kafka->listed = QList<Topic>{topic("orders"), topic("__consumer_offsets")};
        QCOMPARE(syncWait(state.test(kafkaBroker(), std::nullopt)), AppState::TestResult::answered(1));
        m_clients->kafka->topicsError = KafkaError(-195, "listing topics: transport failure");
        QCOMPARE(syncWait(state.test(kafkaBroker(), std::nullopt)),
                 AppState::TestResult::refused("listing topics: transport failure"));
        m_clients->makeError = KafkaError(-1, "ssl.ca.location: no such file");
        QCOMPARE(syncWait(state.test(kafkaBroker(), std::nullopt)),
                 AppState::TestResult::refused("ssl.ca.location: no such file"));
        m_clients->makeError.reset();
        const Broker rabbit = rabbitBroker();
        m_clients->rabbit = std::make_shared<FakeRabbit>(rabbit);
        m_clients->rabbit->listing = {{topic("jobs"), topic("amq.gen")}, {}};
        m_clients->rabbit->listing.queues[1].isInternal = true;
        QCOMPARE(syncWait(state.test(rabbit, std::nullopt)), AppState::TestResult::answered(1));
    }

    void actionIdentifiers()
    {
        QCOMPARE(AppState::Action::makeProduce(std::nullopt).id(), QString("produce-new"));
        QCOMPARE(AppState::Action::makeProduce(message("orders", 3, 1042, 1)).id(), QString("produce-orders/3/1042"));
        QCOMPARE(AppState::Action::makeResetOffsets({"billing", "Empty", false}, std::nullopt).id(),
                 QString("reset-billing-"));
        QCOMPARE(AppState::Action::makeResetOffsets({"billing", "Empty", false}, topic("orders")).id(),
                 QString("reset-billing-orders"));
        QCOMPARE(AppState::Action::makeAsk().id(), QString("ask"));
        AppState state(m_clients);
        QSignalSpy changed(&state, &AppState::actionChanged);
        state.setAction(AppState::Action::makeAsk());
        state.setAction(AppState::Action::makeAsk());
        QCOMPARE(changed.count(), 1);
    }

    void secretsLiveInTheKeyringUnderTheBrokersAccounts()
    {
        REQUIRE_KEYRING();
        Keychain keyring(AppState::keychainService);
        AppState state(m_clients);
        Broker sasl = securedBroker("sasl");
        const QString account = sasl.id.toString(QUuid::WithoutBraces).toUpper();
        QCOMPARE(AppState::passwordAccount(sasl.id), account);
        QVERIFY(!syncWait(state.save(sasl, QString("s3cret"))));
        QCOMPARE(keyring.get(account), std::optional<QString>("s3cret"));
        QVERIFY(!syncWait(state.save(sasl, std::nullopt))); // the form did not change it
        QCOMPARE(keyring.get(account), std::optional<QString>("s3cret"));

        state.open(sasl);
        QTRY_COMPARE(m_clients->lastPassword, std::optional<QString>("s3cret"));
        state.close(sasl.id);

        QVERIFY(!syncWait(state.save(sasl, QString(""))));
        QVERIFY(!keyring.get(account));
        QVERIFY(!syncWait(state.save(sasl, QString("again"))));
        sasl.security = BrokerSecurity::plaintext;
        QVERIFY(!syncWait(state.save(sasl, QString("ignored"))));
        QVERIFY(!keyring.get(account));

        // The registry password needs an address and a user name.
        sasl.schemaRegistryURL = "   ";
        sasl.schemaRegistryUsername = "reg";
        keyring.set("stored", account + ".registry");
        QVERIFY(!syncWait(state.registryPassword(sasl)));
        sasl.schemaRegistryURL = "http://registry:8081";
        QCOMPARE(syncWait(state.registryPassword(sasl)), std::optional<QString>("stored"));
        QVERIFY(!syncWait(state.save(sasl, std::nullopt, std::nullopt, std::nullopt)));
        QCOMPARE(keyring.get(account + ".registry"), std::optional<QString>("stored"));
        QVERIFY(!syncWait(state.save(sasl, std::nullopt, std::nullopt, QString("new"))));
        QCOMPARE(syncWait(state.registryPassword(sasl)), std::optional<QString>("new"));
        sasl.schemaRegistryUsername = "";
        QVERIFY(!syncWait(state.registryPassword(sasl)));

        // Forgetting a broker closes its tab first and deletes all three secrets.
        sasl.security = BrokerSecurity::saslSSL;
        QVERIFY(!syncWait(state.save(sasl, QString("pw"))));
        keyring.set("key pass", account + ".clientkey");
        state.open(sasl);
        state.remove(sasl);
        QVERIFY(state.sessions().isEmpty());
        // The keyring worker deletes them one after another.
        QTRY_VERIFY(!keyring.get(account));
        QTRY_VERIFY(!keyring.get(account + ".clientkey"));
        QTRY_VERIFY(!keyring.get(account + ".registry"));
        QCOMPARE(namesOf(AppState(m_clients).brokers()), QStringList{"Local"});
    }

    void keyringWorkNeverHoldsTheWindow()
    {
        REQUIRE_KEYRING();
        AppState state(m_clients);
        const Broker sasl = securedBroker("sasl");
        // The keyring answers on its own queue: the call returns before the password is stored,
        // and the window's event loop runs meanwhile.
        auto saving = state.save(sasl, QString("s3cret"));
        QVERIFY(!saving.isReady());
        QCOMPARE(namesOf(state.brokers()).last(), QString("sasl")); // on file already
        QVERIFY(!syncWait(std::move(saving)));

        state.open(sasl);
        BrokerSession* session = state.sessions().last();
        QVERIFY(session->isConnecting());
        QVERIFY(!m_clients->lastPassword);
        QTRY_COMPARE(m_clients->lastPassword, std::optional<QString>("s3cret"));
        QTRY_VERIFY(!session->isConnecting());

        // Closed before the keyring answered: the session never connects.
        state.close(sasl.id);
        m_clients->kafka->calls.clear();
        state.open(sasl);
        state.close(sasl.id);
        QTest::qWait(200);
        QVERIFY(!m_clients->kafka->calls.contains("topics"));
        QCOMPARE(AppState::keyringCallLimit, std::chrono::milliseconds(std::chrono::minutes(5)));
    }

    void aRefusedWriteForgetsNothing()
    {
        REQUIRE_KEYRING();
        Keychain keyring(AppState::keychainService);
        AppState state(m_clients);
        const Broker sasl = securedBroker("sasl");
        const QString account = AppState::passwordAccount(sasl.id);
        QVERIFY(!syncWait(state.save(sasl, QString("s3cret"))));
        state.open(sasl);
        QTRY_VERIFY(!state.sessions().last()->isConnecting());

        // The data folder refuses the write: the broker stays listed, open and with its password,
        // as it would be after a restart.
        QFile::remove(brokersPath());
        QVERIFY(QDir().mkpath(brokersPath()));
        const std::optional<QString> removal = state.remove(sasl);
        QVERIFY(removal);
        QVERIFY(removal->contains("brokers.json"));
        QCOMPARE(namesOf(state.brokers()), (QStringList{"Local", "sasl"}));
        QCOMPARE(state.sessions().size(), 1);
        QCOMPARE(keyring.get(account), std::optional<QString>("s3cret"));

        QSignalSpy changed(&state, &AppState::brokersChanged);
        QVERIFY(state.toggleFavorite(sasl.id));
        QVERIFY(!state.brokers().last().isFavorite);

        // Writable again: both go through.
        QVERIFY(QDir(brokersPath()).removeRecursively());
        QVERIFY(!state.toggleFavorite(sasl.id));
        QVERIFY(state.brokers().last().isFavorite);
        QVERIFY(!state.remove(sasl));
        QVERIFY(state.sessions().isEmpty());
        QTRY_VERIFY(!keyring.get(account)); // deleted on the keyring's queue
        QCOMPARE(namesOf(AppState(m_clients).brokers()), QStringList{"Local"});
    }

    void withoutAKeyringTheBrokerStillOpens()
    {
        if (!qEnvironmentVariableIsSet("TESSARON_TEST_NO_KEYRING")) {
            // Run this case again in a child that cannot reach any Secret Service.
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
            env.insert("TESSARON_TEST_NO_KEYRING", "1");
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {"withoutAKeyringTheBrokerStillOpens"});
            QVERIFY(child.waitForFinished(60000));
            QVERIFY2(child.exitCode() == 0, child.readAll().constData());
            return;
        }
        AppState state(m_clients);
        const Broker sasl = securedBroker("sasl");
        const std::optional<QString> failure = syncWait(state.save(sasl, QString("s3cret")));
        QVERIFY(failure);
        QVERIFY(failure->contains("keyring"));
        QCOMPARE(namesOf(state.brokers()).last(), QString("sasl")); // on file all the same
        // A registry password the keyring refuses fails the save the same way, and the edit stays.
        Broker registry = kafkaBroker("registry");
        registry.schemaRegistryURL = "http://registry:8081";
        registry.schemaRegistryUsername = "reg";
        state.setEditing(registry);
        QCOMPARE(syncWait(state.save(registry, std::nullopt, std::nullopt, QString("r"))), failure);
        QCOMPARE(state.editing(), std::optional<Broker>(registry));
        state.open(sasl);
        QCOMPARE(state.sessions().size(), 1);
        QTRY_VERIFY(m_clients->kafka->calls.contains("topics"));
        QVERIFY(!m_clients->lastPassword);
    }
};

TESSARON_KEYRING_TEST_MAIN(QCoreApplication, TestAppState)

#include "tst_AppState.moc"
