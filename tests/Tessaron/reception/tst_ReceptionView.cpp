#include "support/SessionFakes.h"

#include "Tessaron/kit/SecuritySentence.h"
#include "Tessaron/kit/TessaronChartCard.h"
#include "Tessaron/reception/BrokerCard.h"
#include "Tessaron/reception/Odometer.h"
#include "Tessaron/reception/ReceptionGreeting.h"
#include "Tessaron/reception/ReceptionView.h"
#include "Tessaron/reception/SpeechBubble.h"
#include "Tessaron/reception/WaitingRoom.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/prefs/Prefs.h"
#include "TessaronCore/storage/AppSupport.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/ManualAnimationClock.h"
#include "VelkinUI/TransformEffect.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSet>
#include <QTest>

using namespace tessaron;
using namespace tessaron::fakes;

namespace {

QDateTime at(int hour, int minute) { return QDateTime(QDate(2026, 3, 9), QTime(hour, minute)); }

QStringList cardNames(const ReceptionView& view)
{
    QStringList names;
    for (const BrokerCard* card : view.cards())
        names << card->broker().name;
    return names;
}

} // namespace

class TestReceptionView : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakeFactory> m_clients;

    // A state holding exactly these brokers, in this order.
    std::unique_ptr<AppState> stateWith(const QList<Broker>& brokers)
    {
        auto app = std::make_unique<AppState>(m_clients);
        app->remove(app->brokers().first());
        for (const Broker& broker : brokers)
            syncWait(app->save(broker, std::nullopt));
        return app;
    }

private slots:
    void initTestCase() { AccessibilitySettings::instance().setReduceMotion(true); }

    void init()
    {
        QFile::remove(AppSupport::url(AppState::brokersFileName));
        m_clients = std::make_shared<FakeFactory>();
        m_clients->kafka->listed = QList<Topic>{topic("orders")};
    }

    void columnsOfAtLeast290FitTheWidth()
    {
        QCOMPARE(ReceptionView::columnCount(0), 1);
        QCOMPARE(ReceptionView::columnCount(289), 1);
        QCOMPARE(ReceptionView::columnCount(593), 1);
        QCOMPARE(ReceptionView::columnCount(594), 2); // two of 290 and the 14 between
        QCOMPARE(ReceptionView::columnCount(897), 2);
        QCOMPARE(ReceptionView::columnCount(898), 3);
        QCOMPARE(ReceptionView::columnCount(1108), 3); // the widest column the reception allows

        auto app = stateWith({kafkaBroker("a"), kafkaBroker("b"), kafkaBroker("c"), kafkaBroker("d")});
        ReceptionView view(app.get());
        const QList<std::pair<int, int>> widths{{820, 2}, {1020, 3}, {500, 1}, {2400, 3}, {700, 2}};
        view.resize(1020, 660);
        view.show();
        for (const auto& [width, columns] : widths) {
            view.resize(width, 660);
            QTRY_COMPARE(view.columns(), columns);
            QTest::qWait(1);
            // The cards and the add card stand in that many distinct columns, in order.
            QSet<int> lefts;
            for (const BrokerCard* card : view.cards())
                lefts.insert(card->geometry().left());
            QCOMPARE(lefts.size(), columns);
            QVERIFY(view.cards()[0]->geometry().left() < view.cards()[1]->geometry().left() || columns == 1);
            QVERIFY(view.cards().first()->width() >= (columns == 1 ? 200 : ReceptionView::minimumColumnWidth));
        }
    }

    void favouritesComeFirstAndNothingSavedShowsTheWaitingRoom()
    {
        auto app = stateWith({});
        ReceptionView view(app.get());
        QVERIFY(view.waitingRoom());
        QVERIFY(!view.addCard());
        QCOMPARE(view.brokersChipText(), QString("0 brokers on file"));

        // Return in the waiting room starts the first broker: a new empty Kafka broker under edit.
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::keyClick(&view, Qt::Key_Return);
        QVERIFY(app->editing());
        const Broker fresh = *app->editing();
        QVERIFY(fresh.name.isEmpty() && fresh.bootstrap.isEmpty());
        QCOMPARE(fresh.kind, BrokerKind(BrokerKind::kafka));
        QCOMPARE(fresh.security, BrokerSecurity(BrokerSecurity::plaintext));
        QCOMPARE(fresh.saslMechanism, QString("PLAIN"));
        QVERIFY(!fresh.isFavorite);
        app->setEditing(std::nullopt);

        Broker first = kafkaBroker("first");
        syncWait(app->save(first, std::nullopt));
        QVERIFY(!view.waitingRoom());
        QVERIFY(view.addCard());
        QCOMPARE(view.brokersChipText(), QString("One broker on file"));
        Broker second = kafkaBroker("second");
        Broker regular = kafkaBroker("regular");
        regular.isFavorite = true;
        syncWait(app->save(second, std::nullopt));
        syncWait(app->save(regular, std::nullopt));
        QCOMPARE(cardNames(view), (QStringList{"regular", "first", "second"}));
        app->toggleFavorite(second.id);
        // Favourites first, each group in stored order.
        QCOMPARE(cardNames(view), (QStringList{"second", "regular", "first"}));

        // The add card puts a fresh broker under edit, another one each time.
        view.addCard()->click();
        QVERIFY(app->editing());
        QVERIFY(app->editing()->id != fresh.id);
    }

    void openingFromACardFollowsTheSession()
    {
        const Broker broker = kafkaBroker("orders");
        auto app = stateWith({broker});
        ReceptionView view(app.get());
        view.resize(1020, 660);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.cards().first()->openState(), BrokerCard::OpenState::open);

        std::shared_ptr<Gate> gate = m_clients->kafka->gates.hold("topics");
        QTest::mouseClick(view.cards().first()->openButton(), Qt::LeftButton);
        QCOMPARE(app->sessions().size(), 1);
        QCOMPARE(app->selected(), std::optional(broker.id));
        QVERIFY(!app->showingPicker());
        // The user comes back for another broker while it still sniffs.
        app->setShowingPicker(true);
        BrokerCard* card = view.cards().first();
        QVERIFY(card->isSelected());
        QCOMPARE(card->openState(), BrokerCard::OpenState::sniffing);
        QVERIFY(!card->openButton()->isEnabled());

        gate->release();
        QTRY_COMPARE(view.cards().first()->openState(), BrokerCard::OpenState::alreadyOpen);
        QVERIFY(view.cards().first()->openButton()->isEnabled());
        QTest::mouseClick(view.cards().first()->openButton(), Qt::LeftButton);
        QCOMPARE(app->sessions().size(), 1); // selected again, not opened twice
        QVERIFY(!app->showingPicker());

        app->close(broker.id);
        QTRY_COMPARE(view.cards().first()->openState(), BrokerCard::OpenState::open);
        QVERIFY(!view.cards().first()->isSelected());
    }

    void escapeGoesBackOnlyWhileBrokersAreOpen()
    {
        const Broker broker = kafkaBroker("orders");
        auto app = stateWith({broker});
        ReceptionView view(app.get());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.backButton()->isHidden());
        app->open(broker);
        app->setShowingPicker(true);
        QVERIFY(!view.backButton()->isHidden());
        QTest::keyClick(&view, Qt::Key_Escape);
        QVERIFY(!app->showingPicker());
        app->close(broker.id);
        QVERIFY(view.backButton()->isHidden());
    }

    void theCardsActionsGoThroughTheState()
    {
        Broker broker = kafkaBroker("orders");
        broker.security = BrokerSecurity::saslSSL;
        broker.username = "svc";
        auto app = stateWith({kafkaBroker("first"), broker});
        ReceptionView view(app.get());
        BrokerCard* card = view.cards()[1];
        // At rest: the badge; hovered: edit and star instead.
        QVERIFY(!card->badge()->isHidden());
        QVERIFY(card->editButton()->isHidden());
        card->setHovering(true);
        QVERIFY(card->badge()->isHidden());
        QVERIFY(!card->editButton()->isHidden());
        QVERIFY(!card->starButton()->isHidden());
        card->editButton()->click();
        QCOMPARE(app->editing(), std::optional(broker));
        app->setEditing(std::nullopt);

        std::unique_ptr<QMenu> menu(card->makeContextMenu(nullptr));
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions()[0]->text(), QString("Make it a regular"));
        menu->actions()[0]->trigger();
        QCOMPARE(cardNames(view), (QStringList{"orders", "first"}));
        // A regular shows its star even at rest, and no badge.
        card = view.cards().first();
        QVERIFY(!card->starButton()->isHidden());
        QVERIFY(card->badge()->isHidden());
        menu.reset(card->makeContextMenu(nullptr));
        QCOMPARE(menu->actions()[0]->text(), QString("No longer a regular"));
        menu->actions()[1]->trigger();
        QCOMPARE(app->editing()->id, broker.id);
    }

    void cardsSayHowTheyGetIn()
    {
        Broker rabbit = rabbitBroker();
        rabbit.security = BrokerSecurity::ssl;
        rabbit.clientCertPath = "/c.pem";
        rabbit.clientKeyPath = "/k.pem";
        QCOMPARE(securitySentence(rabbit), QString("Charges to read. I'll warn you first."));
        Broker tls = kafkaBroker();
        tls.security = BrokerSecurity::ssl;
        tls.clientCertPath = "/c.pem";
        QCOMPARE(securitySentence(tls), QString("Encrypted. Nobody reads over my shoulder."));
        tls.clientKeyPath = "/k.pem";
        QCOMPARE(securitySentence(tls), QString("Wants my certificate. I brought it."));
        tls.security = BrokerSecurity::saslPlaintext;
        QCOMPARE(securitySentence(tls), QString("Wants a password. It's in your keyring."));
        tls.security = BrokerSecurity::plaintext;
        QCOMPARE(securitySentence(tls), QString("No password. Trusting. I respect that."));
    }

    void theGreetingFollowsTheHourAndTheBoops()
    {
        using ReceptionGreeting::greetingForHour;
        QVERIFY(greetingForHour(at(0, 0)).startsWith("It's "));
        QVERIFY(greetingForHour(at(4, 59)).endsWith("I don't judge. I sniff."));
        QCOMPARE(greetingForHour(at(5, 0)), QString("Morning. Already read the paper. It was all Kafka."));
        QCOMPARE(greetingForHour(at(12, 0)), QString("Lunchtime. I don't eat. But I accept."));
        QCOMPARE(greetingForHour(at(13, 59)), QString("Lunchtime. I don't eat. But I accept."));
        QCOMPARE(greetingForHour(at(14, 0)), QString("Afternoon. Any queue need a lawyer?"));
        QCOMPARE(greetingForHour(at(17, 59)), QString("Afternoon. Any queue need a lawyer?"));
        QCOMPARE(greetingForHour(at(18, 0)), QString("Evening. Brought the ball, just in case."));
        QCOMPARE(greetingForHour(at(23, 59)), QString("Evening. Brought the ball, just in case."));

        auto app = stateWith({kafkaBroker()});
        ReceptionView view(app.get());
        view.setClock([] { return at(14, 30); });
        QCOMPARE(view.bubbleText(), QString("Afternoon. Any queue need a lawyer?"));
        const int startIndex = view.chartIndex();
        const TessaronChart before = view.shownChart();
        QStringList lines;
        for (int i = 0; i < 11; ++i) {
            view.boopButton()->click();
            lines << view.bubbleText();
        }
        QCOMPARE(lines[0], QString("Boop noted."));
        QCOMPARE(lines[1], QString("Two boops. That's a pattern."));
        QCOMPARE(lines[2], QString("Three. I'm going to need a chart."));
        QCOMPARE(lines[3], lines[8]);
        QCOMPARE(lines[9], QString("Ten. Okay, I love you too. Now open a broker."));
        QCOMPARE(lines[10], lines[9]);
        QCOMPARE(view.chartCard()->chart().title, QString("Boops received today"));
        QCOMPARE(view.chartCard()->chart().scale, 11.0);

        // "Another" puts the boops away and moves on to the next chart.
        view.chartCard()->anotherButton()->click();
        QCOMPARE(view.boops(), 0);
        QCOMPARE(view.chartIndex(), startIndex + 1);
        QCOMPARE(view.chartCard()->chart(), TessaronChart::ofIndex(startIndex + 1));
        QVERIFY(!(view.chartCard()->chart() == before) || TessaronChart::catalogue().size() == 1);
        QCOMPARE(view.bubbleText(), QString("Afternoon. Any queue need a lawyer?"));
    }

    void favouritesGlideAndTheBubbleLeavesOnlyWithMotion()
    {
        AccessibilitySettings::instance().setReduceMotion(false);
        testing::ManualAnimationClock clock;
        auto app = stateWith({kafkaBroker("a"), kafkaBroker("b"), kafkaBroker("c")});
        ReceptionView view(app.get());
        view.resize(1020, 660);
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_COMPARE(view.columns(), 3);
        const auto offset = [](const QWidget* card) {
            const auto* effect = qobject_cast<const TransformEffect*>(card->graphicsEffect());
            return effect ? QPointF(effect->transform().dx(), effect->transform().dy()) : QPointF();
        };

        // "c" becomes a regular: it slides from the third place to the first over 0.2 s, the others
        // one place on; cards at rest carry no effect.
        app->toggleFavorite(app->brokers().at(2).id);
        QCOMPARE(cardNames(view), (QStringList{"c", "a", "b"}));
        QVERIFY(offset(view.cards()[0]).x() > 300);
        QVERIFY(offset(view.cards()[1]).x() < 0);
        clock.advance(180);
        QVERIFY(!offset(view.cards()[0]).isNull());
        clock.advance(30);
        for (const BrokerCard* card : view.cards())
            QVERIFY(!card->graphicsEffect());

        // A boop: the old bubble leaves as the new one arrives, and is gone once it has.
        view.boopButton()->click();
        QVERIFY(view.leavingBubble());
        clock.advance(1000);
        QVERIFY(!view.leavingBubble());

        // Under reduced motion the cards land at once; the bubble still fades out.
        AccessibilitySettings::instance().setReduceMotion(true);
        app->toggleFavorite(app->brokers().at(0).id);
        QCOMPARE(cardNames(view), (QStringList{"a", "c", "b"}));
        for (const BrokerCard* card : view.cards())
            QVERIFY(!card->graphicsEffect());
        view.boopButton()->click();
        QVERIFY(view.leavingBubble());
        clock.advance(200);
        QVERIFY(!view.leavingBubble());
    }

    void aLongSentenceShrinksThenIsCutAtThreeLines()
    {
        SpeechBubble shortOne("Boop noted.");
        QCOMPARE(shortOne.fittedSize(), 12.0);
        QCOMPARE(shortOne.lines().size(), 1);
        QCOMPARE(shortOne.sizeHint().width(), 244);

        SpeechBubble longer(QString("Objection. ").repeated(5).trimmed());
        QVERIFY(longer.lines().size() <= SpeechBubble::maxLines);
        QVERIFY(!longer.lines().last().endsWith(QChar(0x2026)));

        SpeechBubble endless(QString("Objection, your honour. ").repeated(20).trimmed());
        QCOMPARE(endless.fittedSize(), 12.0 * 0.85);
        QCOMPARE(endless.lines().size(), SpeechBubble::maxLines);
        QVERIFY(endless.lines().last().endsWith(QChar(0x2026)));
    }

    void theOdometerFollowsTheTallies()
    {
        UserDefaults& store = UserDefaults::standard();
        store.setInteger(Prefs::messagesRead, 0);
        store.setInteger(Prefs::messagesDisturbed, 0);
        Odometer odometer(store);
        QCOMPARE(odometer.readText(), QString("000000"));
        QCOMPARE(odometer.closingLine(), QString("None of them noticed."));
        store.setInteger(Prefs::messagesDisturbed, 1);
        store.setInteger(Prefs::messagesRead, 1234567);
        QCOMPARE(odometer.disturbedText(), QString("000001"));
        QCOMPARE(odometer.readText(), QString("1234567"));
        QCOMPARE(odometer.closingLine(), QString("The disturbed ones are RabbitMQ. I did warn you."));
        // A tally gone below zero (a damaged preference) reads as none, not "0000-5".
        store.setInteger(Prefs::messagesRead, -5);
        QCOMPARE(odometer.readText(), QString("000000"));
        store.setInteger(Prefs::messagesDisturbed, -5);
        QCOMPARE(odometer.disturbedText(), QString("000000"));
        QCOMPARE(odometer.closingLine(), QString("None of them noticed."));
        QCOMPARE(Odometer::digits(-5), QString("000000"));
    }
};

int main(int argc, char** argv)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    QApplication app(argc, argv);
    TestReceptionView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ReceptionView.moc"
