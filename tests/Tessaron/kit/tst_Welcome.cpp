#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/intro/WelcomeConfetti.h"
#include "Tessaron/kit/WelcomeDots.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/Brand.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace tessaron;

class TestWelcome : public QObject {
    Q_OBJECT
private slots:
    void init() { AccessibilitySettings::instance().setReduceMotion(false); }

    void paletteIsFixedOnFirstUse()
    {
        const QColor first = TessaronPalette::introAccent();
        QCOMPARE(first, Brand::palette().at(2));
        Brand::setTheme(Brand::theme() == AccentTheme::ocean ? AccentTheme::forest : AccentTheme::ocean);
        QCOMPARE(TessaronPalette::introAccent(), first);
        QVERIFY(TessaronPalette::accent() != first); // the screens follow the theme
    }

    void dotGridPositions()
    {
        const auto rects = WelcomeDots::dotRects(QSizeF(100, 100));
        QCOMPARE(rects.size(), 16);
        QList<double> xs, ys;
        for (const QRectF& r : rects) {
            if (!xs.contains(r.x()))
                xs << r.x();
            if (!ys.contains(r.y()))
                ys << r.y();
            QCOMPARE(r.size(), QSizeF(1.3, 1.3));
        }
        QCOMPARE(xs, (QList<double>{18, 42, 66, 90}));
        QCOMPARE(ys, (QList<double>{15, 39, 63, 87}));
        QVERIFY(WelcomeDots::dotRects(QSizeF(18, 100)).isEmpty());
        QVERIFY(WelcomeDots::dotRects(QSizeF(100, 15)).isEmpty());
        QCOMPARE(WelcomeDots::dotRects(QSizeF(19, 16)).size(), 1);
    }

    void confettiPiecesFollowTheirPaths()
    {
        QVERIFY(WelcomeConfetti::pieces(-0.01, QSizeF(200, 100)).isEmpty());
        QVERIFY(WelcomeConfetti::pieces(1.6, QSizeF(200, 100)).isEmpty());
        const auto start = WelcomeConfetti::pieces(0, QSizeF(200, 100));
        QCOMPARE(start.size(), 34);
        QCOMPARE(start[0].position, QPointF(110, 38));
        QCOMPARE(start[5].rotation, 155.0);
        QCOMPARE(start[4].colorIndex, 1);
        const auto later = WelcomeConfetti::pieces(0.8, QSizeF(200, 100));
        QVERIFY(std::abs(later[0].position.x() - (110 + 80)) < 1e-9); // speed 100 along angle 0
        QVERIFY(std::abs(later[0].position.y() - (38 + 155 * 0.64)) < 1e-9);
        QCOMPARE(later[0].opacity, 0.5);
        QVERIFY(std::abs(WelcomeConfetti::pieces(0.1, QSizeF(200, 100))[14].position.x()
                         - (110 + 0.1 * 102 * std::cos(2.39996 * 14)))
                < 1e-9);
    }

    void confettiBurstTiming()
    {
        WelcomeConfetti confetti;
        confetti.resize(200, 100);
        // The burst ends on its own single-shot timer of 1.7 s.
        QTimer* clear = nullptr;
        for (QTimer* timer : confetti.findChildren<QTimer*>()) {
            if (timer->isSingleShot() && timer->interval() == 1700)
                clear = timer;
        }
        QVERIFY(clear);
        QVERIFY(!confetti.isBursting());
        confetti.setTrigger(0);
        QVERIFY(!confetti.isBursting());
        QVERIFY(!clear->isActive());
        confetti.setTrigger(1);
        QVERIFY(confetti.isBursting());
        QVERIFY(clear->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(clear->remainingTime() < 1400, 20000);
        const int leftOfFirst = clear->remainingTime();
        confetti.setTrigger(2); // restarts: cleared 1.7 s after this one, not after the first
        QVERIFY(confetti.isBursting());
        QVERIFY(clear->remainingTime() > leftOfFirst);
        QTRY_VERIFY_WITH_TIMEOUT(!confetti.isBursting(), 20000);
        QVERIFY(!confetti.isTicking());
        AccessibilitySettings::instance().setReduceMotion(true);
        confetti.setTrigger(3);
        QVERIFY(!confetti.isBursting());
    }

    void confettiStopsTickingOnceNothingIsLeftToDraw()
    {
        WelcomeConfetti confetti;
        confetti.resize(200, 100);
        confetti.show();
        QVERIFY(QTest::qWaitForWindowActive(&confetti));
        confetti.setTrigger(1);
        QVERIFY(confetti.isTicking());
        confetti.setTrigger(0); // cancels the run, which would have cleared the burst
        QVERIFY(confetti.isBursting());
        QTRY_VERIFY_WITH_TIMEOUT(!confetti.isTicking(), 20000);
        QVERIFY(confetti.isBursting());
    }

    void confettiDoesNotTickWhileInactive()
    {
        WelcomeConfetti confetti; // never shown: its window is not active
        confetti.setTrigger(1);
        QVERIFY(confetti.isBursting());
        QVERIFY(!confetti.isTicking());
    }

    void eyebrowAndTitleShowTextAsGiven()
    {
        Eyebrow eyebrow("/ FIRST DAY");
        QCOMPARE(eyebrow.text(), QString("/ FIRST DAY"));
        QCOMPARE(eyebrow.palette().color(QPalette::WindowText), TessaronPalette::introAccent());
        ScreenTitle title("You're hired.", "No suit required.", 30);
        QCOMPARE(title.firstLine()->text(), QString("You're hired."));
        QCOMPARE(title.accentLine()->palette().color(QPalette::WindowText), TessaronPalette::introAccent());
        QVERIFY(title.accentLine()->wordWrap());
        // Read as one heading, in the words it shows now.
        title.accentLine()->setText("Sem terno.");
        QAccessibleInterface* heading = QAccessible::queryAccessibleInterface(&title);
        QCOMPARE(heading->role(), QAccessible::Heading);
        QCOMPARE(heading->text(QAccessible::Name), QString("You're hired. Sem terno."));
        QCOMPARE(heading->childCount(), 0);
    }

    void primaryStyleStates()
    {
        PrimaryButtonStyle style;
        ButtonState s;
        QCOMPARE(style.scale(s), 1.0);
        s.hover = 1.0;
        QCOMPARE(style.scale(s), 1.025);
        QCOMPARE(style.shadow(s).color.alphaF(), 0.2f);
        s.press = 1.0;
        QCOMPARE(style.scale(s), 0.96);
        s.enabled = false;
        QCOMPARE(style.opacity(s), 0.4);
        QCOMPARE(style.pressMotion(s), Motion::withSpring(Spring{0.25, 0.75, 0.0}));
        QCOMPARE(*style.labelColor(s), TessaronPalette::canvas());
        AccessibilitySettings::instance().setReduceMotion(true);
        QCOMPARE(style.scale(s), 1.0);
        QVERIFY(style.pressMotion(s).isNone());
        QVERIFY(style.hoverMotion(s).isNone());
    }
};

QTEST_MAIN(TestWelcome)
#include "tst_Welcome.moc"
