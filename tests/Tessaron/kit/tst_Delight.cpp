#include "Tessaron/kit/FormHeading.h"
#include "Tessaron/kit/Gavel.h"
#include "Tessaron/kit/HopEffect.h"
#include "Tessaron/kit/LawyeredStamp.h"
#include "Tessaron/kit/SlamStamp.h"
#include "Tessaron/actions/Slap.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/kit/TopicQuip.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KeyframePlayer.h"

#include "VelkinUI/ManualAnimationClock.h"

#include <QSignalSpy>
#include <QTest>

using namespace tessaron;

namespace {

Partition partition(int id, int64_t low, int64_t high, int replicas = 3, int inSync = 3)
{
    Partition p;
    p.id = id;
    p.low = low;
    p.high = high;
    p.replicaCount = replicas;
    p.inSyncCount = inSync;
    return p;
}

Topic topic(const QString& name, QList<Partition> parts, bool internal = false,
            std::optional<int64_t> depth = std::nullopt)
{
    Topic t;
    t.name = name;
    t.partitions = std::move(parts);
    t.isInternal = internal;
    t.declaredDepth = depth;
    return t;
}

} // namespace

class TestDelight : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        AccessibilitySettings::instance().setReduceMotion(false);
        UserDefaults::standard().setString(L10n::key, "en");
        QCoreApplication::processEvents();
    }

    void mascotHopsOnlyOnLaterChanges()
    {
        testing::ManualAnimationClock clock; // frames every 16 ms, whatever the machine's load
        TessaronMascot mascot(48, 5);
        QCOMPARE(mascot.size(), QSize(48, 48));
        QVERIFY(!mascot.hop()->isPlaying());
        mascot.setBoops(5);
        QVERIFY(!mascot.hop()->isPlaying());
        QSignalSpy done(mascot.hop()->player(), &KeyframePlayer::finished);
        double highest = 0;
        connect(mascot.hop()->player(), &KeyframePlayer::valuesChanged, this,
                [&] { highest = std::min(highest, mascot.hop()->current().lift); });
        mascot.setBoops(6);
        QVERIFY(mascot.hop()->isPlaying());
        clock.advance(1000);
        QCOMPARE(done.size(), 1);
        QVERIFY(highest < -3.0); // it was in the air
        QCOMPARE(mascot.hop()->current().lift, 0.0);
        QCOMPARE(mascot.hop()->current().tilt, 0.0);
    }

    void reducedMotionMovesNothing()
    {
        AccessibilitySettings::instance().setReduceMotion(true);
        TessaronMascot mascot(40, 0);
        mascot.setBoops(1);
        QVERIFY(!mascot.hop()->isPlaying());
        Gavel gavel(20, 0, Qt::white);
        gavel.setStrikes(1);
        QVERIFY(!gavel.player()->isRunning());
        QCOMPARE(gavel.strikeAngle(), 0.0);
        Slap slap(20, 0, Qt::white);
        slap.setCount(3);
        QVERIFY(!slap.player()->isRunning());
        SlamStamp stamp("FILED", Qt::red, 0);
        stamp.setTrigger(2);
        QVERIFY(!stamp.player()->isRunning());
        QCOMPARE(stamp.current().scale, 1.0);
        QCOMPARE(stamp.current().opacity, 1.0);
    }

    void gavelRestsTiltedAndStrikesAboutItsCorner()
    {
        testing::ManualAnimationClock clock;
        Gavel gavel(20, 0, Qt::white);
        const QRectF frame(gavel.rect());
        // At rest: -20 degrees about the centre, which stays put.
        QCOMPARE(gavel.currentTransform().map(frame.center()), frame.center());
        QTransform rest;
        rest.rotate(-20);
        QVERIFY(qFuzzyCompare(gavel.currentTransform().m11(), rest.m11()));
        QSignalSpy done(gavel.player(), &KeyframePlayer::finished);
        double lowest = 0;
        connect(gavel.player(), &KeyframePlayer::valuesChanged, this,
                [&] { lowest = std::min(lowest, gavel.strikeAngle()); });
        gavel.setStrikes(1);
        clock.advance(1000);
        QCOMPARE(done.size(), 1);
        QVERIFY(lowest < -5.0); // it swung
        QCOMPARE(gavel.strikeAngle(), 0.0);
        QVERIFY(std::abs(gavel.player()->duration() - 0.5) < 1e-9);
    }

    void slapAndSlamComeBackToRest()
    {
        testing::ManualAnimationClock clock;
        Slap slap(20, 0, Qt::white);
        QVERIFY(std::abs(slap.player()->duration() - 0.45) < 1e-9);
        QSignalSpy slapped(slap.player(), &KeyframePlayer::finished);
        slap.setCount(1);
        clock.advance(1000);
        QCOMPARE(slapped.size(), 1);
        QCOMPARE(slap.current().angle, 0.0);
        QCOMPARE(slap.current().shift, 0.0);

        SlamStamp stamp("FILED", Qt::red, 0);
        QCOMPARE(stamp.accessibleName(), QString("FILED"));
        QSignalSpy slammed(stamp.player(), &KeyframePlayer::finished);
        double largest = 0, faintest = 1;
        connect(stamp.player(), &KeyframePlayer::valuesChanged, this, [&] {
            largest = std::max(largest, stamp.current().scale);
            faintest = std::min(faintest, stamp.current().opacity);
        });
        stamp.setTrigger(1);
        clock.advance(1000);
        QCOMPARE(slammed.size(), 1);
        QVERIFY(largest > 1.05); // it jumped up large
        QVERIFY(faintest < 1.0); // and faded in
        QCOMPARE(stamp.current().scale, 1.0);
        QCOMPARE(stamp.current().opacity, 1.0);
    }

    void stampsKeepTheirText()
    {
        LawyeredStamp small("lawyered", Qt::green);
        QCOMPARE(small.text(), QString("lawyered"));
        QCOMPARE(small.accessibleName(), QString("lawyered"));
        SlamStamp big("Case closed", Qt::red, 0);
        QCOMPARE(big.text(), QString("Case closed"));
    }

    void aRenamedStampDrawsItsNewName()
    {
        // A stamp's tilted picture is kept between paints: renamed, it is drawn as a new one is.
        QWidget renamedHost;
        QWidget freshHost;
        for (QWidget* host : {&renamedHost, &freshHost})
            host->resize(220, 60);
        auto* renamed = new LawyeredStamp("EXHIBIT 3", Qt::green, &renamedHost);
        auto* fresh = new LawyeredStamp("EXHIBIT 35", Qt::green, &freshHost);
        for (LawyeredStamp* stamp : {renamed, fresh})
            stamp->move(20, 20);
        const QImage before = renamedHost.grab().toImage();
        QCOMPARE(renamedHost.grab().toImage(), before);
        renamed->setText("EXHIBIT 35");
        const QImage after = renamedHost.grab().toImage();
        QVERIFY(after != before);
        QCOMPARE(after, freshHost.grab().toImage());
    }

    void formHeadingBadgeAndCapitals()
    {
        QCOMPARE(FormHeading::badgeText(3), QString("03"));
        QCOMPARE(FormHeading::badgeText(0), QString("00"));
        QCOMPARE(FormHeading::badgeText(123), QString("123"));
        FormHeading heading("connection", 2, Qt::white);
        QCOMPARE(heading.displayedText(), QString("CONNECTION"));
        FormHeading plain("reason", std::nullopt, Qt::white);
        QVERIFY(plain.sizeHint().width() < heading.sizeHint().width());
    }

    void kafkaQuips()
    {
        const BrokerKind kafka = BrokerKind::kafka;
        QCOMPARE(topicQuip(kafka, topic("__consumer_offsets", {partition(0, 0, 5)}, true)),
                 QString("Kafka's own bookkeeping. Read-only, and frankly none of our business."));
        QCOMPARE(topicQuip(kafka, topic("__orders.dlq", {partition(0, 0, 5)}, true)),
                 QString("Kafka's own bookkeeping. Read-only, and frankly none of our business."));
        QCOMPARE(topicQuip(kafka, topic("orders.dlq", {})),
                 QString("Messages that failed everyone else. Somebody should look at these."));
        QCOMPARE(topicQuip(kafka, topic("orders", {})), QString("No partitions. Nothing to spread, nothing to chart."));
        QCOMPARE(topicQuip(kafka, topic("orders", {partition(0, 4, 4, 3, 1)})),
                 QString("Empty — or aged out. Either way, no evidence retained."));
        QCOMPARE(topicQuip(kafka, topic("orders", {partition(0, 0, 4, 3, 1)})),
                 QString("Under-replicated. Living dangerously."));
        QCOMPARE(topicQuip(kafka, topic("orders", {partition(0, 0, 4)})),
                 QString("One partition. Strictly in order, strictly single-file."));
        QCOMPARE(topicQuip(kafka, topic("orders", {partition(0, 0, 4), partition(1, 0, 1), partition(2, 0, 0)})),
                 QString("3 partitions. Order is per-partition — don't let anyone tell you otherwise."));
        QCOMPARE(topicQuip(BrokerKind::sqs, topic("__x", {}, true)),
                 QString("Kafka's own bookkeeping. Read-only, and frankly none of our business."));
        QCOMPARE(topicQuip(BrokerKind::nats, topic("orders", {partition(0, 0, 4)})),
                 QString("One partition. Strictly in order, strictly single-file."));
    }

    void rabbitQuipsCountWholeNumbers()
    {
        const BrokerKind rabbit = BrokerKind::rabbitmq;
        QCOMPARE(topicQuip(rabbit, topic("amq.x", {}, true, 4)),
                 QString("RabbitMQ's own plumbing. Not yours to read."));
        QCOMPARE(topicQuip(rabbit, topic("jobs.dead-letter", {}, false, 0)),
                 QString("Messages that failed everyone else. Somebody should look at these."));
        QCOMPARE(topicQuip(rabbit, topic("jobs", {}, false, 0)),
                 QString("Empty. Either nobody produced, or a consumer got there first."));
        QCOMPARE(topicQuip(rabbit, topic("jobs", {}, false, 1)),
                 QString("One message, waiting for someone to take it."));
        QCOMPARE(topicQuip(rabbit, topic("jobs", {}, false, 2)),
                 QString("2 messages waiting. First in, first out — and only once."));
        // Beyond 32 bits the count is still printed whole.
        QCOMPARE(topicQuip(rabbit, topic("jobs", {}, false, 6000000000LL)),
                 QString("6000000000 messages waiting. First in, first out — and only once."));
    }

    void quipsSpeakPortuguese()
    {
        UserDefaults::standard().setString(L10n::key, "pt");
        QCoreApplication::processEvents();
        QCOMPARE(L10n::effective(), AppLanguage::pt);
        QCOMPARE(topicQuip(BrokerKind::kafka, topic("orders", {partition(0, 0, 4, 3, 1)})),
                 L10n::t("Under-replicated. Living dangerously."));
        QVERIFY(topicQuip(BrokerKind::kafka, topic("orders", {partition(0, 0, 4, 3, 1)}))
                != QString("Under-replicated. Living dangerously."));
        QVERIFY(topicQuip(BrokerKind::rabbitmq, topic("jobs", {}, false, 7)).startsWith("7 "));
    }
};

QTEST_MAIN(TestDelight)
#include "tst_Delight.moc"
