#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/settings/TransparentWindowChrome.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitButton.h"

#include <QApplication>
#include <QTest>

using namespace tessaron;

namespace {

const QColor tint = QColor::fromRgbF(0.2f, 0.6f, 1.0f);

// Channel value of `color` at `opacity` over black.
int over(double channel, double opacity) { return int(std::lround(channel * opacity * 255)); }
// A border of `border` opacity stroked over a fill of `fill` opacity, same colour, over black.
int stroked(double channel, double fill, double border)
{
    return int(std::lround(channel * (border + (1 - border) * fill) * 255));
}

struct Tile {
    QWidget window;
    KitButton* button;
    explicit Tile(bool selected, bool surface)
    {
        window.resize(120, 60);
        window.setAutoFillBackground(true);
        QPalette p;
        p.setColor(QPalette::Window, Qt::black);
        window.setPalette(p);
        button = new KitButton(QString(), std::make_unique<ControlStyle>(tint, selected, surface), &window);
        button->setGeometry(10, 10, 100, 40);
    }
    QImage shot() { return window.grab().toImage(); }
    // Inside the tile, away from corners and label.
    QColor fill() { return QColor(shot().pixel(20, 30)); }
    // The top edge, where the inside stroke lies.
    QColor border() { return QColor(shot().pixel(60, 10)); }
};

bool close(int a, int b) { return std::abs(a - b) <= 2; }

} // namespace

class TestSettingsStyle : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        // Hover changes apply at once, so pixels can be read right away.
        AccessibilitySettings::instance().setReduceMotion(true);
        AccessibilitySettings::instance().setIncreaseContrast(false);
        AccessibilitySettings::instance().setReduceTransparency(false);
    }

    void tileColoursInEachState()
    {
        Tile plain(false, true);
        QVERIFY(close(plain.fill().red(), over(1, 0.025)));
        QVERIFY(close(plain.border().red(), stroked(1, 0.025, 0.09)));
        plain.button->setHovering(true);
        QVERIFY(close(plain.fill().red(), over(1, 0.065)));
        QVERIFY(close(plain.border().red(), stroked(1, 0.065, 0.23)));

        Tile selected(true, true);
        QVERIFY(close(selected.fill().blue(), over(1.0, 0.1)));
        QVERIFY(close(selected.fill().green(), over(0.6, 0.1)));
        QVERIFY(close(selected.border().blue(), stroked(1.0, 0.1, 0.6)));
        selected.button->setHovering(true);
        QVERIFY(close(selected.fill().blue(), over(1.0, 0.1))); // hover changes nothing when selected
        QVERIFY(close(selected.border().blue(), stroked(1.0, 0.1, 0.6)));
    }

    void bareControlsHaveNoBorder()
    {
        for (bool selected : {false, true}) {
            Tile bare(selected, false);
            QCOMPARE(bare.fill(), QColor(Qt::black));
            QCOMPARE(bare.border(), QColor(Qt::black));
            bare.button->setHovering(true);
            QVERIFY(close(bare.fill().red(), over(1, 0.035)));
            QVERIFY(close(bare.border().red(), over(1, 0.035)));
        }
    }

    void increasedContrastStrengthensUnselectedBorders()
    {
        AccessibilitySettings::instance().setIncreaseContrast(true);
        Tile plain(false, true);
        QVERIFY(close(plain.border().red(), stroked(1, 0.025, 0.6)));
        plain.button->setHovering(true);
        QVERIFY(close(plain.border().red(), stroked(1, 0.065, 0.6)));
    }

    void disabledTilesDimAndNeverHover()
    {
        Tile plain(false, true);
        plain.button->setEnabled(false);
        QVERIFY(close(plain.border().red(), int(std::lround(stroked(1, 0.025, 0.09) * 0.4))));
        plain.button->setHovering(true);
        QVERIFY(!plain.button->isHovering());
        QVERIFY(close(plain.fill().red(), over(1, 0.025 * 0.4)));
    }

    void pressDimsAndShrinksUnlessMotionIsReduced()
    {
        ControlStyle style(tint, false, true);
        ButtonState pressed;
        pressed.pressed = true;
        pressed.press = 1.0;
        QCOMPARE(style.opacity(pressed), 0.72);
        QCOMPARE(style.scale(pressed), 1.0); // reduced motion: no shrink
        QVERIFY(style.pressMotion(pressed).isNone());
        AccessibilitySettings::instance().setReduceMotion(false);
        QCOMPARE(style.scale(pressed), 0.98);
        QCOMPARE(style.pressMotion(pressed), Motion::easeOut(0.12));
        QCOMPARE(style.hoverMotion(pressed), Motion::easeOut(0.16));
        pressed.windowActive = false;
        QVERIFY(style.hoverMotion(pressed).isNone());
        pressed.enabled = false;
        QCOMPARE(style.opacity(pressed), 0.4);
    }

    void hoverClearsWhenTheWindowStopsBeingActive()
    {
        AccessibilitySettings::instance().setReduceMotion(false);
        Tile tile(false, true);
        tile.window.show();
        QWidget other;
        other.resize(50, 50);
        other.move(300, 300);
        other.show();
        tile.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&tile.window));
        tile.button->setHovering(true);
        QVERIFY(tile.button->isHovering());
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!tile.button->isHovering());
        // At once, without animation.
        QCOMPARE(tile.button->state().hover, 0.0);
    }

    void surfaceBorderAndReducedTransparency()
    {
        QWidget window;
        window.resize(140, 100);
        window.setAutoFillBackground(true);
        QPalette p;
        p.setColor(QPalette::Window, Qt::black);
        window.setPalette(p);
        auto* surface = new PanelSurface(Qt::white, &window);
        surface->setGeometry(20, 20, 100, 60);
        auto edge = [&] { return QColor(window.grab().toImage().pixel(70, 20)).red(); };
        const int standard = edge();
        AccessibilitySettings::instance().setIncreaseContrast(true);
        const int strong = edge();
        QVERIFY(strong > standard + 80);
        AccessibilitySettings::instance().setReduceTransparency(true);
        const QColor inside(window.grab().toImage().pixel(70, 50));
        QCOMPARE(inside.rgb(), TessaronPalette::canvas().rgb());
    }

    void backdropLayers()
    {
        TessaronBackdrop loud(tint, false);
        loud.resize(1000, 700);
        TessaronBackdrop quiet(tint, true);
        quiet.resize(1000, 700);
        const QImage a = loud.grab().toImage();
        const QImage b = quiet.grab().toImage();
        QCOMPARE(a.pixel(600, 600), TessaronPalette::canvas().rgb());  // beyond the loud glow, no dot
        QVERIFY(b.pixel(600, 600) != TessaronPalette::canvas().rgb()); // the quiet glow reaches further
        QVERIFY(QColor(a.pixel(990, 5)).blue()
                > QColor(b.pixel(990, 5)).blue()); // the loud glow is stronger at its centre
    }

    void chromeStylesItsWindowLater()
    {
        QWidget window;
        auto* chrome = new TransparentWindowChrome(&window);
        QVERIFY(window.palette().color(QPalette::Window) != TessaronPalette::canvas());
        QTest::qWait(0);
        QCoreApplication::processEvents();
        QCOMPARE(window.palette().color(QPalette::Window), TessaronPalette::canvas());
        QVERIFY(window.autoFillBackground());
        TransparentWindowChrome::apply(chrome); // again: nothing changes
        TransparentWindowChrome lonely;         // no window of its own: nothing happens
        TransparentWindowChrome::apply(&lonely);
        QVERIFY(!lonely.autoFillBackground());
    }
};

QTEST_MAIN(TestSettingsStyle)
#include "tst_SettingsStyle.moc"
