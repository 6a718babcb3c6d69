#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/Animation.h"
#include "VelkinUI/KeyframePlayer.h"
#include "VelkinUI/Motion.h"
#include "VelkinUI/MotionAnimation.h"

#include "VelkinUI/ManualAnimationClock.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace tessaron;

class TestMotion : public QObject {
    Q_OBJECT
private slots:
    void presetsAreTheDesignsSprings()
    {
        QCOMPARE(Animation::velkin::standard(), (Spring{0.4, 0.78, 0.0}));
        QCOMPARE(Animation::velkin::bouncy(), (Spring{0.55, 0.7, 0.0}));
        QCOMPARE(Animation::velkin::snappy(), (Spring{0.25, 0.85, 0.0}));
        QCOMPARE(&Animation::velkin::snappy(), &Animation::velkin::snappy());
    }

    void springsStartAtZeroAndSettleOnOne()
    {
        for (const Spring& s : {Animation::velkin::standard(), Animation::velkin::bouncy(), Animation::velkin::snappy(),
                                Spring::withDuration(0.5, 0.0), Spring::withDuration(0.5, 0.3), Spring{0.3, 1.4, 0}}) {
            QCOMPARE(s.value(0), 0.0);
            const double settle = s.settlingDuration();
            QVERIFY(settle > 0.05 && settle < 3.0);
            for (double t = settle; t < settle + 2; t += 0.01)
                QVERIFY(std::abs(s.value(t) - 1.0) <= 0.001);
        }
        // An underdamped spring overshoots, a critically damped one never does.
        double peak = 0;
        for (double t = 0; t < 1; t += 0.001)
            peak = std::max(peak, Animation::velkin::bouncy().value(t));
        QVERIFY(peak > 1.01);
        const Spring critical = Spring::withDuration(0.5, 0.0);
        for (double t = 0; t < 2; t += 0.001)
            QVERIFY(critical.value(t) <= 1.0 + 1e-12);
        // A stiffer (shorter) response settles sooner.
        QVERIFY(Animation::velkin::snappy().settlingDuration() < Animation::velkin::bouncy().settlingDuration());
    }

    void motionsEndExactlyOnTheirTarget()
    {
        const Motion delayed = Motion::easeOut(0.16).delayed(0.3);
        QCOMPARE(delayed.totalDuration(), 0.46);
        QCOMPARE(delayed.progress(0.29), 0.0);
        QVERIFY(delayed.progress(0.35) > 0.0);
        QCOMPARE(delayed.progress(0.46), 1.0);
        QCOMPARE(Motion::none().totalDuration(), 0.0);
        QCOMPARE(Motion::none().progress(0), 1.0);
        const Motion spring = Motion::withSpring(Animation::velkin::bouncy());
        QCOMPARE(spring.progress(spring.totalDuration()), 1.0);
    }

    void animatedValueJumpsWithoutMotionAndGlidesWithIt()
    {
        AnimatedValue v(0.0);
        QSignalSpy finished(&v, &AnimatedValue::finished);
        v.animateTo(1.0, Motion::none());
        QCOMPARE(v.value(), 1.0);
        QCOMPARE(finished.size(), 1);
        QVERIFY(!v.isAnimating());

        testing::ManualAnimationClock clock;
        v.animateTo(0.0, Motion::easeOut(0.12));
        QVERIFY(v.isAnimating());
        QVERIFY(v.value() > 0.0);
        clock.advance(100);
        QVERIFY(v.isAnimating()); // 100 ms into a 120 ms glide: on its way, not there
        QVERIFY(v.value() > 0.0 && v.value() < 1.0);
        QCOMPARE(finished.size(), 1);
        clock.advance(20);
        QCOMPARE(finished.size(), 2);
        QCOMPARE(v.value(), 0.0);

        // A spring ends exactly on target, at the end of its settling time.
        const Motion spring = Motion::withSpring(Animation::velkin::bouncy());
        const qint64 settle = qint64(std::lround(spring.totalDuration() * 1000.0));
        v.animateTo(1.0, spring);
        clock.advance(settle - 20);
        QVERIFY(v.isAnimating());
        clock.advance(20);
        QCOMPARE(finished.size(), 3);
        QCOMPARE(v.value(), 1.0);
    }

    void keyframeTracksPassThroughEveryKeyframe()
    {
        // The mascot's hop: lift and tilt.
        const KeyframeTrack lift(0.0,
                                 {Keyframe::withSpring(-7, 0.14, 0.5, 0.0), Keyframe::withSpring(0, 0.3, 0.5, 0.3)});
        const KeyframeTrack tilt(
            0.0, {Keyframe::linear(-8, 0.1), Keyframe::linear(6, 0.12), Keyframe::withSpring(0, 0.25, 0.5, 0.0)});
        QCOMPARE(lift.duration(), 0.44);
        QCOMPARE(tilt.duration(), 0.47);
        QCOMPARE(lift.valueAt(0), 0.0);
        QCOMPARE(lift.valueAt(0.14), -7.0);
        QVERIFY(std::abs(lift.valueAt(0.1399) + 7.0) < 0.05);
        QCOMPARE(lift.valueAt(10), 0.0);
        QCOMPARE(tilt.valueAt(0.05), -4.0);
        QCOMPARE(tilt.valueAt(0.1), -8.0);
        QCOMPARE(tilt.valueAt(0.16), -1.0);
        QCOMPARE(tilt.valueAt(0.22), 6.0);
        QCOMPARE(tilt.valueAt(0.47), 0.0);
        // A bouncing keyframe overshoots its value before it lands.
        double lowest = 0;
        for (double t = 0.14; t < 0.44; t += 0.001)
            lowest = std::max(lowest, lift.valueAt(t));
        QVERIFY(lowest > 0.0);
    }

    void playerRestartsAndComesToRest()
    {
        KeyframePlayer player({KeyframeTrack(1.0,
                                             {Keyframe::linear(2.2, 0.001), Keyframe::withSpring(0.94, 0.17, 0.5, 0.15),
                                              Keyframe::withSpring(1.0, 0.22, 0.5, 0.3)}),
                               KeyframeTrack(1.0, {Keyframe::linear(0.0, 0.001), Keyframe::linear(1.0, 0.1)})});
        QVERIFY(std::abs(player.duration() - 0.391) < 1e-9);
        QCOMPARE(player.value(0), 1.0);
        QCOMPARE(player.value(1), 1.0);
        QSignalSpy finished(&player, &KeyframePlayer::finished);
        double faintest = 1.0;
        connect(&player, &KeyframePlayer::valuesChanged, this, [&] { faintest = std::min(faintest, player.value(1)); });
        testing::ManualAnimationClock clock;
        player.play();
        QVERIFY(player.isRunning());
        QCOMPARE(player.value(0), 1.0); // at t = 0 every track holds its initial value
        clock.advance(48);
        QVERIFY(player.value(0) < 2.2 && player.value(0) > 1.0); // falling from its jump
        player.play();                                           // a new trigger starts over
        QCOMPARE(player.value(0), 1.0);
        clock.advance(380);
        QVERIFY(player.isRunning()); // the restart runs its own full 0.391 s, not the rest of the first
        QCOMPARE(finished.size(), 0);
        clock.advance(16);
        QCOMPARE(finished.size(), 1);
        QVERIFY(faintest < 1.0); // and it did move
        QVERIFY(!player.isRunning());
        QCOMPARE(player.value(0), 1.0);
        QCOMPARE(player.value(1), 1.0);
        QCOMPARE(player.value(7), 0.0);
    }
};

QTEST_MAIN(TestMotion)
#include "tst_Motion.moc"
