#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/ImageBlur.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/Symbols.h"
#include "VelkinUI/TransformEffect.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace tessaron;

namespace {

// A solid red square widget on a black parent, for checking what the effect does to pixels.
struct Scene {
    QWidget parent;
    QWidget* child;
    TransformEffect* effect;
    Scene()
    {
        parent.resize(100, 100);
        parent.setAutoFillBackground(true);
        QPalette p;
        p.setColor(QPalette::Window, Qt::black);
        parent.setPalette(p);
        child = new QWidget(&parent);
        child->setGeometry(30, 30, 40, 40);
        child->setAutoFillBackground(true);
        QPalette c;
        c.setColor(QPalette::Window, Qt::red);
        child->setPalette(c);
        effect = new TransformEffect(child);
        child->setGraphicsEffect(effect);
    }
    QImage render() { return parent.grab().toImage(); }
};

} // namespace

class TestPlatformLayer : public QObject {
    Q_OBJECT
private slots:
    void transformEffectScalesRotatesAndFades()
    {
        Scene scene;
        QImage plain = scene.render();
        QCOMPARE(QColor(plain.pixel(50, 50)), QColor(Qt::red));
        QCOMPARE(QColor(plain.pixel(25, 50)), QColor(Qt::black));

        scene.effect->setTransform(Transforms::scaleAbout(1.5, 1.5, QPointF(20, 20)));
        QImage scaled = scene.render();
        QCOMPARE(QColor(scaled.pixel(25, 50)), QColor(Qt::red)); // grew past its own edge
        QCOMPARE(QColor(scaled.pixel(5, 50)), QColor(Qt::black));

        scene.effect->setTransform(Transforms::translate(0, -20));
        QImage moved = scene.render();
        QCOMPARE(QColor(moved.pixel(50, 15)), QColor(Qt::red));
        QCOMPARE(QColor(moved.pixel(50, 65)), QColor(Qt::black));

        scene.effect->setTransform(QTransform());
        scene.effect->setOpacity(0.5);
        const QColor half(scene.render().pixel(50, 50));
        QVERIFY(std::abs(half.red() - 128) <= 3);
        scene.effect->setOpacity(0.0);
        QCOMPARE(QColor(scene.render().pixel(50, 50)), QColor(Qt::black));
    }

    void transformEffectDrawsAShadowBeyondTheWidget()
    {
        Scene scene;
        scene.effect->setShadow({QColor(0, 255, 0), 6.0, QPointF(0, 14)});
        const QImage img = scene.render();
        QCOMPARE(QColor(img.pixel(50, 50)), QColor(Qt::red)); // content over its shadow
        QVERIFY(QColor(img.pixel(50, 78)).green() > 60);      // shadow below the content
        QCOMPARE(QColor(img.pixel(5, 5)), QColor(Qt::black));
    }

    void blurSpreadsWithoutLosingInk()
    {
        QImage img(41, 41, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        for (int y = 18; y < 23; ++y)
            for (int x = 18; x < 23; ++x)
                img.setPixel(x, y, qRgba(255, 255, 255, 255));
        auto total = [](const QImage& i) {
            qint64 sum = 0;
            for (int y = 0; y < i.height(); ++y)
                for (int x = 0; x < i.width(); ++x)
                    sum += qAlpha(i.pixel(x, y));
            return sum;
        };
        const qint64 before = total(img);
        ImageBlur::blur(img, 6);
        QVERIFY(qAlpha(img.pixel(20, 20)) < 255);
        QVERIFY(qAlpha(img.pixel(20, 26)) > 0);
        QVERIFY(std::abs(total(img) - before) < before / 10);
    }

    void everySymbolHasAShape()
    {
        QVERIFY(QFontDatabase::families().contains(Symbols::fontFamily()));
        const QStringList all = Symbols::names();
        QVERIFY(all.size() > 90);
        for (const char* name :
             {"tray.full.fill", "hammer.fill", "hand.raised.fill", "arrow.right", "circle.hexagongrid.fill",
              "checkmark.circle.fill", "xmark.octagon.fill", "info.circle.fill", "sparkles", "pawprint.fill"})
            QVERIFY2(all.contains(name), qPrintable(name));
        for (const QString& name : all) {
            const QPainterPath p = Symbols::path(name, QRectF(0, 0, 24, 24));
            QVERIFY2(!p.isEmpty(), qPrintable(name));
            const QRectF b = p.boundingRect();
            QVERIFY2(b.width() <= 24.01 && b.height() <= 24.01 && (b.width() > 23.9 || b.height() > 23.9),
                     qPrintable(name));
        }
        QVERIFY(Symbols::isDrawn("hand.raised.fill"));
        QVERIFY(!Symbols::isDrawn("hammer.fill"));
        QVERIFY(!Symbols::path("no.such.symbol", QRectF(0, 0, 10, 10)).isEmpty());
        QVERIFY(Symbols::path("tray.full.fill", QRectF()).isEmpty());
        const QIcon icon = Symbols::icon("pin.fill", 16, Qt::white);
        QVERIFY(!icon.isNull());
        const QImage pin = icon.pixmap(16, 16).toImage();
        int ink = 0;
        for (int y = 0; y < pin.height(); ++y)
            for (int x = 0; x < pin.width(); ++x)
                ink += qAlpha(pin.pixel(x, y)) > 128;
        QVERIFY(ink > 20);
        SymbolView view("hammer.fill", 20, Qt::red);
        QCOMPARE(view.sizeHint(), QSize(20, 20));
        view.resize(view.sizeHint());
        const QImage drawn = view.grab().toImage();
        QCOMPARE(QColor(drawn.pixel(10, 10)).red() > 0 || QColor(drawn.pixel(8, 8)).red() > 0, true);
    }

    void fontsComeFromTheInstalledFaces()
    {
        QCOMPARE(QFontInfo(KitFont::font(12, QFont::Normal, FontDesign::rounded)).family(),
                 QStringLiteral("Quicksand"));
        QCOMPARE(QFontInfo(KitFont::font(12, QFont::Normal, FontDesign::monospaced)).family(),
                 QStringLiteral("JetBrains Mono"));
        // Design points are logical pixels.
        QImage canvas(10, 10, QImage::Format_ARGB32);
        QCOMPARE(QFontInfo(KitFont::font(16)).pixelSize(), 16);
        QCOMPARE(KitFont::font(9, QFont::Bold, FontDesign::monospaced, 1.5).letterSpacing(), 1.5);
    }

    void accessibilitySettingsAnnounceRealChangesOnly()
    {
        AccessibilitySettings& a11y = AccessibilitySettings::instance();
        QSignalSpy changed(&a11y, &AccessibilitySettings::changed);
        const bool was = a11y.reduceMotion();
        a11y.setReduceMotion(was);
        QCOMPARE(changed.size(), 0);
        a11y.setReduceMotion(!was);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(a11y.reduceMotion(), !was);
        a11y.setReduceMotion(was);
        a11y.setIncreaseContrast(true);
        QVERIFY(a11y.increaseContrast());
        a11y.setIncreaseContrast(false);
        QCOMPARE(changed.size(), 4);
    }

    void kitButtonFollowsPointerPressAndEnable()
    {
        QWidget window;
        window.resize(200, 100);
        auto* button = new KitButton("Go", std::make_unique<PlainButtonStyle>(KitFont::font(12), Qt::white), &window);
        button->setTrailingSymbol("arrow.right");
        button->move(10, 10);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(button->sizeHint().width() > QFontMetrics(KitFont::font(12)).horizontalAdvance("Go"));
        int clicks = 0;
        connect(button, &QAbstractButton::clicked, this, [&] { ++clicks; });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks, 1);
        button->setHovering(true);
        QVERIFY(button->isHovering());
        QTest::mousePress(button, Qt::LeftButton);
        QVERIFY(button->state().pressed);
        QCOMPARE(button->buttonStyle()->opacity(button->state()), 0.6);
        QTest::mouseRelease(button, Qt::LeftButton);
        button->setEnabled(false);
        QCOMPARE(button->buttonStyle()->opacity(button->state()), 0.4);
    }
};

QTEST_MAIN(TestPlatformLayer)
#include "tst_PlatformLayer.moc"
