// Renders the action sheets into <build>/screens-actions for a reader to look at, and checks that
// each was drawn.
#include "Tessaron/screens/ScreenShooter.h"

#include "Tessaron/kit/AppArtwork.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitFont.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStyleFactory>
#include <QTest>

namespace tessaron {
void shootActions(ScreenShooter& shooter);
}

using namespace tessaron;

class TestActionScreens : public QObject {
    Q_OBJECT
private slots:
    void rendersEveryState()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        KitFont::registerFonts();
        AccessibilitySettings::instance().setReduceMotion(true);
        Brand::configure(BrandConfig(PrefsStore("tessaron", UserDefaults::standard()), "accentTheme",
                                     AppArtwork::appIcon(), "tray.full.fill", AccentTheme::sunset));
        QDir(QStringLiteral(TESSARON_SCREENS_DIR)).removeRecursively();
        ScreenShooter shooter(QStringLiteral(TESSARON_SCREENS_DIR));
        shootActions(shooter);
        QVERIFY2(shooter.failures().isEmpty(), qPrintable(shooter.failures().join(u'\n')));
        QStringList names;
        for (const QString& path : shooter.written())
            names << QFileInfo(path).fileName();
        for (const char* state :
             {"produce-empty", "produce-filled", "produce-working", "produce-filed", "produce-refused", "reset-empty",
              "reset-filled", "reset-working", "reset-filed", "reset-refused", "reset-warnings", "ask-empty",
              "ask-thinking", "ask-opinion", "ask-no-opinion"}) {
            for (const QString& file : {QString::fromLatin1(state) + ".png", QString::fromLatin1(state) + "@2x.png"})
                QVERIFY2(names.contains(file), qPrintable(file));
        }
        for (const QString& path : shooter.written()) {
            const QImage image(path);
            QVERIFY2(!image.isNull(), qPrintable(path));
            QCOMPARE(image.deviceIndependentSize().toSize(), QSize(640, 680));
            const QRgb corner = image.pixel(image.width() / 2, 2);
            int different = 0;
            for (int y = 0; y < image.height(); y += 9)
                for (int x = 0; x < image.width(); x += 9)
                    different += image.pixel(x, y) != corner;
            QVERIFY2(different > 100, qPrintable(path));
        }
    }
};

QTEST_MAIN(TestActionScreens)
#include "tst_ActionScreens.moc"
