#include "support/Keyring.h"
#include "support/SessionFakes.h"

#include "Tessaron/reception/BrokerFormLogic.h"
#include "Tessaron/reception/BrokerFormSheet.h"
#include "Tessaron/reception/ConfirmSheet.h"
#include "Tessaron/reception/FormCard.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/storage/AppSupport.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinInfra/keychain/Keychain.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/ManualAnimationClock.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tessaron;
using testing::keyringReachable;
using namespace tessaron::fakes;

namespace {

Broker newBroker()
{
    Broker b;
    b.id = QUuid::createUuid();
    b.saslMechanism = "PLAIN";
    return b;
}

QString brokersPath() { return AppSupport::url(AppState::brokersFileName); }

void type(FormField* field, const QString& text)
{
    field->edit()->setFocus();
    field->edit()->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field->edit(), Qt::Key_Backspace);
    else
        QTest::keyClicks(field->edit(), text);
}

} // namespace

class TestBrokerFormSheet : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakeFactory> m_clients;

    std::unique_ptr<BrokerFormSheet> present(AppState& app, const Broker& broker)
    {
        app.setEditing(broker);
        auto sheet = std::make_unique<BrokerFormSheet>(&app);
        sheet->open();
        return sheet;
    }

private slots:
    void initTestCase() { AccessibilitySettings::instance().setReduceMotion(true); }

    void init()
    {
        QFile::remove(brokersPath());
        QDir(brokersPath()).removeRecursively();
        m_clients = std::make_shared<FakeFactory>();
        m_clients->kafka->listed = QList<Topic>{topic("orders")};
    }

    void cleanup() { UserDefaults::standard().remove(L10n::key); }

    void returnSavesOnlyWhenSavingIsPossible()
    {
        AppState app(m_clients);
        auto sheet = present(app, newBroker());
        QVERIFY(!sheet->forgetButton()); // a new broker has nothing to forget
        QVERIFY(!sheet->saveButton()->isEnabled());
        QVERIFY(!sheet->testButton()->isEnabled());
        QTest::keyClick(sheet->nameField()->edit(), Qt::Key_Return);
        QVERIFY(sheet->isVisible());
        QCOMPARE(app.brokers().size(), 1); // the default broker only

        type(sheet->nameField(), "orders");
        type(sheet->addressField(), "localhost:9092");
        QTRY_VERIFY(sheet->saveButton()->isEnabled());
        // SASL without a user name may not be saved: Return does nothing.
        QTest::mouseClick(sheet->securityButtons()[2], Qt::LeftButton);
        QVERIFY(!sheet->saveButton()->isEnabled());
        QTest::keyClick(sheet->addressField()->edit(), Qt::Key_Return);
        QVERIFY(sheet->isVisible());
        type(sheet->userField(), "svc");
        QTest::keyClick(sheet->userField()->edit(), Qt::Key_Return);
        QTRY_VERIFY(!sheet->isVisible());
        QCOMPARE(app.brokers().last().name, QString("orders"));
        QCOMPARE(app.brokers().last().username, QString("svc"));
        QVERIFY(!app.editing());
    }

    void tabRunsThroughWhatCanBeSeen()
    {
        AppState app(m_clients);
        auto sheet = present(app, app.brokers().first()); // Kafka, no security
        QVERIFY(QTest::qWaitForWindowExposed(sheet.get()));
        sheet->addressField()->edit()->setFocus();
        QList<QWidget*> stops;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            stops << QApplication::focusWidget();
        }
        // The four ways in, then the Schema Registry: no stop on a hidden field.
        for (int i = 0; i < 4; ++i)
            QCOMPARE(stops[i], static_cast<QWidget*>(sheet->securityButtons()[i]));
        QCOMPARE(stops[4], static_cast<QWidget*>(sheet->registryField()->edit()));
        for (QWidget* stop : stops)
            QVERIFY(stop->isVisible());
        // The keyboard moved the focus, so the focused control draws its ring.
        QVERIFY(sheet->testAttribute(Qt::WA_KeyboardFocusChange));
    }

    void aLanguageSwitchRedrawsTheFormKeepingWhatIsTyped()
    {
        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        AppState app(m_clients);
        auto sheet = present(app, newBroker());
        type(sheet->nameField(), "orders");
        QTest::mouseClick(sheet->securityButtons()[2], Qt::LeftButton);
        type(sheet->userField(), "svc");
        type(sheet->passwordField(), "s3cret");
        const QString english = sheet->passwordField()->hint();

        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        QTRY_VERIFY(sheet->passwordField()->hint() != english);
        QCOMPARE(sheet->passwordField()->hint(), L10n::t("Goes to your keyring, never to a file."));
        QCOMPARE(sheet->windowTitle(), L10n::t("New broker."));
        QVERIFY(sheet->isVisible());
        // What was typed and chosen stays, and so does the field in use.
        QCOMPARE(sheet->nameField()->edit()->text(), QString("orders"));
        QCOMPARE(sheet->userField()->edit()->text(), QString("svc"));
        QCOMPARE(sheet->passwordField()->edit()->text(), QString("s3cret"));
        QVERIFY(sheet->credentialsSection()->isVisibleTo(sheet.get()));
        QCOMPARE(sheet->focusWidget(), sheet->passwordField()->edit());

        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QTRY_COMPARE(sheet->passwordField()->hint(), english);
        // Saving keeps the typed password in the keyring.
        REQUIRE_KEYRING();
        type(sheet->addressField(), "localhost:9092");
        QTest::keyClick(sheet->addressField()->edit(), Qt::Key_Return);
        QTRY_VERIFY(!sheet->isVisible());
        QCOMPARE(app.brokers().last().username, QString("svc"));
    }

    void escapeCancelsAndStoresNothing()
    {
        AppState app(m_clients);
        const Broker local = app.brokers().first();
        auto sheet = present(app, local);
        type(sheet->nameField(), "renamed");
        QTest::keyClick(sheet.get(), Qt::Key_Escape);
        QTRY_VERIFY(!sheet->isVisible());
        QVERIFY(!app.editing());
        QCOMPARE(app.brokers().first().name, QString("Local"));
        QVERIFY(!QFile::exists(brokersPath()));
    }

    void aFailedSaveKeepsTheFormOpenWithTheReason()
    {
        AppState app(m_clients);
        auto sheet = present(app, newBroker());
        type(sheet->nameField(), "orders");
        type(sheet->addressField(), "localhost:9092");
        // A folder where the file should be: the write fails whoever runs the test.
        QVERIFY(QDir().mkpath(brokersPath()));
        QTest::mouseClick(sheet->saveButton(), Qt::LeftButton);
        QVERIFY(sheet->isVisible());
        QVERIFY(app.editing());
        QVERIFY(!sheet->refusalLabel()->isHidden());
        QVERIFY(sheet->refusalLabel()->text().contains("brokers.json"));
        QCOMPARE(app.brokers().size(), 1);

        QVERIFY(QDir(brokersPath()).removeRecursively());
        QTest::mouseClick(sheet->saveButton(), Qt::LeftButton);
        QTRY_VERIFY(!sheet->isVisible());
        QCOMPARE(app.brokers().last().name, QString("orders"));
        QVERIFY(!app.editing());
    }

    void forgetAsksFirstThenForgetsTheBrokerAndItsSecrets()
    {
        const bool keyring = keyringReachable();
        AppState app(m_clients);
        Broker sasl = app.brokers().first();
        sasl.security = BrokerSecurity::saslPlaintext;
        sasl.username = "svc";
        QVERIFY(!syncWait(app.save(sasl, keyring ? std::optional<QString>("pw") : std::nullopt)));
        auto sheet = present(app, sasl);
        type(sheet->nameField(), "typed name");

        QTest::mouseClick(sheet->forgetButton(), Qt::LeftButton);
        ConfirmSheet* confirmation = sheet->confirmation();
        QVERIFY(confirmation);
        QVERIFY(confirmation->title().contains("Local")); // the saved name
        QTest::keyClick(confirmation, Qt::Key_Return);    // Return does not forget
        QCOMPARE(app.brokers().size(), 1);
        QVERIFY(confirmation->isVisible());
        QTest::keyClick(confirmation, Qt::Key_Escape);
        QTRY_VERIFY(!sheet->confirmation());
        QVERIFY(sheet->isVisible());
        QCOMPARE(app.brokers().size(), 1);

        QTest::mouseClick(sheet->forgetButton(), Qt::LeftButton);
        confirmation = sheet->confirmation();
        QVERIFY(confirmation);
        confirmation->confirmButton()->click();
        QTRY_VERIFY(!sheet->isVisible());
        QVERIFY(app.brokers().isEmpty());
        QVERIFY(!app.editing());
        // The secrets leave the keyring on its own worker, after the sheet has closed.
        if (keyring)
            QTRY_VERIFY(!Keychain(AppState::keychainService).get(AppState::passwordAccount(sasl.id)));
    }

    void filesAreChosenAsAbsolutePathsAndCancellingKeepsThem()
    {
        AppState app(m_clients);
        Broker tls = app.brokers().first();
        tls.security = BrokerSecurity::ssl;
        auto sheet = present(app, tls);
        QStringList titles;
        std::optional<QString> answer;
        sheet->setFileChooser([&](const QString& title, std::function<void(const QString&)> chosen) {
            titles << title;
            if (answer)
                chosen(*answer);
        });
        QVERIFY(!sheet->tlsSection()->isHidden());
        answer = "/etc/pki/ca.pem";
        QTest::mouseClick(sheet->caButton(), Qt::LeftButton);
        QCOMPARE(titles, QStringList{"Choose a certificate authority"});
        QCOMPARE(sheet->model()->caPath(), QString("/etc/pki/ca.pem"));
        answer.reset(); // cancelled
        QTest::mouseClick(sheet->caButton(), Qt::LeftButton);
        QCOMPARE(sheet->model()->caPath(), QString("/etc/pki/ca.pem"));

        answer = "/home/dev/reader.crt";
        QTest::mouseClick(sheet->certificateButton(), Qt::LeftButton);
        QVERIFY(sheet->passphraseField()->isHidden()); // a certificate without its key
        answer = "/home/dev/reader.key";
        QTest::mouseClick(sheet->keyButton(), Qt::LeftButton);
        QVERIFY(!sheet->passphraseField()->isHidden());
        QCOMPARE(sheet->model()->assembledBroker().clientKeyPath, QString("/home/dev/reader.key"));
    }

    void theKeyPassphraseIsKeptLikeThePassword()
    {
        REQUIRE_KEYRING();
        Keychain keyring(AppState::keychainService);
        AppState app(m_clients);
        Broker tls = app.brokers().first();
        tls.security = BrokerSecurity::ssl;
        tls.clientCertPath = "/c.pem";
        tls.clientKeyPath = "/k.pem";
        const QString account = AppState::clientKeyAccount(tls.id);

        auto sheet = present(app, tls);
        QVERIFY(!sheet->passphraseField()->isHidden());
        type(sheet->passphraseField(), "open sesame");
        QTest::mouseClick(sheet->saveButton(), Qt::LeftButton);
        QTRY_VERIFY(!sheet->isVisible());
        QCOMPARE(keyring.get(account), std::optional<QString>("open sesame"));

        // Blank keeps it; opening the broker hands it to the connection.
        sheet = present(app, tls);
        QTest::mouseClick(sheet->saveButton(), Qt::LeftButton);
        QTRY_VERIFY(!sheet->isVisible());
        QCOMPARE(keyring.get(account), std::optional<QString>("open sesame"));
        app.open(tls);
        QTRY_COMPARE(m_clients->lastClientKey, std::optional<QString>("open sesame"));
        app.close(tls.id);

        // Typed and emptied again removes it.
        sheet = present(app, tls);
        type(sheet->passphraseField(), "x");
        type(sheet->passphraseField(), "");
        QTest::mouseClick(sheet->saveButton(), Qt::LeftButton);
        QTRY_VERIFY(!sheet->isVisible());
        QVERIFY(!keyring.get(account));

        // A broker that no longer uses a client certificate loses it.
        QVERIFY(!syncWait(app.save(tls, std::nullopt, QString("again"))));
        QCOMPARE(keyring.get(account), std::optional<QString>("again"));
        sheet = present(app, tls);
        QTest::mouseClick(sheet->securityButtons()[0], Qt::LeftButton);
        QTest::mouseClick(sheet->saveButton(), Qt::LeftButton);
        QTRY_VERIFY(!sheet->isVisible());
        QVERIFY(!keyring.get(account));
    }

    void aTestAnswerNeverReachesAClosedForm()
    {
        AppState app(m_clients);
        auto sheet = present(app, app.brokers().first());
        std::shared_ptr<Gate> gate = m_clients->kafka->gates.hold("topics");
        QTest::mouseClick(sheet->testButton(), Qt::LeftButton);
        QVERIFY(sheet->model()->testing());
        QVERIFY(!sheet->testButton()->isEnabled());
        sheet->reject();
        QVERIFY(!app.editing());
        QVERIFY(!sheet->model()->testing());
        gate->release();
        QTest::qWait(20);
        QVERIFY(!sheet->model()->testResult());

        // Deleted before the answer: nothing reaches it.
        m_clients->kafka->gates = Gates();
        gate = m_clients->kafka->gates.hold("topics");
        sheet = present(app, app.brokers().first());
        QTest::mouseClick(sheet->testButton(), Qt::LeftButton);
        sheet.reset();
        gate->release();
        QTest::qWait(20);

        // An open form shows its answer.
        m_clients->kafka->gates = Gates();
        sheet = present(app, app.brokers().first());
        QTest::mouseClick(sheet->testButton(), Qt::LeftButton);
        QTRY_VERIFY(sheet->model()->testResult());
        QCOMPARE(sheet->testLine()->text(), QString("It answered. One topic."));
    }

    void rabbitMQHasNoRegistryCard()
    {
        AppState app(m_clients);
        auto sheet = present(app, newBroker());
        QVERIFY(!sheet->registryCard()->isHidden());
        QTest::mouseClick(sheet->kindButtons()[1], Qt::LeftButton);
        QVERIFY(sheet->registryCard()->isHidden());
        QVERIFY(!sheet->vhostField()->isHidden());
        QTest::mouseClick(sheet->securityButtons()[3], Qt::LeftButton);
        QVERIFY(!sheet->credentialsSection()->isHidden());
        QVERIFY(!sheet->mechanismButtons().first()->isVisibleTo(sheet.get())); // no mechanism on RabbitMQ
        QTest::mouseClick(sheet->kindButtons()[0], Qt::LeftButton);
        QVERIFY(sheet->mechanismButtons().first()->isVisibleTo(sheet.get()));
    }

    void sectionsFadeInAndOutWithAChangeOfSecurity()
    {
        AccessibilitySettings::instance().setReduceMotion(false);
        testing::ManualAnimationClock clock;
        AppState app(m_clients);
        auto sheet = present(app, newBroker());
        sheet->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(sheet.get()));
        QWidget* credentials = sheet->credentialsSection();
        QVERIFY(credentials->isHidden());
        QTest::mouseClick(sheet->securityButtons()[2], Qt::LeftButton);
        QVERIFY(!credentials->isHidden());
        QVERIFY(credentials->graphicsEffect()); // fading in
        clock.advance(210);
        QVERIFY(!credentials->graphicsEffect());
        // Going back, it stays while it fades out and is then gone.
        QTest::mouseClick(sheet->securityButtons()[0], Qt::LeftButton);
        clock.advance(150);
        QVERIFY(!credentials->isHidden());
        clock.advance(60);
        QVERIFY(credentials->isHidden());
        AccessibilitySettings::instance().setReduceMotion(true);
        QTest::mouseClick(sheet->securityButtons()[2], Qt::LeftButton);
        QVERIFY(!credentials->isHidden());
        QVERIFY(!credentials->graphicsEffect());
    }
};

TESSARON_KEYRING_TEST_MAIN(QApplication, TestBrokerFormSheet)

#include "tst_BrokerFormSheet.moc"
