// The broker chapter against the mock Kafka cluster and the private RabbitMQ node.
#include "support/Keyring.h"
#include "support/SessionFakes.h"
#include "support/MockKafkaCluster.h"

#include "Tessaron/intro/WelcomeConnection.h"
#include "Tessaron/reception/BrokerFormSheet.h"
#include "Tessaron/reception/FormCard.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/storage/AppSupport.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinInfra/keychain/Keychain.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitButton.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace tessaron;
using testing::keyringReachable;

namespace {

QString brokersPath() { return AppSupport::url(AppState::brokersFileName); }

int brokersOnFile()
{
    QFile file(brokersPath());
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return int(QJsonDocument::fromJson(file.readAll()).array().size());
}

void type(FormField* field, const QString& text)
{
    field->edit()->setFocus();
    field->edit()->selectAll();
    QTest::keyClicks(field->edit(), text);
}

bool test(WelcomeConnection& page)
{
    QSignalSpy done(&page, &WelcomeConnection::testFinished);
    QTest::mouseClick(page.testButton(), Qt::LeftButton);
    // Scripted clients may answer before the click returns.
    return page.testing() ? done.wait(20000) : page.result().has_value();
}

} // namespace

class TestIntroBroker : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        AccessibilitySettings::instance().setReduceMotion(true);
        QFile::remove(brokersPath());
        QDir(brokersPath()).removeRecursively();
    }

    void kafkaTestEditAndSave()
    {
        testing::MockKafkaCluster cluster(1);
        cluster.createTopic("orders", 1);
        cluster.createTopic("payments", 1);
        AppState app;
        WelcomeConnection page(&app, std::nullopt);
        page.show();
        QVERIFY(!page.testButton()->isEnabled());
        type(page.nameField(), "  mock  ");
        type(page.addressField(), cluster.bootstrap());
        QVERIFY(test(page));
        QVERIFY(page.result() && page.result()->isAnswered());
        QVERIFY(page.result()->topics() >= 2);
        QVERIFY(!page.saveButton()->isHidden());

        // An edit clears the answer and the save button.
        QTest::keyClick(page.nameField()->edit(), Qt::Key_X);
        QVERIFY(!page.result());
        QVERIFY(page.saveButton()->isHidden());
        QTest::keyClick(page.nameField()->edit(), Qt::Key_Backspace);
        QVERIFY(test(page));

        // A language switch redraws the chapter in place: what is typed and the answer stay.
        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        QTRY_COMPARE(page.saveButton()->text(), QStringLiteral("Salvar este broker"));
        QCOMPARE(page.nameField()->edit()->text(), QStringLiteral("  mock  "));
        QVERIFY(page.result() && page.result()->isAnswered());
        QCOMPARE(page.resultLine()->text(),
                 L10n::t("It answered. %d topics or queues found.", page.result()->topics()));
        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QTRY_COMPARE(page.saveButton()->text(), QStringLiteral("Save this broker"));

        QSignalSpy saved(&page, &WelcomeConnection::brokerSaved);
        const qsizetype before = app.brokers().size();
        QTest::mouseClick(page.saveButton(), Qt::LeftButton);
        QTRY_COMPARE(saved.size(), 1);
        QCOMPARE(app.brokers().size(), before + 1);
        QCOMPARE(brokersOnFile(), int(before + 1));
        QCOMPARE(app.brokers().last().name, QStringLiteral("mock"));
        QCOMPARE(app.brokers().last().id, page.tested()->id);
        QCOMPARE(page.resultLine()->text(), QStringLiteral("On file. Welcome to the firm."));
        QVERIFY(page.saveButton()->isHidden());
        page.saveTestedBroker(); // saved already: nothing more
        QCOMPARE(app.brokers().size(), before + 1);
    }

    void aRefusedTestShowsTheReasonAndNoSave()
    {
        AppState app;
        WelcomeConnection page(&app, std::nullopt);
        page.show();
        type(page.addressField(), "127.0.0.1:1");
        QVERIFY(test(page));
        QVERIFY(page.result() && !page.result()->isAnswered());
        QVERIFY(!page.result()->reason().isEmpty());
        QVERIFY(page.saveButton()->isHidden());
    }

    void aLateAnswerForChangedFieldsIsDropped()
    {
        auto clients = std::make_shared<fakes::FakeFactory>();
        clients->kafka->listed = QList<Topic>{fakes::topic("orders")};
        auto gate = clients->kafka->gates.hold("topics");
        AppState app(clients);
        auto* page = new WelcomeConnection(&app, std::nullopt);
        type(page->addressField(), "localhost:9092");
        QTest::mouseClick(page->testButton(), Qt::LeftButton);
        QVERIFY(page->testing());
        type(page->addressField(), "localhost:9093");
        gate->release();
        QTRY_VERIFY(!page->testing());
        QVERIFY(!page->result());

        // The page left before its answer: the answer goes nowhere.
        auto late = clients->kafka->gates.hold("topics");
        QTest::mouseClick(page->testButton(), Qt::LeftButton);
        QVERIFY(page->testing());
        delete page;
        late->release();
        QTest::qWait(50);
    }

    void aFailedSaveShowsTheRefusal()
    {
        auto clients = std::make_shared<fakes::FakeFactory>();
        clients->kafka->listed = QList<Topic>{fakes::topic("orders")};
        AppState app(clients);
        WelcomeConnection page(&app, std::nullopt);
        type(page.addressField(), "localhost:9092");
        QVERIFY(test(page));
        // A folder where the file should be: the write fails whoever runs the test.
        QVERIFY(QDir().mkpath(brokersPath()));
        QSignalSpy saved(&page, &WelcomeConnection::brokerSaved);
        QTest::mouseClick(page.saveButton(), Qt::LeftButton);
        QTRY_VERIFY(!page.saveRefusal().isEmpty());
        QCOMPARE(saved.size(), 0);
        QVERIFY(!page.savedBroker());
        QVERIFY(page.resultLine()->text() != QStringLiteral("On file. Welcome to the firm."));
        QCOMPARE(page.resultLine()->text(), page.saveRefusal());
        QVERIFY(QDir(brokersPath()).removeRecursively());
    }

    void theFullFormNestsAndAdoptsWhatItSaved()
    {
        auto clients = std::make_shared<fakes::FakeFactory>();
        AppState app(clients);
        const qsizetype before = app.brokers().size();
        QDialog host;
        auto* page = new WelcomeConnection(&app, std::nullopt, &host);
        host.show();
        page->setKind(BrokerKind::rabbitmq);
        type(page->addressField(), "localhost:15672");
        QTest::mouseClick(page->formButton(), Qt::LeftButton);
        QVERIFY(page->brokerForm());
        QCOMPARE(page->brokerForm()->parentWidget(), &host);
        QCOMPARE(page->brokerForm()->addressField()->edit()->text(), QStringLiteral("localhost:15672"));
        QCOMPARE(page->brokerForm()->userField()->edit()->text(), QStringLiteral("guest"));
        // Cancelling changes nothing.
        QTest::mouseClick(page->brokerForm()->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY(!page->brokerForm());
        QVERIFY(!page->savedBroker());
        QCOMPARE(app.brokers().size(), before);
        QVERIFY(!app.editing());

        QTest::mouseClick(page->formButton(), Qt::LeftButton);
        QVERIFY(page->brokerForm());
        page->brokerForm()->save();
        QTRY_VERIFY(!page->brokerForm());
        QCOMPARE(app.brokers().size(), before + 1);
        QVERIFY(page->savedBroker());
        QCOMPARE(page->savedBroker()->id, app.brokers().last().id);
    }

    void rabbitMQAgainstTheRealNode()
    {
        const QString url = qEnvironmentVariable("TESSARON_TEST_RABBITMQ_URL");
        if (url.isEmpty() || !keyringReachable())
            QSKIP("no RabbitMQ node or keyring (run through scripts/services/run-with-services.sh)");
        AppState app;
        WelcomeConnection page(&app, std::nullopt);
        page.show();
        QTest::mouseClick(page.kindButtons().at(1), Qt::LeftButton);
        type(page.addressField(), url);
        QCOMPARE(page.userField()->edit()->text(), QStringLiteral("guest"));
        type(page.passwordField(), qEnvironmentVariable("TESSARON_TEST_RABBITMQ_PASSWORD"));
        QVERIFY(test(page));
        QVERIFY2(page.result() && page.result()->isAnswered(),
                 qPrintable(page.result() ? page.result()->reason() : ""));
        const qsizetype before = app.brokers().size();
        QTest::mouseClick(page.saveButton(), Qt::LeftButton);
        QTRY_VERIFY(page.savedBroker());
        QCOMPARE(app.brokers().size(), before + 1);
        QCOMPARE(brokersOnFile(), int(before + 1));
        Keychain keychain(AppState::keychainService);
        QCOMPARE(keychain.get(AppState::passwordAccount(app.brokers().last().id)),
                 std::optional<QString>(qEnvironmentVariable("TESSARON_TEST_RABBITMQ_PASSWORD")));
        app.remove(app.brokers().last());

        // A wrong password is refused with the node's reason.
        WelcomeConnection wrong(&app, std::nullopt);
        wrong.setKind(BrokerKind::rabbitmq);
        type(wrong.addressField(), url);
        type(wrong.passwordField(), "not-the-password");
        QVERIFY(test(wrong));
        QVERIFY(wrong.result() && !wrong.result()->isAnswered());
        QVERIFY(wrong.saveButton()->isHidden());
    }
};

TESSARON_KEYRING_TEST_MAIN(QApplication, TestIntroBroker)

#include "tst_IntroBroker.moc"
