#include "VelkinUI/AuroraBackground.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/CascadeModifier.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/GlassCard.h"
#include "VelkinUI/ManualAnimationClock.h"
#include "VelkinUI/GradientButtonStyle.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/NoiseOverlay.h"
#include "VelkinUI/PressableStyle.h"
#include "VelkinUI/ShimmerText.h"
#include "VelkinUI/SplitMix64.h"
#include "VelkinUI/StatusDot.h"

#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace tessaron;

class TestDecor : public QObject {
    Q_OBJECT
private slots:
    void splitMixIsThePublishedGenerator()
    {
        SplitMix64 zero(0);
        QCOMPARE(zero.next(), 0xE220A8397B1DCDAFULL); // the published first value for seed 0
        SplitMix64 unit;
        for (int i = 0; i < 1000; ++i) {
            const double u = unit.nextUnit();
            QVERIFY(u >= 0.0 && u < 1.0);
        }
    }

    void grainIsTheSameOnEveryDraw()
    {
        QImage a(200, 120, QImage::Format_ARGB32_Premultiplied), b(200, 120, QImage::Format_ARGB32_Premultiplied);
        a.fill(Qt::black);
        b.fill(Qt::black);
        {
            QPainter p(&a);
            NoiseOverlay::paintGrain(p, QRectF(0, 0, 200, 120));
        }
        {
            QPainter p(&b);
            NoiseOverlay::paintGrain(p, QRectF(0, 0, 200, 120));
        }
        QCOMPARE(a, b);
        int lit = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 200; ++x)
                lit += qRed(a.pixel(x, y)) > 0;
        QVERIFY(lit > 300);
        NoiseOverlay overlay;
        QVERIFY(overlay.testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    void blobsFollowTheirPaths()
    {
        const auto b = AuroraBackground::blob(0, 11.0 * 1000);
        QVERIFY(std::abs(b.offset.x() - -120.0) < 1e-6);
        QVERIFY(std::abs(b.offset.y() - -150.0) < 1e-6);
        QVERIFY(std::abs(b.scale - 1.0) < 1e-9);
        QVERIFY(std::abs(b.opacity - 0.42) < 1e-9);
        // Negative times keep the sign of the remainder and stay on the same closed path.
        const auto n = AuroraBackground::blob(2, -4.5);
        QVERIFY(std::abs(n.offset.x() - 100) <= 90.0 + 1e-9);
        QVERIFY(AuroraBackground::referenceSeconds() > 7.9e8);
    }

    void auroraIntensityAndActivity()
    {
        QImage frame(1020, 660, QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::transparent);
        {
            QPainter p(&frame);
            AuroraBackground::paintFrame(p, frame.size(), 1000.0, 0.0);
        }
        QCOMPARE(qAlpha(frame.pixel(5, 5)), 0); // intensity 0: nothing
        {
            QPainter p(&frame);
            AuroraBackground::paintFrame(p, frame.size(), 1000.0, 1.0);
        }
        QCOMPARE(qAlpha(frame.pixel(5, 5)), 255); // fully opaque base
        QVERIFY(qRed(frame.pixel(510, 330)) + qGreen(frame.pixel(510, 330)) + qBlue(frame.pixel(510, 330))
                > 60); // colour in the middle
        AuroraBackground aurora(1.0);
        QCOMPARE(aurora.frameInterval(), aurora.isActive() ? 16 : 100);
    }

    void shimmerAndDot()
    {
        QCOMPARE(ShimmerText::bandPosition(0), -0.3);
        QVERIFY(std::abs(ShimmerText::bandPosition(1.5) - 0.5) < 1e-9);
        ShimmerText text("Tessaron", 24, QFont::Bold, FontDesign::rounded);
        QCOMPARE(text.sizeHint().width(), int(std::ceil(QFontMetricsF(text.textFont()).horizontalAdvance("Tessaron"))));
        StatusDot dot(Qt::green, 8);
        QCOMPARE(dot.size(), QSize(24, 24));
        QCOMPARE(StatusDot::pulse(0), 0.7);
        double lo = 1, hi = 0;
        for (double t = 0; t < 4; t += 0.01) {
            lo = std::min(lo, StatusDot::pulse(t));
            hi = std::max(hi, StatusDot::pulse(t));
        }
        QVERIFY(lo >= 0.4 - 1e-9 && lo < 0.41 && hi <= 1.0 && hi > 0.99);
    }

    void cascadePlaysOnceAndLandsInPlace()
    {
        testing::ManualAnimationClock clock;
        QWidget window;
        auto* item = new QLabel("row", &window);
        auto* modifier = new CascadeModifier(item, 0.3, 12);
        QCOMPARE(modifier->progress(), 0.0);
        QVERIFY(!modifier->hasAppeared());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(modifier->hasAppeared());
        QSignalSpy done(modifier->animation(), &AnimatedValue::finished);
        clock.advance(290);
        QCOMPARE(modifier->progress(), 0.0); // still waiting for its delay
        clock.advance(60);
        QVERIFY(modifier->progress() > 0.0); // on its way once the delay is over
        for (int frame = 0; frame < 600 && done.isEmpty(); ++frame)
            clock.advance(16);
        QCOMPARE(done.size(), 1);
        QCOMPARE(modifier->progress(), 1.0);
        QVERIFY(!item->graphicsEffect()); // at rest: no effect left behind
        item->hide();
        item->show();
        QCOMPARE(modifier->progress(), 1.0); // not replayed
    }

    void buttonStylesShrinkWhenPressed()
    {
        PressableStyle pressable;
        GradientButtonStyle gradient;
        ButtonState s;
        s.press = 1.0;
        QCOMPARE(pressable.scale(s), 0.96);
        QCOMPARE(gradient.scale(s), 0.96);
        QCOMPARE(gradient.insets(), QMarginsF(18, 11, 18, 11));
        QCOMPARE(*gradient.labelColor(s), QColor(Qt::white));
        QCOMPARE(gradient.shadow(s).radius, 18.0);
        QCOMPARE(gradient.shadow(s).offset, QPointF(0, 8));
        KitButton button("Go", std::make_unique<GradientButtonStyle>());
        QVERIFY(button.sizeHint().width() >= 36 + QFontMetrics(gradient.font(QFont())).horizontalAdvance("Go"));
    }

    void glassCardTiltsOnlyWhileHovered()
    {
        QCOMPARE(GlassCard::tiltFor(QPointF(0, 0), QSizeF(200, 100)), QPointF(1.5, -1.5));
        QCOMPARE(GlassCard::tiltFor(QPointF(100, 50), QSizeF(200, 100)), QPointF(0, 0));
        QCOMPARE(GlassCard::tiltFor(QPointF(10, 10), QSizeF(0, 0)), QPointF(0, 0));

        GlassCard still(12, false, Qt::AlignLeft, true, new QLabel("still"));
        still.resize(200, 100);
        still.setPointer(QPointF(0, 0));
        QVERIFY(!still.isHovering());
        QCOMPARE(still.currentTilt(), QPointF(0, 0));
        QCOMPARE(still.currentScale(), 1.0);

        testing::ManualAnimationClock clock;
        GlassCard card(12, true, Qt::AlignLeft, true, new QLabel("card"));
        card.resize(200, 100);
        QCOMPARE(card.currentTilt(), QPointF(0, 0)); // flat before any hover
        card.setPointer(QPointF(100, 50));
        QVERIFY(card.isHovering());
        clock.advance(900);
        QCOMPARE(card.currentTilt(), QPointF(0, 0));
        QVERIFY(std::abs(card.currentScale() - 1.012) < 1e-6);
        card.setPointer(QPointF(0, 0));
        QCOMPARE(card.currentTilt(), QPointF(1.5, -1.5));
        card.setPointer(std::nullopt);
        clock.advance(900);
        QCOMPARE(card.currentTilt(), QPointF(0, 0)); // settles back flat
        QCOMPARE(card.currentScale(), 1.0);
    }
};

QTEST_MAIN(TestDecor)
#include "tst_Decor.moc"
