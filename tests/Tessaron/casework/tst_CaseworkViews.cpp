// The casework views over real sessions on the fake clients: flows, states and late results.
#include "Tessaron/casework/BriefingLogic.h"
#include "Tessaron/casework/BrokerBriefing.h"
#include "Tessaron/casework/CaseworkStyle.h"
#include "Tessaron/casework/ConsumerGroupView.h"
#include "Tessaron/casework/GroupCards.h"
#include "Tessaron/casework/SkewChart.h"
#include "Tessaron/casework/TopicNotes.h"
#include "Tessaron/casework/VerdictBar.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "support/SessionFakes.h"
#include "TessaronCore/analysis/GroupVerdict.h"
#include "TessaronCore/analysis/PartitionSkew.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/TransformEffect.h"

#include <QLabel>
#include <QScopeGuard>
#include <QTest>

using namespace tessaron;
using namespace tessaron::fakes;

namespace {

struct Scene : Rig {
    void open(const Broker& broker, bool connect = true)
    {
        app = std::make_unique<AppState>(clients);
        session = connect ? connectedSession(clients, broker)
                          : std::make_unique<BrokerSession>(broker, std::nullopt, std::nullopt, std::nullopt, clients);
    }
};

// The group screen's fixture: orders listed with three partitions, two groups that describe.
void seedGroups(Scene& scene)
{
    scene.clients->kafka->listed = QList<Topic>{topic("orders", {{0, 100}, {0, 200}, {0, 300}})};
    scene.clients->kafka->listedGroups = QList<ConsumerGroup>{{"alpha", "Stable", false}, {"beta", "Empty", false}};
    GroupDescription alpha{"alpha", "Stable", "range", QString("b1:9092"), {}};
    alpha.members = {{"m-1", "worker-1", "/10.0.0.1", std::nullopt, {{"orders", 0}, {"orders", 1}, {"orders", 2}}}};
    scene.clients->kafka->descriptions.insert("alpha", alpha);
    scene.clients->kafka->commits.insert("alpha", {{{"orders", 0}, 100}, {{"orders", 1}, 150}, {{"orders", 2}, 300}});
    scene.clients->kafka->descriptions.insert("beta", {"beta", "Empty", "", std::nullopt, {}});
    scene.clients->kafka->commits.insert("beta", {{{"orders", 0}, 10}, {{"gone", 0}, 5}});
}

QStringList texts(QWidget* root, const QString& objectName)
{
    QStringList out;
    for (QLabel* label : root->findChildren<QLabel*>(objectName))
        out << label->text();
    return out;
}

} // namespace

class TestCaseworkViews : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        AccessibilitySettings::instance().setReduceMotion(true);
    }

    void selectingAnotherGroupShowsItsWorkingStateNeverThePreviousPage()
    {
        Scene scene;
        seedGroups(scene);
        scene.open(kafkaBroker());
        ConsumerGroupView view(scene.app.get(), scene.session.get());
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::working);

        scene.session->setSelectedGroup("alpha");
        syncWait(scene.session->loadGroupDetail());
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::detail);
        QCOMPARE(view.shownGroup(), QString("alpha"));

        // Beta's description is held back: alpha's detail is still published, but not beta's page.
        auto gate = scene.clients->kafka->gates.hold("describe beta");
        scene.session->setSelectedGroup("beta");
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::working);
        auto load = scene.session->loadGroupDetail();
        QVERIFY(scene.session->groupDetail().has_value()); // alpha's, still
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::working);
        QVERIFY(view.shownGroup().isEmpty());
        gate->release();
        syncWait(std::move(load));
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::detail);
        QCOMPARE(view.shownGroup(), QString("beta"));
    }

    void aGroupOfAnotherKindIsSaidToBeOneNeverDescribedOrMeasured()
    {
        Scene scene;
        seedGroups(scene);
        ConsumerGroup shared{"sharers", "Stable", false};
        shared.protocol = ConsumerGroup::Protocol::other;
        scene.clients->kafka->listedGroups->append(shared);
        scene.open(kafkaBroker());
        ConsumerGroupView view(scene.app.get(), scene.session.get());
        scene.session->setSelectedGroup("sharers");
        syncWait(scene.session->loadGroupDetail());
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::otherKind);
        QVERIFY(view.findChild<QWidget*>("groupOtherKind"));
        QVERIFY(!scene.clients->kafka->calls.contains("describe sharers"));
        QVERIFY(!scene.clients->kafka->calls.contains("committed sharers"));
        // A consumer group selected after it is described as usual.
        scene.session->setSelectedGroup("alpha");
        syncWait(scene.session->loadGroupDetail());
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::detail);

        // The briefing's card counts consumer groups only: the share group, though it has no
        // members once stopped, is no consumer group nobody reads for.
        shared.state = "Empty";
        const BriefingLogic text =
            BriefingLogic::of(BriefingLogic::Wording::kafka, {}, {shared, {"beta", "Empty", false}}, {});
        QCOMPARE(text.groups.size(), 1);
        QCOMPARE(text.emptyGroups.size(), 1);
    }

    void aFailedDescribeShowsTheEmptyPaneWithTheFailure()
    {
        Scene scene;
        seedGroups(scene);
        scene.clients->kafka->describeErrors.insert("lost", KafkaError(69, "describing group lost: not found"));
        scene.open(kafkaBroker());
        ConsumerGroupView view(scene.app.get(), scene.session.get());
        scene.session->setSelectedGroup("lost");
        syncWait(scene.session->loadGroupDetail());
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::failed);
        QCOMPARE(texts(&view, "emptyDetail"), QStringList{"describing group lost: not found"});
    }

    void offsetsThatWouldNotReadAreNoGroupThatNeverCommitted()
    {
        Scene scene;
        seedGroups(scene);
        scene.clients->kafka->committedErrors.insert(
            "beta", KafkaError(30, "reading beta's offsets: Broker: Group authorization failed"));
        scene.open(kafkaBroker());
        ConsumerGroupView view(scene.app.get(), scene.session.get());
        scene.session->setSelectedGroup("beta");
        syncWait(scene.session->loadGroupDetail());
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::detail);
        // Can't see, with the reason; nothing says it never committed.
        QCOMPARE(GroupVerdict::verdict(*scene.session->groupDetail()), GroupVerdict::cannotSee(0));
        QVERIFY(!view.findChild<QWidget*>("noPositionsCard"));
        QVERIFY(view.findChild<QWidget*>("blindSpotCard"));
        const QStringList explanation = texts(&view, "explanation");
        QCOMPARE(explanation.size(), 1);
        QVERIFY2(!explanation[0].contains("nothing committed"), qPrintable(explanation[0]));
    }

    void theDetailPageHandsOverToTheResetSheetAndTheTopic()
    {
        Scene scene;
        seedGroups(scene);
        scene.open(kafkaBroker());
        ConsumerGroupView view(scene.app.get(), scene.session.get());
        view.resize(760, 900);
        view.show();
        scene.session->setSelectedGroup("beta");
        syncWait(scene.session->loadGroupDetail());
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::detail);

        // One reset button: the listed topic has one, the unlisted "gone" none.
        const auto resets = view.findChildren<QAbstractButton*>("movePosition");
        QCOMPARE(resets.size(), 1);
        QCOMPARE(view.findChildren<ElidedLabel*>("unlistedTopic").size(), 1);
        QTest::mouseClick(resets.first(), Qt::LeftButton);
        QVERIFY(scene.app->action().has_value());
        QCOMPARE(scene.app->action()->which(), AppState::Action::resetOffsets);
        QCOMPARE(*scene.app->action()->group(), (ConsumerGroup{"beta", "Empty", false}));
        QCOMPARE(scene.app->action()->topic()->name, QString("orders"));
        QCOMPARE(scene.session->selectedGroup(), std::optional<QString>("beta")); // a reset selects nothing

        // The position table marks nothing without a behind verdict, and says where it cannot see.
        const auto tables = view.findChildren<PositionTable*>("positionTable");
        QCOMPARE(tables.size(), 2);
        QVERIFY(!tables[0]->cells().first().worst);

        // "Open the topic" selects it, which deselects the group.
        const auto open = view.findChildren<QAbstractButton*>("openTopic");
        QCOMPARE(open.size(), 1);
        // A screen reader hears which topic each button is for.
        QCOMPARE(open.first()->accessibleName(), QString("Open the topic orders"));
        QCOMPARE(resets.first()->accessibleName(), QString("Move the position on orders…"));
        QTest::mouseClick(open.first(), Qt::LeftButton);
        QCOMPARE(scene.session->selectedTopic(), std::optional<QString>("orders"));
        QVERIFY(!scene.session->selectedGroup());
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::working);
    }

    void lookAgainReloadsAndWaitsWhileLoading()
    {
        Scene scene;
        seedGroups(scene);
        scene.open(kafkaBroker());
        ConsumerGroupView view(scene.app.get(), scene.session.get());
        view.resize(760, 900);
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        scene.session->setSelectedGroup("alpha");
        syncWait(scene.session->loadGroupDetail());
        QAbstractButton* again = view.findChild<QAbstractButton*>("lookAgain");
        QVERIFY(again && again->isEnabled());
        // The keyboard focus survives a rebuilt page: on the same topic's button...
        const auto shown = [&view](const char* name) {
            // A rebuilt page's buttons show, and the replaced page's go, from the event loop.
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return view.findChild<QAbstractButton*>(name);
        };
        shown("openTopic")->setFocus();
        syncWait(scene.session->loadGroupDetail());
        QVERIFY(shown("openTopic")->hasFocus());
        // ...and on "Look again", which waits disabled while its reload runs.
        again = shown("lookAgain");
        again->setFocus();
        // The worst partition is marked: alpha lags only on p1.
        QCOMPARE(view.findChild<PositionTable*>("positionTable")->cells()[1].worst, true);

        auto gate = scene.clients->kafka->gates.hold("describe alpha");
        const qsizetype before = scene.clients->kafka->calls.count("describe alpha");
        again->click();
        QCOMPARE(scene.clients->kafka->calls.count("describe alpha"), before + 1);
        // The page stays while the reload runs; its button waits.
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::detail);
        again = view.findChild<QAbstractButton*>("lookAgain");
        QVERIFY(!again->isEnabled());
        gate->release();
        QTRY_VERIFY(!scene.session->isLoadingGroup());
        QVERIFY(shown("lookAgain")->isEnabled());
        QVERIFY(shown("lookAgain")->hasFocus());
    }

    void aClosedGroupScreenIgnoresALateDetail()
    {
        Scene scene;
        seedGroups(scene);
        scene.open(kafkaBroker());
        auto* view = new ConsumerGroupView(scene.app.get(), scene.session.get());
        auto gate = scene.clients->kafka->gates.hold("describe alpha");
        scene.session->setSelectedGroup("alpha");
        auto load = scene.session->loadGroupDetail();
        delete view;
        gate->release();
        syncWait(std::move(load));
        QVERIFY(scene.session->groupDetail().has_value());
    }

    void briefingLinksOnlySelect()
    {
        Scene scene;
        scene.clients->kafka->listed =
            QList<Topic>{topic("orders", {{0, 10}}), topic("orders.dlq", {{0, 4}}), topic("audit", {{0, 0}})};
        scene.clients->kafka->listedGroups = QList<ConsumerGroup>{{"billing", "Stable", false}};
        scene.open(kafkaBroker());
        BrokerBriefing briefing(scene.app.get(), scene.session.get());
        briefing.resize(900, 700);
        briefing.show();
        QCOMPARE(texts(&briefing, "footer"),
                 QStringList{"Pick a topic. I'll read its tail — no group joined, nothing committed."});

        scene.session->setSelectedTopic("orders");
        const auto groups = briefing.findChildren<QAbstractButton*>("groupLink");
        QCOMPARE(groups.size(), 1);
        QTest::mouseClick(groups.first(), Qt::LeftButton);
        QCOMPARE(scene.session->selectedGroup(), std::optional<QString>("billing"));
        QVERIFY(!scene.session->selectedTopic());

        const auto dead = briefing.findChildren<QAbstractButton*>("topicLink");
        QCOMPARE(dead.size(), 1);
        dead.first()->setFocus();
        QTest::keyClick(dead.first(), Qt::Key_Space);
        QCOMPARE(scene.session->selectedTopic(), std::optional<QString>("orders.dlq"));
        QVERIFY(!scene.session->selectedGroup());
        // The links only select: what is read is the session's own read of the selection, from its newest.
        QTRY_COMPARE(scene.clients->kafka->calls.filter("page orders.dlq 0 tail").size(), 1);
        QCOMPARE(scene.clients->kafka->calls.filter("page ").size(),
                 scene.clients->kafka->calls.filter(" tail ").size());
    }

    void briefingWordingFollowsTheLiveConnection()
    {
        Scene scene;
        Broker broker = rabbitBroker();
        scene.clients->rabbit = std::make_shared<FakeRabbit>(broker);
        Topic invoices = topic("invoices");
        invoices.declaredDepth = 12;
        scene.clients->rabbit->listing.queues = {invoices};
        scene.clients->rabbit->listing.consumers = {{"invoices", 0}};
        scene.open(broker, false);
        BrokerBriefing briefing(scene.app.get(), scene.session.get());
        // Not connected yet: the Kafka wording, whatever the saved kind.
        QCOMPARE(texts(&briefing, "footer"),
                 QStringList{"Pick a topic. I'll read its tail — no group joined, nothing committed."});
        syncWait(scene.session->connectBroker());
        QCOMPARE(texts(&briefing, "footer"),
                 QStringList{"Pick a queue. Reading one costs something there, so I'll ask first."});
        QVERIFY(briefing.findChild<QWidget*>("consumersCard"));
        QVERIFY(!briefing.findChild<QWidget*>("groupsCard"));
        QCOMPARE(briefing.findChildren<QAbstractButton*>("topicLink").size(), 1);
        scene.session->disconnectBroker();
        QCOMPARE(texts(&briefing, "footer"),
                 QStringList{"Pick a topic. I'll read its tail — no group joined, nothing committed."});
    }

    void aFailedListingIsSaidPlainlyAndInvitesNoPick()
    {
        Scene scene;
        scene.clients->kafka->topicsError = KafkaError(-1, "listing topics: Broker transport failure");
        scene.open(kafkaBroker());
        BrokerBriefing briefing(scene.app.get(), scene.session.get());
        QCOMPARE(texts(&briefing, "arrival"),
                 QStringList{"I couldn't list the topics on this broker, so I have nothing to report."});
        QVERIFY(texts(&briefing, "footer").isEmpty());
        QVERIFY(!briefing.findChild<QWidget*>("emptyBrokerPanel"));

        // A listing that then succeeds brings the invitation back.
        scene.clients->kafka->topicsError.reset();
        scene.clients->kafka->listed = QList<Topic>{topic("orders", {{0, 10}})};
        syncWait(scene.session->refreshTopics());
        QCOMPARE(texts(&briefing, "footer"),
                 QStringList{"Pick a topic. I'll read its tail — no group joined, nothing committed."});
    }

    void aLanguageChangeRedrawsTheBriefingAndKeepsTheSelection()
    {
        Scene scene;
        scene.clients->kafka->listed = QList<Topic>{topic("orders", {{0, 10}})};
        scene.open(kafkaBroker());
        scene.session->setSelectedTopic("orders");
        BrokerBriefing briefing(scene.app.get(), scene.session.get());
        const QString english = "Pick a topic. I'll read its tail — no group joined, nothing committed.";
        QCOMPARE(texts(&briefing, "footer"), QStringList{english});
        UserDefaults::standard().setString(L10n::key, "pt");
        QTRY_VERIFY(texts(&briefing, "footer") != QStringList{english});
        QCOMPARE(texts(&briefing, "footer"), QStringList{L10n::t(english)});
        QCOMPARE(scene.session->selectedTopic(), std::optional<QString>("orders"));
        UserDefaults::standard().setString(L10n::key, "en");
        QTRY_COMPARE(texts(&briefing, "footer"), QStringList{english});
    }

    void notesLinkTheDisagreeingMessagesAndCountTheRest()
    {
        Scene scene;
        scene.clients->kafka->listed = QList<Topic>{topic("orders", {{0, 20}})};
        // Thirteen agree; seven carry "a" as text.
        for (int i = 0; i < 20; ++i) {
            const QByteArray payload = i % 3 == 0 ? QByteArray("{\"a\":\"x\"}") : QByteArray("{\"a\":1}");
            scene.clients->kafka->held["orders"][0].append(
                Message("orders", 0, i, QByteArray("k"), payload, std::nullopt, {}));
        }
        scene.open(kafkaBroker());
        TopicNotes notes(scene.app.get(), scene.session.get());
        scene.session->setSelectedTopic("orders");
        syncWait(scene.session->read(BrokerSession::Position::atTail(), 20, false));
        const auto drift = scene.session->shapeVerdict().driftDetail();
        QVERIFY(drift);
        QCOMPARE(drift->outlierCount(), 7);
        const auto links = notes.findChildren<QAbstractButton*>("messageLink");
        QCOMPARE(links.size(), 5);
        QCOMPARE(texts(&notes, "moreLine"), QStringList{"…and 2 more, marked in the list."});
        links.first()->click();
        // Newest first: the first outlier link is the newest disagreeing message.
        QCOMPARE(scene.session->selectedMessage(), std::optional<QString>("orders/0/18"));
        QCOMPARE(notes.findChildren<QAbstractButton*>("messageLink").size(), 5);
    }

    // A queue's notes speak of a queue: its keys are routing keys, none crowds a partition it does
    // not have, and nothing in them says topic, in either language.
    void aQueuesNotesNeverSpeakOfATopic()
    {
        Scene scene;
        const Broker broker = rabbitBroker();
        scene.clients->rabbit = std::make_shared<FakeRabbit>(broker);
        Topic jobs = topic("jobs");
        jobs.declaredDepth = 12;
        scene.clients->rabbit->listing.queues = {jobs};
        scene.clients->rabbit->listing.consumers = {{"jobs", 0}};
        // Published through the default exchange: every routing key is the queue's name.
        for (int i = 0; i < 12; ++i)
            scene.clients->rabbit->queued.append(
                Message("jobs", 0, i, QByteArray("jobs"), "{\"n\":1}", std::nullopt, {}));
        scene.open(broker);
        scene.session->setAcceptedRabbitReadCost(true);
        const auto restore = qScopeGuard([] { UserDefaults::standard().remove(L10n::key); });
        for (const char* language : {"en", "pt"}) {
            UserDefaults::standard().setString(L10n::key, QString::fromLatin1(language));
            TopicNotes notes(scene.app.get(), scene.session.get());
            scene.session->setSelectedTopic(QString("jobs"));
            syncWait(scene.session->read(BrokerSession::Position::atTail(), 20, false));
            QCOMPARE(scene.session->messages().size(), 12);
            QVERIFY(!texts(&notes, "crowding").isEmpty());
            for (const QLabel* label : notes.findChildren<QLabel*>()) {
                const QString text = label->text();
                QVERIFY2(!text.contains("topic", Qt::CaseInsensitive) && !text.contains("tópico", Qt::CaseInsensitive)
                             && !text.contains("partition", Qt::CaseInsensitive)
                             && !text.contains("partição", Qt::CaseInsensitive),
                         qPrintable(text));
            }
        }
    }

    void aNarrowPageGivesEveryWrappedLineTheHeightItNeeds()
    {
        Scene scene;
        scene.clients->kafka->listed = QList<Topic>{topic("orders", {{0, 30}, {0, 30}})};
        for (int partition = 0; partition < 2; ++partition)
            for (int i = 0; i < 30; ++i)
                scene.clients->kafka->held["orders"][partition].append(Message(
                    "orders", partition, i, QByteArray(i % 4 ? "customer-1" : "customer-2"), "{}", std::nullopt, {}));
        scene.open(kafkaBroker());
        TopicNotes notes(scene.app.get(), scene.session.get());
        scene.session->setSelectedTopic("orders");
        syncWait(scene.session->read(BrokerSession::Position::atTail(), 60, false));
        // As narrow as the notes get beside the list in the smallest window, and wide again.
        for (const int width : {260, 300, 520}) {
            notes.resize(width, 400);
            notes.show();
            QTest::qWait(50);
            int wrapped = 0;
            for (QLabel* label : notes.widget()->findChildren<QLabel*>()) {
                if (!label->isVisible() || !label->wordWrap())
                    continue;
                ++wrapped;
                QVERIFY2(label->height() >= label->heightForWidth(label->width()),
                         qPrintable(QString("%1 px wide: \"%2\" has %3 px of %4")
                                        .arg(width)
                                        .arg(label->text().left(40))
                                        .arg(label->height())
                                        .arg(label->heightForWidth(label->width()))));
            }
            QVERIFY(wrapped >= 3);
        }
    }

    void verdictBarStrikesWithoutRebuildingAndShowsThreeDifferences()
    {
        ShapeVerdict::Drift drift;
        drift.sampled = 9;
        drift.outlierIDs = {"a", "b"};
        for (const char* field : {"w", "x", "y", "z"})
            drift.differences.append({field, JSONKind::number, JSONKind::string});
        VerdictBar bar(ShapeVerdict::nothingToCompare(), 0);
        QCOMPARE(bar.shows(), VerdictBar::Shows::nothing);
        QCOMPARE(bar.findChildren<QLabel*>().size(), 0);
        bar.setVerdict(ShapeVerdict::drift(drift), 1);
        QCOMPARE(bar.shows(), VerdictBar::Shows::objection);
        QCOMPARE(bar.findChildren<DifferenceLine*>().size(), 3);
        QCOMPARE(bar.sentence(), QString("2 of 9 disagree with the rest"));
        Gavel* gavel = bar.gavel();
        bar.setVerdict(ShapeVerdict::drift(drift), 2);
        QCOMPARE(bar.gavel(), gavel);
        QCOMPARE(gavel->strikes(), 2);
        // An objection that grows (a page read on) is retold on the same card, and strikes again;
        // one that draws fewer lines is a new card.
        const QList<DifferenceLine*> lines = bar.findChildren<DifferenceLine*>();
        drift.sampled = 12;
        drift.outlierIDs.append("c");
        drift.differences[0].outlier = JSONKind::boolean;
        bar.setVerdict(ShapeVerdict::drift(drift), 3);
        QCOMPARE(bar.gavel(), gavel);
        QCOMPARE(gavel->strikes(), 3);
        QCOMPARE(bar.sentence(), QString("3 of 12 disagree with the rest"));
        QCOMPARE(bar.findChildren<DifferenceLine*>(), lines);
        QCOMPARE(lines.first()->difference(), drift.differences[0]);
        const QList<QLabel*> labels = bar.findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.cbegin(), labels.cend(), [&](QLabel* l) { return l->text() == bar.sentence(); }));
        drift.differences.resize(1);
        bar.setVerdict(ShapeVerdict::drift(drift), 4);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(bar.findChildren<DifferenceLine*>().size(), 1);
        QVERIFY(bar.gavel() != gavel);
        bar.setVerdict(ShapeVerdict::consistent(4), 2);
        QCOMPARE(bar.shows(), VerdictBar::Shows::line);
        QCOMPARE(bar.sentence(), QString("No objection. All 4 agree on their shape."));
    }

    void theObjectionCardFadesInAndSettles()
    {
        ShapeVerdict::Drift drift;
        drift.sampled = 5;
        drift.outlierIDs = {"a"};
        VerdictBar bar(ShapeVerdict::consistent(5), 0);
        bar.show();
        bar.setVerdict(ShapeVerdict::drift(drift), 1);
        // Reduced motion keeps the fade and drops the growth.
        QWidget* card = bar.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).last();
        auto* effect = qobject_cast<TransformEffect*>(card->graphicsEffect());
        QVERIFY(effect);
        QVERIFY(effect->opacity() < 0.5);
        QVERIFY(effect->transform().isIdentity());
        QTRY_VERIFY(!card->graphicsEffect());
    }

    void memberRowsShowTheirBadgeOnlyWithAnInstanceAndSayWhenTheyHoldNothing()
    {
        MemberRow idle(GroupMember{"m-1", "", "/10.0.0.1", QString(""), {}});
        QVERIFY(!idle.findChild<QLabel*>("staticMembership"));
        QCOMPARE(texts(&idle, "assignment"), QStringList{"Holding nothing."});
        MemberRow pinned(GroupMember{"m-2", "worker", "/10.0.0.2", QString("static-1"), {{"orders", 1}}});
        QCOMPARE(texts(&pinned, "staticMembership"), QStringList{"static-1"});
        QCOMPARE(texts(&pinned, "assignment"), QStringList{"orders p1"});
    }

    void skewChartBarsAndTheirHelp()
    {
        SkewChart chart(PartitionSkew::verdict(topic("t", {{0, 9000}, {0, 0}, {0, 1000}})));
        chart.resize(500, chart.heightForWidth(500));
        QVERIFY(chart.isFlagged(1));
        const QRectF tallest = chart.barRect(0);
        const QRectF empty = chart.barRect(1);
        QCOMPARE(empty.height(), 2.0);
        QVERIFY(tallest.height() > chart.barRect(2).height() * 8);
        QCOMPARE(tallest.width(), 26.0);
        QCOMPARE(chart.tipAt(tallest.center().toPoint()), QString("p0 — 9,000 retained (90%)"));
        QCOMPARE(chart.tipAt(QPoint(490, int(tallest.center().y()))), QString());

        chart.setVerdict(SkewVerdict::notPartitioned());
        QCOMPARE(chart.heightForWidth(500), 0);
        chart.setVerdict(SkewVerdict::allEmpty(3));
        QCOMPARE(chart.sentence(), QString("3 partitions, all empty. Nothing to chart yet."));
        QVERIFY(chart.barRect(0).isNull());
    }
};

QTEST_MAIN(TestCaseworkViews)
#include "tst_CaseworkViews.moc"
