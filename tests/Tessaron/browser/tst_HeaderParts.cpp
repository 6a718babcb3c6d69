#include "BrowserFixtures.h"

#include "Tessaron/browser/BindingStrip.h"
#include "Tessaron/browser/GroupLagStrip.h"
#include "Tessaron/browser/MessageListView.h"
#include "Tessaron/browser/MessageSearchField.h"
#include "Tessaron/browser/PositionPicker.h"
#include "Tessaron/browser/TopicHeader.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/KitButton.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

using namespace tessaron;
using namespace tessaron::browserfixtures;

namespace {

Stage groupsStage()
{
    Stage stage = kafkaStage({fakes::topic("orders", {{0, 10}, {0, 10}}), fakes::topic("payments", {{0, 4}})},
                             {{"billing", "Stable", false}, {"audit", "Empty", false}, {"ghost", "Dead", false}});
    stage.kafka().commits["billing"] = {{{"orders", 0}, 4}, {{"orders", 1}, 4}, {{"payments", 0}, 4}};
    stage.kafka().commits["audit"] = {{{"orders", 0}, 10}, {{"orders", 1}, 10}};
    return stage;
}

QStringList menuTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text() + (action->isChecked() ? " ✓" : ""));
    return texts;
}

} // namespace

class TestHeaderParts : public QObject {
    Q_OBJECT
private slots:
    void lagsAreMeasuredOneGroupAtATime()
    {
        Stage stage = groupsStage();
        stage.session->setSelectedTopic(QString("orders"));
        GroupLagStrip strip(stage.session.get());
        strip.setTopic("orders");
        QCOMPARE(strip.chipIDs(), (QStringList{"billing", "audit", "ghost"}));
        QTRY_VERIFY(!strip.isMeasuring());
        QCOMPARE(strip.lags().value("billing"), std::optional<int64_t>(12));
        QCOMPARE(strip.lags().value("audit"), std::optional<int64_t>(0));
        QVERIFY(strip.lags().contains("ghost"));
        QCOMPARE(strip.lags().value("ghost"), std::optional<int64_t>());
        QCOMPARE(stage.kafka().calls.filter("offsets ").size(), 3);

        // A chip opens its group, which clears the topic.
        QTest::mouseClick(strip.chip("audit"), Qt::LeftButton);
        QCOMPARE(stage.session->selectedGroup(), std::optional<QString>("audit"));
        QCOMPARE(stage.session->selectedTopic(), std::optional<QString>());
    }

    // The figures follow the page: every fresh read of it and every listing measures again; a
    // further page does not, and neither does a new topic's own first read.
    void everyFreshReadAndListingMeasuresAfresh()
    {
        Stage stage = groupsStage();
        stage.open("orders");
        GroupLagStrip strip(stage.session.get());
        strip.setTopic("orders");
        QTRY_VERIFY(!strip.isMeasuring());
        QCOMPARE(strip.lags().value("billing"), std::optional<int64_t>(12));

        stage.kafka().commits["billing"][{"orders", 0}] = 2;
        strip.setTopic("orders");
        syncWait(stage.session->read(BrokerSession::Position::atTail(), 100, false));
        QTRY_VERIFY(!strip.isMeasuring());
        QCOMPARE(strip.lags().value("billing"), std::optional<int64_t>(14));

        const qsizetype asked = stage.kafka().calls.filter("offsets ").size();
        syncWait(stage.session->read(BrokerSession::Position::atTail(), 100, true));
        QCOMPARE(stage.kafka().calls.filter("offsets ").size(), asked);

        stage.kafka().commits["billing"][{"orders", 1}] = 2;
        syncWait(stage.session->refreshTopics());
        QTRY_VERIFY(!strip.isMeasuring());
        QCOMPARE(strip.lags().value("billing"), std::optional<int64_t>(16));
        QCOMPARE(stage.kafka().calls.filter("offsets ").size(), asked + 3);

        // Another topic and its first read: measured once.
        auto gate = stage.kafka().gates.hold("offsets billing");
        stage.session->setSelectedTopic(QString("payments"));
        strip.setTopic("payments");
        syncWait(stage.session->read(BrokerSession::Position::atTail(), 100, false));
        gate->release();
        QTRY_VERIFY(!strip.isMeasuring());
        QCOMPARE(stage.kafka().calls.filter("offsets ").size(), asked + 6);
    }

    void aTopicSwitchMidRunShowsNothingOfTheOldTopic()
    {
        Stage stage = groupsStage();
        stage.session->setSelectedTopic(QString("orders"));
        GroupLagStrip strip(stage.session.get());
        // The first answer of the run for orders arrives only after the switch to payments.
        auto gate = stage.kafka().gates.hold("offsets billing");
        strip.setTopic("orders");
        QVERIFY(strip.isMeasuring());
        QCOMPARE(stage.kafka().calls.filter("offsets ").size(), 1);
        stage.session->setSelectedTopic(QString("payments"));
        strip.setTopic("payments");
        QVERIFY(strip.lags().isEmpty());
        // Still one question in flight: the new run waits for it.
        QCOMPARE(stage.kafka().calls.filter("offsets ").size(), 1);
        gate->release();
        QTRY_VERIFY(!strip.isMeasuring());
        // Every lag shown was measured on payments: billing is 0 there, the others never read it.
        QCOMPARE(strip.lags().value("billing"), std::optional<int64_t>(0));
        QCOMPARE(strip.lags().value("audit"), std::optional<int64_t>());
        QCOMPARE(strip.lags().size(), 3);
    }

    void groupsListedAfterTheRunBeganAreMeasuredToo()
    {
        Stage stage = groupsStage();
        stage.kafka().listedGroups = QList<ConsumerGroup>();
        syncWait(stage.session->refreshTopics());
        QVERIFY(stage.session->groups().isEmpty());
        stage.session->setSelectedTopic(QString("orders"));
        GroupLagStrip strip(stage.session.get());
        strip.setTopic("orders");
        QVERIFY(strip.chipIDs().isEmpty());

        stage.kafka().listedGroups = QList<ConsumerGroup>{{"billing", "Stable", false}};
        syncWait(stage.session->refreshTopics());
        QCOMPARE(strip.chipIDs(), QStringList{"billing"});
        QTRY_VERIFY(!strip.isMeasuring());
        QCOMPARE(strip.lags().value("billing"), std::optional<int64_t>(12));
    }

    void bindingsTellFailureFromNothingBoundAndClearOnSelection()
    {
        Stage stage = rabbitStage({queue("jobs", 1), queue("orphans", 0)}, {});
        stage.rabbit().queueBindings = QList<QueueBinding>{QueueBinding{"", "jobs"}};
        BindingStrip strip(stage.session.get());
        QCOMPARE(strip.shows(), BindingStrip::Shows::nothing);

        stage.open("jobs");
        QCOMPARE(strip.shows(), BindingStrip::Shows::chips);
        QCOMPARE(strip.chipTexts(), QStringList{"(default exchange) → jobs"});
        QVERIFY(strip.showsFanOutRemark());

        // Another queue: the old chips go at once, before its bindings arrive.
        auto gate = stage.rabbit().gates.hold("bindings orphans");
        stage.session->setSelectedTopic(QString("orphans"));
        QCOMPARE(strip.shows(), BindingStrip::Shows::nothing);
        auto reading = stage.session->read(BrokerSession::Position::atTail(), 10, false);
        stage.rabbit().queueBindings.clear();
        gate->release();
        syncWait(std::move(reading));
        QCOMPARE(strip.shows(), BindingStrip::Shows::unbound);

        stage.rabbit().bindingsError = KafkaError(500, "internal error");
        stage.open("jobs");
        QCOMPARE(strip.shows(), BindingStrip::Shows::failed);

        stage.rabbit().bindingsError.reset();
        stage.rabbit().queueBindings = {QueueBinding{"", "jobs"}, QueueBinding{"amq.topic", ""}};
        stage.open("jobs");
        QCOMPARE(strip.chipTexts(), (QStringList{"(default exchange) → jobs", "amq.topic"}));
        QVERIFY(!strip.showsFanOutRemark());

        // Reading another queue with bindings shows its own.
        stage.open("orphans");
        QCOMPARE(strip.shows(), BindingStrip::Shows::chips);
        MessageListView view(stage.app.get(), stage.session.get());
        stage.open("jobs");
        QCOMPARE(view.header()->bindingStrip()->shows(), BindingStrip::Shows::chips);
    }

    void everyPickerChoiceReadsAtOnce()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 5}})});
        stage.kafka().held["orders"][0] = {keyed("orders", 0, 0, "k", "{}", 3), keyed("orders", 0, 1, "k", "{}", 2)};
        stage.open("orders");
        PositionPicker picker(stage.session.get());
        QCOMPARE(picker.caption(), QString("The latest"));
        picker.openMenu();
        QCOMPARE(menuTexts(picker.menu()), (QStringList{"The latest ✓", "The beginning", "-", "At a moment in time…"}));
        picker.menu()->close();

        stage.kafka().calls.clear();
        picker.menu()->actions().at(1)->trigger();
        QTRY_COMPARE(stage.session->position(), BrokerSession::Position::atBeginning());
        QCOMPARE(stage.kafka().calls.filter("page ").first(), QString("page orders 0 beginning limit 100"));
        QCOMPARE(picker.caption(), QString("The beginning"));
        picker.openMenu();
        QCOMPARE(menuTexts(picker.menu()), (QStringList{"The latest", "The beginning ✓", "-", "At a moment in time…"}));
        picker.menu()->close();

        picker.menu()->actions().at(0)->trigger();
        QTRY_COMPARE(stage.session->position(), BrokerSession::Position::atTail());
    }

    void thePopoverKeepsItsMomentAndGoesThere()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 5}})});
        stage.kafka().timeOffsets = {{0, 3}};
        stage.kafka().held["orders"][0] = {keyed("orders", 0, 3, "k", "{}", 3), keyed("orders", 0, 4, "k", "{}", 2)};
        stage.open("orders");
        QWidget window;
        auto* picker = new PositionPicker(stage.session.get(), &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        picker->openPopover();
        QVERIFY(picker->popover()->isVisible());
        const QDateTime moment(QDate(2026, 11, 30), QTime(14, 5));
        picker->popover()->picker()->setDateTime(moment);
        // Clicking outside closes it without reading; the moment stays for the next opening.
        picker->popover()->hide();
        QCOMPARE(stage.session->position(), BrokerSession::Position::atTail());
        picker->openPopover();
        QCOMPARE(picker->popover()->picker()->dateTime(), moment);

        // The nested calendar opens and closes without taking the popover with it.
        QDateTimeEdit* edit = picker->popover()->picker();
        QCalendarWidget* calendar = edit->calendarWidget();
        auto openCalendar = [&] {
            QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 6, edit->height() / 2));
            QTRY_VERIFY(calendar->isVisible());
        };
        openCalendar();
        // A click elsewhere in the popover closes only the calendar.
        QTest::mouseClick(picker->popover(), Qt::LeftButton, {}, QPoint(8, picker->popover()->height() / 2));
        QTRY_VERIFY(!calendar->isVisible());
        QVERIFY(picker->popover()->isVisible());
        // Picking a day closes the calendar, keeps the popover and changes the moment.
        openCalendar();
        calendar->setSelectedDate(QDate(2026, 11, 28));
        emit calendar->clicked(QDate(2026, 11, 28));
        QTRY_VERIFY(!calendar->isVisible());
        QVERIFY(picker->popover()->isVisible());
        const QDateTime picked(QDate(2026, 11, 28), QTime(14, 5));
        QCOMPARE(edit->dateTime(), picked);

        stage.kafka().calls.clear();
        QTest::mouseClick(picker->popover()->goButton(), Qt::LeftButton);
        QVERIFY(!picker->popover()->isVisible());
        QTRY_COMPARE(stage.session->position(), BrokerSession::Position::atTime(picked));
        QVERIFY(stage.kafka().calls.contains("time orders"));
        QVERIFY(picker->caption().startsWith("From "));
    }

    // The picker shows minutes only: a moment is read from the start of the minute it shows, be it
    // now's (which has seconds) or one whose seconds came along with the edit's value.
    void aMomentIsReadFromTheMinuteShown()
    {
        const QDateTime now = QDateTime(QDate(2026, 12, 11), QTime(7, 23, 20, 450)).toUTC();
        RelativeTime::setClock([now] { return now; });
        const auto systemClock = qScopeGuard([] { RelativeTime::setClock({}); });
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 5}})});
        stage.kafka().timeOffsets = {{0, 3}};
        stage.open("orders");
        PositionPicker picker(stage.session.get());
        const QDateTime minute(QDate(2026, 12, 11), QTime(7, 23));
        QCOMPARE(picker.chosen(), minute);
        picker.openPopover();
        QCOMPARE(picker.popover()->picker()->dateTime(), minute);
        picker.goThere();
        QTRY_COMPARE(stage.session->position(), BrokerSession::Position::atTime(minute));

        picker.openPopover();
        picker.popover()->picker()->setDateTime(QDateTime(QDate(2026, 12, 10), QTime(18, 2, 59, 999)));
        picker.goThere();
        const QDateTime shown(QDate(2026, 12, 10), QTime(18, 2));
        QTRY_COMPARE(stage.session->position(), BrokerSession::Position::atTime(shown));
        QCOMPARE(picker.chosen(), shown);
    }

    void thePopoverWritesTheMomentInTheInterfacesLanguage()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 5}})});
        const QDateTime moment(QDate(2026, 2, 9), QTime(16, 5));
        QStringList shown;
        for (const char* language : {"en", "pt"}) {
            UserDefaults::standard().setString(L10n::key, QString::fromLatin1(language));
            PositionPicker picker(stage.session.get());
            picker.popover()->picker()->setDateTime(moment);
            shown << picker.popover()->picker()->text();
        }
        UserDefaults::standard().remove(L10n::key);
        QCOMPARE(shown, (QStringList{"Feb 9, 2026  4:05 PM", "9 de fev. de 2026  16:05"}));
    }

    void theSearchFieldWritesTheTermAndClearsIt()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 3}})});
        stage.kafka().held["orders"][0] = {keyed("orders", 0, 0, "alice", R"({"a":1})", 3),
                                           keyed("orders", 0, 1, "bob", R"({"a":2})", 2),
                                           keyed("orders", 0, 2, "carol", R"({"a":3})", 1)};
        stage.open("orders");
        TopicHeader header(stage.app.get(), stage.session.get());
        header.setTopic(*stage.session->currentTopic());
        MessageSearchField* field = header.searchField();
        QTest::keyClicks(field->edit(), "BOB");
        QCOMPARE(stage.session->messageSearch(), QString("BOB"));
        header.setSearchCounts(stage.session->searchResults().size(), stage.session->messages().size());
        QCOMPARE(field->count()->text(), QString("1 of 3 read"));
        QVERIFY(!field->clearButton()->isHidden());
        QTest::mouseClick(field->clearButton(), Qt::LeftButton);
        QCOMPARE(stage.session->messageSearch(), QString());
        QCOMPARE(field->edit()->text(), QString());
    }

    void headerTilesAndReadRowFollowTheBroker()
    {
        Stage kafka = kafkaStage({fakes::topic("orders.dlq", {{0, 1}})});
        kafka.session->setSelectedTopic(QString("orders.dlq"));
        TopicHeader header(kafka.app.get(), kafka.session.get());
        header.setTopic(*kafka.session->currentTopic());
        QCOMPARE(header.tileTexts(), (QStringList{"1 partition", "1 retained message"}));
        QVERIFY(!header.positionPicker()->isHidden());
        QVERIFY(header.bindingStrip()->isHidden());
        QTest::mouseClick(header.pinButton(), Qt::LeftButton);
        QCOMPARE(kafka.session->pinned(), QStringList{"orders.dlq"});
        QCOMPARE(header.pinButton()->toolTip(), QString("Unpin"));

        // The reread reads the newest messages even after "The beginning".
        syncWait(kafka.session->read(BrokerSession::Position::atBeginning(), 10, false));
        QTest::mouseClick(header.rereadButton(), Qt::LeftButton);
        QTRY_COMPARE(kafka.session->position(), BrokerSession::Position::atTail());

        Stage rabbit = rabbitStage({queue("jobs", 1234)}, {{"jobs", 0}});
        rabbit.session->setSelectedTopic(QString("jobs"));
        TopicHeader queueHeader(rabbit.app.get(), rabbit.session.get());
        queueHeader.setTopic(*rabbit.session->currentTopic());
        QCOMPARE(queueHeader.tileTexts(), (QStringList{QLocale().toString(1234) + " messages", "0 consumers"}));
        QVERIFY(queueHeader.positionPicker()->isHidden());
        QVERIFY(!queueHeader.bindingStrip()->isHidden());

        // Of 8 waiting, 2 are with the consumers: a read lists 6, and the header says why beside the count.
        Topic held = queue("mail", 8);
        held.unacknowledged = 2;
        Stage busy = rabbitStage({held}, {{"mail", 2}});
        busy.session->setSelectedTopic(QString("mail"));
        TopicHeader busyHeader(busy.app.get(), busy.session.get());
        busyHeader.setTopic(*busy.session->currentTopic());
        const QStringList tiles = busyHeader.tileTexts();
        QCOMPARE(tiles.size(), 3);
        QVERIFY2(tiles.at(1).startsWith("2 held by consumers"), qPrintable(tiles.join(" | ")));
    }
};

QTEST_MAIN(TestHeaderParts)
#include "tst_HeaderParts.moc"
