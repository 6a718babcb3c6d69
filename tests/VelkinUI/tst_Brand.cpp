#include "VelkinKit/VelkinKit.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitConfigurator.h"
#include "VelkinUI/LogoMark.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace tessaron;

namespace {
QColor rgb(double r, double g, double b) { return QColor::fromRgbF(float(r), float(g), float(b)); }
bool near(const QColor& a, const QColor& b)
{
    return std::abs(a.redF() - b.redF()) < 0.002 && std::abs(a.greenF() - b.greenF()) < 0.002
        && std::abs(a.blueF() - b.blueF()) < 0.002;
}
} // namespace

class TestBrand : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        // Never leave the brand pointing at a store that a test is about to destroy.
        Brand::configure(BrandConfig(PrefsStore("velkinkit", UserDefaults::standard()), "accentTheme", QIcon(),
                                     "circle.hexagongrid.fill", AccentTheme::violet));
    }

    void themesCarryTheirNamesLabelsAndColours()
    {
        QCOMPARE(AccentThemes::allCases().size(), size_t(5));
        QStringList raw;
        for (AccentTheme t : AccentThemes::allCases()) {
            raw << AccentThemes::rawValue(t);
            QCOMPARE(AccentThemes::palette(t).size(), 5);
            QCOMPARE(AccentThemes::fromRawValue(AccentThemes::rawValue(t)), t);
            for (const QColor& c : AccentThemes::palette(t))
                QCOMPARE(c.alphaF(), 1.0f);
        }
        QCOMPARE(raw, QStringList({"violet", "ocean", "sunset", "forest", "mono"}));
        QCOMPARE(AccentThemes::label(AccentTheme::mono), QStringLiteral("Graphite"));
        QCOMPARE(AccentThemes::id(AccentTheme::ocean), QStringLiteral("ocean"));
        QVERIFY(near(AccentThemes::palette(AccentTheme::sunset).at(2), rgb(0.99, 0.7, 0.3)));
        QVERIFY(near(AccentThemes::accent(AccentTheme::forest), rgb(0.3, 0.8, 0.55)));
        for (AccentTheme t : AccentThemes::allCases())
            QVERIFY(!AccentThemes::palette(t).contains(AccentThemes::accent(t)));
    }

    void onlyExactLowerCaseNamesAreThemes()
    {
        QVERIFY(!AccentThemes::fromRawValue("Violet"));
        QVERIFY(!AccentThemes::fromRawValue("violet "));
        QVERIFY(!AccentThemes::fromRawValue(""));
        QVERIFY(!AccentThemes::fromRawValue("graphite"));
    }

    void builtInConfigurationReadsTheKitNamespace()
    {
        // Before any configure(): namespace "velkinkit", default violet, in the standard store.
        UserDefaults& standard = UserDefaults::standard();
        standard.remove("velkinkit.accentTheme");
        QCOMPARE(Brand::theme(), AccentTheme::violet);
        QCOMPARE(Brand::fallbackSymbol(), QStringLiteral("circle.hexagongrid.fill"));
        QVERIFY(Brand::logo().isNull());
        standard.setString("velkinkit.accentTheme", "forest");
        QCOMPARE(Brand::theme(), AccentTheme::forest);
        standard.remove("velkinkit.accentTheme");
    }

    void configuredThemeFallsBackToTheDefault()
    {
        QTemporaryDir dir;
        UserDefaults defaults(dir.filePath("prefs.json"));
        Brand::configure(BrandConfig(PrefsStore("tessaron", defaults), "accentTheme", QIcon(), "tray.full.fill",
                                     AccentTheme::sunset));
        QCOMPARE(Brand::theme(), AccentTheme::sunset);
        defaults.setString("tessaron.accentTheme", "Violet");
        QCOMPARE(Brand::theme(), AccentTheme::sunset);
        defaults.setString("tessaron.accentTheme", "violet ");
        QCOMPARE(Brand::theme(), AccentTheme::sunset);
        defaults.setInteger("tessaron.accentTheme", 3);
        QCOMPARE(Brand::theme(), AccentTheme::sunset);
        defaults.setString("tessaron.accentTheme", "mono");
        QCOMPARE(AccentThemes::label(Brand::theme()), QStringLiteral("Graphite"));

        Brand::setTheme(AccentTheme::ocean);
        QCOMPARE(defaults.string("tessaron.accentTheme"), std::optional<QString>("ocean"));
        QVERIFY(near(Brand::palette().at(2), rgb(0.34, 0.86, 0.78)));
        QVERIFY(near(Brand::accent(), rgb(0.26, 0.66, 0.98)));
        const QLinearGradient g = Brand::gradient(QRectF(0, 0, 10, 20));
        QCOMPARE(g.start(), QPointF(0, 0));
        QCOMPARE(g.finalStop(), QPointF(10, 20));
        QCOMPARE(g.stops().size(), 3);
        QVERIFY(near(g.stops().at(1).second, Brand::palette().at(1)));
        // Reconfiguring replaces everything, the store included.
        QTemporaryDir other;
        UserDefaults fresh(other.filePath("prefs.json"));
        Brand::configure(
            BrandConfig(PrefsStore("tessaron", fresh), "accentTheme", QIcon(), "tray.full.fill", AccentTheme::forest));
        QCOMPARE(Brand::theme(), AccentTheme::forest);
    }

    void kitConfigureReachesTheBrand()
    {
        installBrandAsKitConfigurator();
        QImage logo(4, 4, QImage::Format_ARGB32);
        logo.fill(Qt::blue);
        VelkinKit::configure("tessaron", QVariant(logo), "tray.full.fill", "sunset");
        QCOMPARE(Brand::config().prefs.key("accentTheme"), QString("tessaron.accentTheme"));
        QCOMPARE(Brand::fallbackSymbol(), QString("tray.full.fill"));
        QVERIFY(!Brand::logo().isNull());
        UserDefaults::standard().remove("tessaron.accentTheme");
        QCOMPARE(Brand::theme(), AccentTheme::sunset);
        VelkinKit::configure("kit", QVariant(), "x", "no-such-theme");
        QCOMPARE(Brand::theme(), AccentTheme::violet);
        QVERIFY(Brand::logo().isNull());
        VelkinKit::setBrandConfigurator({});
    }

    void logoMarkDrawsTheSymbolOrTheLogo()
    {
        QTemporaryDir dir;
        UserDefaults defaults(dir.filePath("prefs.json"));
        Brand::configure(
            BrandConfig(PrefsStore("t", defaults), "accentTheme", QIcon(), "tray.full.fill", AccentTheme::sunset));
        LogoMark mark(40);
        QCOMPARE(mark.size(), QSize(40, 40));
        QImage symbol(40, 40, QImage::Format_ARGB32_Premultiplied);
        symbol.fill(Qt::transparent);
        {
            QPainter p(&symbol);
            LogoMark::paintMark(p, QRectF(0, 0, 40, 40));
        }
        int coloured = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                coloured += qAlpha(symbol.pixel(x, y)) > 200;
        QVERIFY2(coloured > 200, "the fallback symbol draws a solid shape");

        QImage red(8, 8, QImage::Format_ARGB32);
        red.fill(Qt::red);
        Brand::configure(BrandConfig(PrefsStore("t", defaults), "accentTheme", QIcon(QPixmap::fromImage(red)),
                                     "tray.full.fill", AccentTheme::sunset));
        QImage logo(40, 40, QImage::Format_ARGB32_Premultiplied);
        logo.fill(Qt::transparent);
        {
            QPainter p(&logo);
            LogoMark::paintMark(p, QRectF(0, 0, 40, 40));
        }
        QCOMPARE(QColor(logo.pixel(20, 20)), QColor(Qt::red));
        QCOMPARE(QColor(logo.pixel(2, 2)), QColor(Qt::red)); // scaled to fill the square
    }
};

QTEST_MAIN(TestBrand)
#include "tst_Brand.moc"
