#include "BrowserFixtures.h"

#include "Tessaron/kit/EmptyPane.h"
#include "Tessaron/kit/LawyeredStamp.h"
#include "Tessaron/kit/Spinner.h"
#include "Tessaron/browser/ExhibitView.h"
#include "Tessaron/browser/MessageListModel.h"
#include "Tessaron/browser/MessageListView.h"
#include "Tessaron/browser/QueueReadTerms.h"
#include "Tessaron/browser/ReadConsentPane.h"
#include "Tessaron/browser/RowList.h"
#include "Tessaron/browser/TopicHeader.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PaintedText.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTest>

#include <functional>

using namespace tessaron;
using namespace tessaron::browserfixtures;

namespace {

QMap<int32_t, QList<Message>> three(const QString& topic)
{
    return {{0,
             {keyed(topic, 0, 0, "alice", R"({"n":1})", 9), keyed(topic, 0, 1, "bob", R"({"n":2})", 6),
              keyed(topic, 0, 2, "carol", R"({"n":3})", 3)}}};
}

QStringList shownIDs(const MessageListView& view)
{
    QStringList ids;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        ids << view.model()->messageAt(row).id();
    return ids;
}

// Rows of one height, narrower than any view here.
class FixedRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {60, 23}; }
};

} // namespace

class TestMessageListView : public QObject {
    Q_OBJECT
private slots:
    void init() { useFixedClock(); }

    void kafkaBodiesFollowTheSessionInOrder()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 3}}), fakes::topic("empty", {{0, 0}})});
        stage.kafka().held["orders"] = three("orders");
        MessageListView view(stage.app.get(), stage.session.get());
        QCOMPARE(view.body(), BrowserBody::briefing);
        QVERIFY(view.header()->isHidden());

        auto gate = stage.kafka().gates.hold("page orders 0");
        stage.session->setSelectedTopic(QString("orders"));
        auto reading = stage.session->read(BrokerSession::Position::atTail(), 100, false);
        QCOMPARE(view.body(), BrowserBody::working);
        QVERIFY(!view.header()->isHidden());
        gate->release();
        syncWait(std::move(reading));
        QCOMPARE(view.body(), BrowserBody::columns);
        QCOMPARE(shownIDs(view), (QStringList{"orders/0/2", "orders/0/1", "orders/0/0"}));
        QVERIFY(!view.footer()->isHidden());

        stage.open("empty");
        QCOMPARE(view.body(), BrowserBody::nothingRetained);

        // A selected name that is no longer listed counts as no topic.
        stage.session->setSelectedTopic(QString("gone"));
        QCOMPARE(view.body(), BrowserBody::briefing);
        QVERIFY(view.header()->isHidden());
    }

    // A read the broker never answered says so under the lost-connection banner, never that
    // nothing came back from where it started.
    void aReadCutByALostConnectionSaysSo()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 3}})});
        stage.kafka().held["orders"] = three("orders");
        MessageListView view(stage.app.get(), stage.session.get());
        stage.open("orders");
        QCOMPARE(view.body(), BrowserBody::columns);
        stage.kafka().pageErrors.insert(0, KafkaError(-185, "reading orders/0: the broker did not answer"));
        syncWait(stage.session->read(BrokerSession::Position::atBeginning(), 100, false));
        QVERIFY(stage.session->lostConnection());
        QCOMPARE(view.body(), BrowserBody::nothingRetained);
        QCOMPARE(view.emptyPane()->title(), QString("The read was cut off"));
        QVERIFY(!view.emptyPane()->detail().contains("none came back"));
        // Once the broker answers again, the pane is the read's own.
        stage.kafka().pageErrors.clear();
        stage.session->setLostConnection(std::nullopt);
        syncWait(stage.session->refreshTopics());
        syncWait(stage.session->read(BrokerSession::Position::atBeginning(), 100, false));
        QCOMPARE(view.body(), BrowserBody::columns);
    }

    void theRowsTakeTheirShareOfAWideWindowUntilTheHandleIsDragged()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 3}})});
        stage.kafka().held["orders"] = three("orders");
        MessageListView view(stage.app.get(), stage.session.get());
        stage.open("orders");
        QCOMPARE(view.body(), BrowserBody::columns);
        auto* columns = view.findChild<QSplitter*>();
        view.resize(900, 700);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_COMPARE(columns->sizes().first(), 380);
        view.resize(2400, 1350);
        QTRY_VERIFY(columns->sizes().first() >= (columns->width() - columns->handleWidth()) * 2 / 5 - 1);
        view.resize(900, 700);
        QTRY_COMPARE(columns->sizes().first(), 380);

        // Once dragged, the width is the reader's whatever the window does.
        columns->setSizes({500, columns->width() - 500});
        emit columns->splitterMoved(500, 1);
        view.resize(2400, 1350);
        QTRY_VERIFY(columns->width() > 2000);
        QCOMPARE(columns->sizes().first(), 500);
    }

    void anEmptyReadFromAMomentIsToldFromWhatTheLookupAnswered()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 200}, {0, 40}}), fakes::topic("empty", {{0, 0}})});
        MessageListView view(stage.app.get(), stage.session.get());
        stage.session->setSelectedTopic(QString("orders"));
        const auto moment = BrokerSession::Position::atTime(QDateTime::fromMSecsSinceEpoch(5000, Qt::UTC));

        // After the last message: no partition has one at or after the moment.
        stage.kafka().timeOffsets = {{0, -1}, {1, -1}};
        syncWait(stage.session->read(moment, 100, false));
        QCOMPARE(view.body(), BrowserBody::nothingRetained);
        QCOMPARE(view.emptyPane()->title(), QString("Nothing from that moment on"));
        QCOMPARE(view.emptyPane()->detail(),
                 QString("This topic retains 240 messages, all from before it. Pick an earlier moment, or read the "
                         "latest."));

        // Before the first: the lookup points at the start, yet the pages bring nothing back. What
        // was asked and answered is told; nothing is claimed about the messages' age.
        stage.kafka().timeOffsets = {{0, 0}, {1, -1}};
        syncWait(stage.session->read(moment, 100, false));
        QCOMPARE(view.body(), BrowserBody::nothingRetained);
        QCOMPARE(view.emptyPane()->title(), QString("Nothing read from that moment on"));
        QVERIFY(view.emptyPane()->detail().contains("p0 at offset 0, none in p1"));
        QVERIFY(!view.emptyPane()->detail().contains("before it"));

        // A partition the lookup left out is no "none".
        stage.kafka().timeOffsets = {{0, -1}};
        syncWait(stage.session->read(moment, 100, false));
        QVERIFY(view.emptyPane()->detail().contains("none in p0, nothing for p1"));

        // A failed lookup answered nothing: no claim either.
        stage.kafka().timeError = KafkaError(-1, "looking up offsets: broken");
        syncWait(stage.session->read(moment, 100, false));
        QVERIFY(stage.session->timeAnswer().isEmpty());
        QCOMPARE(view.emptyPane()->title(), QString("Nothing read from there"));

        Topic one = fakes::topic("one", {{0, 1}});
        QCOMPARE(MessageListView::emptyTexts(one, moment, {{0, -1}}).second,
                 QString("This topic retains 1 message, and it is from before that moment. Pick an earlier moment, "
                         "or read the latest."));

        stage.open("empty");
        QCOMPARE(view.body(), BrowserBody::nothingRetained);
        QCOMPARE(view.emptyPane()->title(), QString("Nothing retained"));

        // A topic the user may see but not read: the broker's refusal, not "nothing came back";
        // once allowed again, the read is judged as any other.
        stage.kafka().pageErrors.insert(0, KafkaError(KafkaError::topicAuthorizationFailed, "reading: denied"));
        stage.kafka().pageErrors.insert(1, KafkaError(KafkaError::topicAuthorizationFailed, "reading: denied"));
        syncWait(stage.session->read(BrokerSession::Position::atBeginning(), 100, false));
        QVERIFY(stage.session->readRefused());
        QCOMPARE(view.emptyPane()->title(), QString("Not yours to read"));
        stage.kafka().pageErrors.clear();
        syncWait(stage.session->read(BrokerSession::Position::atBeginning(), 100, false));
        QVERIFY(!stage.session->readRefused());
        QCOMPARE(view.emptyPane()->title(), QString("Nothing retained"));
    }

    void rabbitAsksOnceThenReadsWithoutAFooter()
    {
        Stage stage = rabbitStage({queue("jobs", 2), queue("mail", 1)}, {{"jobs", 0}, {"mail", 1}});
        stage.rabbit().queued = {keyed("jobs", 0, 0, QByteArray(), "one", 2),
                                 keyed("jobs", 0, 1, QByteArray(), "two", 1)};
        MessageListView view(stage.app.get(), stage.session.get());
        // No queue selected: the briefing, even without consent.
        QCOMPARE(view.body(), BrowserBody::briefing);

        stage.open("jobs");
        QCOMPARE(view.body(), BrowserBody::consent);
        QVERIFY(!view.header()->isHidden());
        QVERIFY(stage.rabbit().calls.filter("read ").isEmpty());

        QTest::mouseClick(view.consentPane()->readButton(), Qt::LeftButton);
        QTRY_COMPARE(view.body(), BrowserBody::columns);
        QCOMPARE(stage.rabbit().calls.filter("read ").size(), 1);
        QVERIFY(stage.session->acceptedRabbitReadCost());
        QVERIFY(view.footer()->isHidden());

        // Another queue of the same broker is read without asking.
        stage.open("mail");
        QVERIFY(view.body() != BrowserBody::consent);
        QCOMPARE(stage.rabbit().calls.filter("read ").size(), 2);
    }

    void aRefusedQueueShowsTheSentenceAndNothingToAccept()
    {
        Stage stage = rabbitStage({queue("retries", 3), queue("work", 1)}, {});
        stage.rabbit().costs["retries"] = {QStringLiteral("quorum"), 2};
        stage.rabbit().costs["work"] = {QStringLiteral("quorum"), std::nullopt};
        MessageListView view(stage.app.get(), stage.session.get());
        stage.open("retries");
        QCOMPARE(view.body(), BrowserBody::consent);
        const std::optional<QString> refusal = stage.rabbit().costs["retries"].refusal();
        QVERIFY(refusal);
        QCOMPARE(view.consentPane()->terms().refusal, refusal);
        QVERIFY(!view.consentPane()->readButton()->isVisibleTo(view.consentPane()));
        // Even once the broker's consent is given, the refused queue stays behind its sentence.
        stage.session->setAcceptedRabbitReadCost(true);
        stage.open("retries");
        QCOMPARE(view.body(), BrowserBody::consent);
        QVERIFY(stage.rabbit().calls.filter("read ").isEmpty());

        // A quorum queue without a limit is read; its consent says what a read adds.
        stage.session->setAcceptedRabbitReadCost(false);
        stage.open("work");
        QCOMPARE(view.body(), BrowserBody::consent);
        QVERIFY(!view.consentPane()->terms().refusal);
        QVERIFY(view.consentPane()->terms().raisesDeliveryCount);
        QVERIFY(view.consentPane()->readButton()->isVisibleTo(view.consentPane()));
    }

    void listNumbersFollowTheSearchAndTheExhibitAllMessages()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 3}})});
        stage.kafka().held["orders"] = three("orders");
        stage.open("orders");
        MessageListView view(stage.app.get(), stage.session.get());
        stage.session->setMessageSearch("alice");
        QCOMPARE(shownIDs(view), QStringList{"orders/0/0"});
        QCOMPARE(view.model()->data(view.model()->index(0), MessageListModel::ExhibitRole), QVariant(1));
        // The count line still counts every message read.
        QCOMPARE(view.countLine()->text(), QString("3 read · the end of every partition"));

        QTest::mouseClick(view.listView()->viewport(), Qt::LeftButton, {},
                          view.listView()->visualRect(view.model()->index(0)).center());
        QCOMPARE(stage.session->selectedMessage(), std::optional<QString>("orders/0/0"));
        QCOMPARE(view.exhibit()->exhibitNumber(), std::optional<int>(3));
        QVERIFY(view.model()->isSelected(0));

        // Only spaces: the search runs and matches nothing; the list is empty, not "Nothing retained".
        stage.session->setMessageSearch("   ");
        QCOMPARE(view.model()->rowCount(), 0);
        QCOMPARE(view.body(), BrowserBody::columns);
    }

    void readFurtherWaitsForEveryReadOfTheTopic()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 6}})});
        QList<Message> six;
        for (int i = 0; i < 6; ++i)
            six << keyed("orders", 0, i, "k", R"({"n":1})", 10 - i);
        stage.kafka().held["orders"][0] = six;
        stage.session->setSelectedTopic(QString("orders"));
        syncWait(stage.session->read(BrokerSession::Position::atBeginning(), 2, false));
        MessageListView view(stage.app.get(), stage.session.get());
        QVERIFY(!view.readFurtherButton()->isHidden());
        QVERIFY(view.readFurtherButton()->isEnabled());
        QCOMPARE(view.countLine()->text(), QString("2 read · there is more"));

        auto gate = stage.kafka().gates.hold("page orders 0");
        stage.kafka().calls.clear();
        view.readFurther();
        QVERIFY(!view.readFurtherButton()->isEnabled());
        // The arrow gives way to a spinner in front of the same words while it reads.
        QVERIFY(view.readFurtherButton()->findChild<Spinner*>());
        view.readFurther(); // a second press while the first runs starts nothing
        QCOMPARE(stage.kafka().calls.filter("page ").size(), 1);
        QCOMPARE(stage.kafka().calls.filter("page ").first(), QString("page orders 0 offset 2 limit 100"));
        gate->release();
        QTRY_VERIFY(view.readFurtherButton()->isHidden()); // the end was reached
        QVERIFY(!view.readFurtherButton()->findChild<Spinner*>());
        QCOMPARE(stage.session->messages().size(), 6);
        QCOMPARE(view.countLine()->text(), QString("6 read · the end of every partition"));
    }

    void aFurtherPageKeepsTheSelectionAndTheRowsInView()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 40}})});
        QList<Message> forty;
        for (int i = 0; i < 40; ++i)
            forty << keyed("orders", 0, i, "k", R"({"n":1})", 100 - i);
        stage.kafka().held["orders"][0] = forty;
        stage.session->setSelectedTopic(QString("orders"));
        syncWait(stage.session->read(BrokerSession::Position::atBeginning(), 20, false));
        MessageListView view(stage.app.get(), stage.session.get());
        view.resize(900, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QListView* list = view.listView();
        QTRY_VERIFY(list->verticalScrollBar()->maximum() > 0);
        stage.session->setSelectedMessage(QString("orders/0/5"));
        QCOMPARE(list->currentIndex().row(), 14);
        list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
        const QString topID = view.model()->messageAt(list->indexAt(QPoint(0, 0)).row()).id();

        const QPointer<LawyeredStamp> stamp = view.exhibit()->findChild<LawyeredStamp*>();
        QVERIFY(stamp);
        QCOMPARE(stamp->text(), QString("EXHIBIT 15"));

        QSignalSpy resets(view.model(), &QAbstractItemModel::modelReset);
        QSignalSpy inserted(view.model(), &QAbstractItemModel::rowsInserted);
        view.readFurther();
        QTRY_COMPARE(view.model()->rowCount(), 40);
        // The newer page went in above the rows shown, announced as such.
        QCOMPARE(resets.size(), 0);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted.first().at(1).toInt(), 0);
        QCOMPARE(inserted.first().at(2).toInt(), 19);
        QCOMPARE(shownIDs(view).first(), QString("orders/0/39"));
        QCOMPARE(stage.session->selectedMessage(), std::optional<QString>("orders/0/5"));
        QCOMPARE(list->currentIndex().row(), 34);
        QVERIFY(view.model()->isSelected(34));
        QCOMPARE(view.exhibit()->exhibitNumber(), std::optional<int>(35));
        QCOMPARE(view.model()->messageAt(list->indexAt(QPoint(0, 0)).row()).id(), topID);
        // Renumbered where it stands, not built again.
        QTest::qWait(0);
        QVERIFY(stamp);
        QCOMPARE(stamp->text(), QString("EXHIBIT 35"));

        // A new read is a new list.
        stage.open("orders", 10);
        QCOMPARE(resets.size(), 2); // emptied as it starts, then filled
        QCOMPARE(view.model()->rowCount(), 10);
        QVERIFY(!list->currentIndex().isValid());
    }

    void aMergedPageIsInsertedWhereverItLands()
    {
        // Newest first: offset 59 on top.
        auto list = [](auto keep) {
            QList<Message> messages;
            for (int i = 59; i >= 0; --i) {
                if (keep(i))
                    messages << keyed("orders", 0, i, "k", R"({"n":1})", 1000 + i);
            }
            return messages;
        };
        auto ids = [](const MessageListModel& model) {
            QStringList shown;
            for (int row = 0; row < model.rowCount(); ++row)
                shown << model.messageAt(row).id();
            return shown;
        };
        auto idsOf = [](const QList<Message>& messages) {
            QStringList shown;
            for (const Message& m : messages)
                shown << m.id();
            return shown;
        };
        const QString selected("orders/0/15");
        // One run between the rows shown, then many runs (every other row), then a list that does
        // not hold the rows shown in order: inserted, inserted, started over.
        struct Case {
            std::function<bool(int)> kept;
            int runs;
            int selectedRow;
        };
        // Each found by comparing the rows, told where the new rows are, and told wrongly (the runs
        // one row off): the same rows, inserted the same way.
        enum class Told { nothing, rightly, wrongly };
        for (const Case& c :
             {Case{[](int i) { return i < 20 || i >= 30; }, 1, 34}, Case{[](int i) { return i % 2 == 1; }, 30, 22}})
            for (Told told : {Told::nothing, Told::rightly, Told::wrongly}) {
                MessageListModel model;
                QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
                model.setRows(list(c.kept), {}, selected);
                QCOMPARE(model.rowOf(selected), c.selectedRow);
                QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
                QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
                const QList<Message> all = list([](int) { return true; });
                QList<std::pair<int, int>> runs;
                for (int row = 0; row < all.size(); ++row) {
                    if (c.kept(59 - row))
                        continue;
                    if (!runs.isEmpty() && runs.last().first + runs.last().second == row)
                        ++runs.last().second;
                    else
                        runs.append({row, 1});
                }
                if (told == Told::wrongly) {
                    for (auto& run : runs)
                        ++run.first;
                }
                if (told == Told::nothing)
                    model.mergeRows(all, selected);
                else
                    model.insertRuns(all, runs, selected);
                QCOMPARE(inserted.size(), c.runs);
                QCOMPARE(resets.size(), 0);
                QCOMPARE(ids(model), idsOf(all));
                QCOMPARE(model.rowOf(selected), 44);
                QVERIFY(model.isSelected(44));
            }
        MessageListModel model;
        model.setRows(list([](int i) { return i < 10; }), {}, selected);
        QCOMPARE(model.rowOf(selected), -1);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QList<Message> reversed = list([](int i) { return i < 30; });
        std::reverse(reversed.begin(), reversed.end());
        model.mergeRows(reversed, selected);
        QCOMPARE(resets.size(), 1);
        QCOMPARE(ids(model), idsOf(reversed));
        QCOMPARE(model.rowOf(selected), 15);
    }

    void outliersFollowTheVerdictPageByPage()
    {
        QList<Message> rows;
        for (int i = 9; i >= 0; --i)
            rows << keyed("orders", 0, i, "k", R"({"n":1})", 1000 + i);
        MessageListModel model;
        model.setRows(rows, {"orders/0/9"}, std::nullopt);
        auto outliers = [&] {
            QStringList marked;
            for (int row = 0; row < model.rowCount(); ++row) {
                if (model.isOutlier(row))
                    marked << model.messageAt(row).id();
            }
            return marked;
        };
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        // Given anew, grown in place (in the held order), one taken away, the same out of order.
        const QList<QStringList> verdicts = {{"orders/0/8", "orders/0/2"},
                                             {"orders/0/9", "orders/0/8", "orders/0/5", "orders/0/2"},
                                             {"orders/0/9", "orders/0/5", "orders/0/2"},
                                             {"orders/0/5", "orders/0/9", "orders/0/2"}};
        for (const QStringList& verdict : verdicts) {
            model.followOutliers(verdict);
            QStringList expected = verdict;
            std::sort(expected.begin(), expected.end(), std::greater<>());
            QCOMPARE(outliers(), expected);
        }
        QCOMPARE(changed.size(), 3); // the last is the same set
        model.followOutliers({});
        QCOMPARE(outliers(), QStringList{});
    }

    void aSwitchDuringAReadShowsNothingOfTheOldTopic()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 3}}), fakes::topic("payments", {{0, 3}})});
        stage.kafka().held["orders"] = three("orders");
        stage.kafka().held["payments"] = three("payments");
        MessageListView view(stage.app.get(), stage.session.get());
        auto gate = stage.kafka().gates.hold("page orders 0");
        stage.session->setSelectedTopic(QString("orders"));
        auto slow = stage.session->read(BrokerSession::Position::atTail(), 100, false);
        stage.open("payments");
        gate->release();
        syncWait(std::move(slow));
        QCOMPARE(view.header()->topic()->name, QString("payments"));
        for (const QString& id : shownIDs(view))
            QVERIFY2(id.startsWith("payments/"), qPrintable(id));
        QCOMPARE(view.model()->rowCount(), 3);
    }

    void aShortPaneScrollsInsteadOfSqueezingTheHeader()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 5}, {0, 5}})},
                                 {{"billing-service", "Stable", false},
                                  {"analytics-nightly-export-consumer-group-v2", "Stable", false},
                                  {"search-indexer", "Empty", false}});
        stage.kafka().held["orders"] = driftingOrders();
        MessageListView view(stage.app.get(), stage.session.get());
        stage.open("orders");
        QCOMPARE(stage.session->shapeVerdict().tag(), ShapeVerdict::Case::drift);
        view.show();
        QScrollArea* pane = view.pane();
        QWidget* rows = view.listView()->parentWidget();
        auto whole = [&] {
            // The header at the height its width needs, nothing wider than the pane, and the rows
            // beside the exhibit, not under it.
            const int needed = view.header()->heightForWidth(view.header()->width());
            const int rowsRight = rows->mapTo(&view, QPoint(rows->width(), 0)).x();
            const int exhibitLeft = view.exhibit()->mapTo(&view, QPoint(0, 0)).x();
            return view.header()->height() >= needed && pane->widget()->width() <= pane->viewport()->width()
                && rowsRight <= exhibitLeft
                && view.exhibit()->mapTo(&view, QPoint(view.exhibit()->width(), 0)).x() <= view.width();
        };
        view.resize(900, 900);
        QTRY_VERIFY(whole());
        QCOMPARE(pane->verticalScrollBar()->maximum(), 0);
        // The smallest window's pane: the header stays whole and the pane scrolls to the rows.
        view.resize(520, 480);
        QTRY_VERIFY(pane->verticalScrollBar()->maximum() > 0);
        QTRY_VERIFY(whole());
        QVERIFY(view.listView()->height() > 0);
    }

    void theConsentAtTheSmallestWindowKeepsItsButtonInView()
    {
        Stage stage = rabbitStage({queue("jobs", 2)}, {{"jobs", 0}});
        MessageListView view(stage.app.get(), stage.session.get());
        stage.open("jobs");
        QCOMPARE(view.body(), BrowserBody::consent);
        view.show();
        QScrollArea* pane = view.pane();
        KitButton* read = view.consentPane()->readButton();
        // The pane beside the sidebar in the smallest window; the consent is counted once, so
        // the button stands inside what the pane shows without scrolling.
        view.resize(520, 480);
        QTRY_VERIFY(read->isVisible());
        QTest::qWait(50);
        const QRect shown = pane->viewport()->rect();
        const QRect button(read->mapTo(pane->viewport(), QPoint(0, 0)), read->size());
        QVERIFY2(
            shown.contains(button),
            qPrintable(
                QString("button at %1,%2 in a %3 px tall pane").arg(button.x()).arg(button.y()).arg(shown.height())));
        // Given room, it does not scroll at all.
        view.resize(600, 640);
        QTRY_COMPARE(pane->verticalScrollBar()->maximum(), 0);
    }

    void keyboardMovesTheSelection()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 3}})});
        stage.kafka().held["orders"] = three("orders");
        stage.open("orders");
        MessageListView view(stage.app.get(), stage.session.get());
        view.resize(900, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::mouseClick(view.listView()->viewport(), Qt::LeftButton, {},
                          view.listView()->visualRect(view.model()->index(0)).center());
        QTest::keyClick(view.listView(), Qt::Key_Down);
        QCOMPARE(stage.session->selectedMessage(), std::optional<QString>("orders/0/1"));
        QCOMPARE(view.exhibit()->exhibitNumber(), std::optional<int>(2));
        // A fresh read clears the selection: the column falls back to the case notes.
        stage.open("orders");
        QVERIFY(view.exhibit()->showsNotes());
    }

    // Page Down and Up move the selection a page, as Qt's list pages its current row, and bring it
    // into view; the exhibit follows, and the arrows go on from there.
    void pageKeysMoveTheSelectionAPageIntoView()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 60}})});
        QList<Message> sixty;
        for (int i = 0; i < 60; ++i)
            sixty << keyed("orders", 0, i, "k", R"({"n":1})", 100 - i);
        stage.kafka().held["orders"][0] = sixty;
        stage.open("orders");
        MessageListView view(stage.app.get(), stage.session.get());
        view.resize(900, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto* list = static_cast<RowList*>(view.listView());
        QTRY_VERIFY(list->verticalScrollBar()->maximum() > 0);
        const auto selectedRow = [&] { return view.model()->rowOf(stage.session->selectedMessage().value_or("")); };
        const auto inView = [&](int row) {
            return list->viewport()->rect().contains(list->visualRect(view.model()->index(row)));
        };
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(view.model()->index(1)).center());
        QCOMPARE(selectedRow(), 1);
        list->setFocus();

        const int paged = list->pageFrom(view.model()->index(1), true).row();
        QVERIFY2(paged > 2 && !inView(paged), "a page down lands below the rows shown");
        QTest::keyClick(list, Qt::Key_PageDown);
        QCOMPARE(selectedRow(), paged);
        QVERIFY(inView(paged));
        QCOMPARE(list->currentIndex().row(), paged);
        QCOMPARE(view.exhibit()->exhibitNumber(), std::optional<int>(paged + 1));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(selectedRow(), paged + 1);

        for (int i = 0; i < 20; ++i)
            QTest::keyClick(list, Qt::Key_PageDown);
        QCOMPARE(selectedRow(), 59);
        QVERIFY(inView(59));
        QTest::keyClick(list, Qt::Key_PageUp);
        const int back = selectedRow();
        QVERIFY(back < 59 - 2 && inView(back));
        for (int i = 0; i < 20; ++i)
            QTest::keyClick(list, Qt::Key_PageUp);
        QCOMPARE(selectedRow(), 0);
        QCOMPARE(list->verticalScrollBar()->value(), 0);
    }

    // A screen reader hears the list's focus move only while the list has the keyboard: a message
    // selected from elsewhere (a button in the case notes) makes its row current, not focused.
    void theListAnnouncesFocusOnlyWhileItHasIt()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 3}})});
        stage.kafka().held["orders"] = three("orders");
        stage.open("orders");
        QWidget window;
        auto* column = new QVBoxLayout(&window);
        auto* elsewhere = new QPushButton("elsewhere");
        column->addWidget(elsewhere);
        auto* view = new MessageListView(stage.app.get(), stage.session.get());
        column->addWidget(view);
        window.resize(900, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        static QList<std::pair<QObject*, int>> focusEvents;
        focusEvents.clear();
        const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            if (event->type() == QAccessible::Focus)
                focusEvents.append({event->object(), event->child()});
        });
        QAccessible::setActive(true);
        const auto restore = qScopeGuard([previous] {
            QAccessible::installUpdateHandler(previous);
            QAccessible::setActive(false);
        });
        // Qt's bridge comes up once it has reached the AT-SPI bus (with_a11y_bus.sh provides one).
        if (qEnvironmentVariableIsSet("TESSARON_A11Y_BUS"))
            QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
        else if (!QAccessible::isActive())
            QSKIP("no screen reader bus here; ctest runs this again on one (test_browser_pane_announcements)");
        QListView* list = view->listView();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        elsewhere->setFocus();
        QVERIFY(elsewhere->hasFocus());
        stage.session->setSelectedMessage(QString("orders/0/1"));
        QCOMPARE(list->currentIndex().row(), 1);
        for (const auto& [object, child] : focusEvents)
            QVERIFY2(object != list, "the list announced a focus it does not have");

        list->setFocus();
        focusEvents.clear();
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(focusEvents.contains(std::pair<QObject*, int>{list, 2}));
    }

    // What a screen reader gets for a row: number, key and preview as its name, where and when as
    // its description, and the session's selection as the selected state, through a search too.
    void aRowReadsAsWhatItShows()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 5}})});
        QMap<int32_t, QList<Message>> held = three("orders");
        held[0].append(Message("orders", 0, 3, std::nullopt, std::nullopt, fixedNow().addSecs(-60), {}));
        held[0].append(keyed("orders", 0, 4, QByteArray("\xff\xfe", 2), "x", 12));
        stage.kafka().held["orders"] = held;
        stage.open("orders");
        MessageListView view(stage.app.get(), stage.session.get());
        view.resize(900, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        // Coloured JSON, text, a tombstone's symbol: after its first paint each row's preview is a
        // kept picture, and lands pixel for pixel where the text drawn anew does.
        QWidget* rows = view.listView()->viewport();
        rows->grab();
        const QImage kept = rows->grab().toImage();
        {
            PaintedText::Recording drawnAnew;
            QCOMPARE(rows->grab().toImage(), kept);
        }
        // Offscreen no platform accessibility listens, so nothing flushes the list's cached rows
        // when the model is reset: each read starts from a fresh interface, as a reader's would.
        const auto row = [&](int r) {
            QAccessible::deleteAccessibleInterface(
                QAccessible::uniqueId(QAccessible::queryAccessibleInterface(view.listView())));
            return QAccessible::queryAccessibleInterface(view.listView())->child(r);
        };
        const auto isolated = [](const QString& text) { return QChar(0x2068) + text + QChar(0x2069); };

        // Newest first: the keyless tombstone, then carol.
        QCOMPARE(row(0)->text(QAccessible::Name), QString("1, no key, ") + isolated("tombstone — this key is deleted"));
        QCOMPARE(row(1)->text(QAccessible::Name), "2, key " + isolated("carol") + ", " + isolated(R"({"n":3})"));
        QCOMPARE(row(1)->text(QAccessible::Description), QString("p0 at offset 2, 3 min ago"));
        QVERIFY(!row(1)->state().selected);
        // A key that is not text is drawn as "∅" too, but it is not the absence of one.
        const int binaryKey = view.model()->rowOf("orders/0/4");
        QCOMPARE(row(binaryKey)->text(QAccessible::Name),
                 QString::number(binaryKey + 1) + ", a key that is not text, " + isolated("x"));

        QTest::mouseClick(view.listView()->viewport(), Qt::LeftButton, {},
                          view.listView()->visualRect(view.model()->index(1)).center());
        QVERIFY(row(1)->state().selected);
        QVERIFY(!row(0)->state().selected);
        // The arrow keys move the selected state and the focus together.
        QTest::keyClick(view.listView(), Qt::Key_Down);
        QVERIFY(row(2)->state().selected && row(2)->state().focused);
        QVERIFY(!row(1)->state().selected);

        // A search renumbers the rows and keeps the selected message selected.
        stage.session->setMessageSearch("bob");
        QCOMPARE(view.model()->rowCount(), 1);
        QVERIFY(row(0)->text(QAccessible::Name).startsWith("1, key " + isolated("bob")));
        QVERIFY(row(0)->state().selected);
        stage.session->setMessageSearch("alice");
        QVERIFY(!row(0)->state().selected);
    }

    // The message rows are never laid out one by one: where a row is, what is under the pointer,
    // and where the keys and a scroll to a row lead are what Qt's own list gives for the same rows, before and after rows arrive above.
    void theRowsGoWhereQtsListPutsThem()
    {
        QStringList words;
        for (int i = 0; i < 300; ++i)
            words << QString::number(i);
        QStringListModel model(words);
        QListView qt;
        qt.setUniformItemSizes(true);
        qt.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        qt.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        RowList ours;
        for (QListView* view : {&qt, static_cast<QListView*>(&ours)}) {
            // As the message list has it.
            view->setSelectionMode(QAbstractItemView::NoSelection);
            view->setAutoScroll(false);
            view->setMouseTracking(true);
            view->setModel(&model);
            view->setItemDelegate(new FixedRows(view));
            view->resize(240, 200);
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view));
        }
        auto compareGeometry = [&] {
            QCOMPARE(ours.verticalScrollBar()->maximum(), qt.verticalScrollBar()->maximum());
            QCOMPARE(ours.verticalScrollBar()->pageStep(), qt.verticalScrollBar()->pageStep());
            for (int value : {0, 7, 230, qt.verticalScrollBar()->maximum()}) {
                qt.verticalScrollBar()->setValue(value);
                ours.verticalScrollBar()->setValue(value);
                for (int row : {0, 1, 9, 10, 150, model.rowCount() - 1})
                    QCOMPARE(ours.visualRect(model.index(row)), qt.visualRect(model.index(row)));
                for (int y = -3; y < ours.viewport()->height() + 3; y += 5) {
                    for (int x : {-1, 0, 100, ours.viewport()->width() - 1, ours.viewport()->width()})
                        QCOMPARE(ours.indexAt({x, y}), qt.indexAt({x, y}));
                }
            }
        };
        auto compareMoves = [&] {
            const int last = model.rowCount() - 1;
            for (int from : {0, 1, 5, 8, 9, 40, last - 9, last - 8, last - 1, last}) {
                for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Down, Qt::Key_Up, Qt::Key_Home,
                                    Qt::Key_End, Qt::Key_Left, Qt::Key_Right}) {
                    for (QListView* view : {&qt, static_cast<QListView*>(&ours)}) {
                        view->verticalScrollBar()->setValue(0);
                        view->setCurrentIndex(model.index(from));
                        QTest::keyClick(view, key);
                    }
                    QCOMPARE(ours.currentIndex().row(), qt.currentIndex().row());
                    QCOMPARE(ours.verticalScrollBar()->value(), qt.verticalScrollBar()->value());
                }
            }
            for (auto hint : {QAbstractItemView::EnsureVisible, QAbstractItemView::PositionAtTop,
                              QAbstractItemView::PositionAtBottom, QAbstractItemView::PositionAtCenter}) {
                for (int row : {0, 3, 120, last}) {
                    qt.verticalScrollBar()->setValue(500);
                    ours.verticalScrollBar()->setValue(500);
                    qt.scrollTo(model.index(row), hint);
                    ours.scrollTo(model.index(row), hint);
                    QCOMPARE(ours.verticalScrollBar()->value(), qt.verticalScrollBar()->value());
                }
            }
        };
        // A page of exactly eight rows, a pixel either side of it, and a few rows and a bit.
        for (int height : {186, 185, 187, 200}) {
            qt.resize(240, height);
            ours.resize(240, height);
            QCoreApplication::processEvents();
            compareGeometry();
            compareMoves();
        }
        model.insertRows(0, 25);
        QCoreApplication::processEvents();
        compareGeometry();
        compareMoves();

        // What is on the screen once scrolled, not only where the rows are said to be.
        for (QListView* view : {&qt, static_cast<QListView*>(&ours)})
            view->selectionModel()->clear();
        for (int value : {0, 100, 337, 23, qt.verticalScrollBar()->maximum()}) {
            QList<QImage> shown;
            for (QListView* view : {&qt, static_cast<QListView*>(&ours)}) {
                view->verticalScrollBar()->setValue(value);
                QCoreApplication::processEvents();
                shown << view->screen()->grabWindow(view->winId()).toImage();
            }
            QVERIFY(!shown[0].isNull());
            QCOMPARE(shown[1], shown[0]);
        }
    }

    void theMascotCountsItsBoops()
    {
        EmptyPane pane("Nothing retained", std::nullopt);
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(pane.mascot(), Qt::LeftButton);
        QCOMPARE(pane.boops(), 3);
    }
};

QTEST_MAIN(TestMessageListView)
#include "tst_MessageListView.moc"
