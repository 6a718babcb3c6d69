// Renders the reception family's screens into <build>/screens-reception until the screens tool
// runs them, and checks that every file is there and drawn.

#include "Tessaron/screens/ScreenShooter.h"

#include "Tessaron/kit/AppArtwork.h"
#include "Tessaron/kit/SettingsPalette.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitFont.h"

#include <QApplication>
#include <QStyleFactory>
#include <QDir>
#include <QImage>
#include <QTest>

namespace tessaron {
void shootReception(ScreenShooter& shooter);
}

using namespace tessaron;

class TestReceptionScreens : public QObject {
    Q_OBJECT
private slots:
    void rendersEveryState()
    {
        AccessibilitySettings::instance().setReduceMotion(true);
        KitFont::registerFonts();
        QDir(TESSARON_SCREENS_DIR).removeRecursively();
        ScreenShooter shooter(TESSARON_SCREENS_DIR);
        shootReception(shooter);
        QVERIFY2(shooter.failures().isEmpty(), qPrintable(shooter.failures().join('\n')));
        for (const QString& name : QStringList{"reception-empty", "reception-docket", "reception-connecting",
                                               "form-new", "form-kafka-plaintext", "form-kafka-ssl", "form-kafka-sasl",
                                               "form-kafka-sasl-ssl", "form-rabbitmq", "form-kafka-tested"}) {
            for (const QString& suffix : QStringList{".png", "@2x.png"}) {
                const QImage image(QString(TESSARON_SCREENS_DIR) + '/' + name + suffix);
                QVERIFY2(!image.isNull(), qPrintable(name + suffix));
                // Drawn: more than one colour.
                const QRgb first = image.pixel(0, 0);
                bool varied = false;
                for (int y = 0; y < image.height() && !varied; y += 7) {
                    for (int x = 0; x < image.width() && !varied; x += 7)
                        varied = image.pixel(x, y) != first;
                }
                QVERIFY2(varied, qPrintable(name + suffix));
            }
        }
    }
};

int main(int argc, char** argv)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    QApplication app(argc, argv);
    // What the application sets up at start: the brand in its default theme, Fusion, a dark palette.
    Brand::configure(BrandConfig(PrefsStore(QStringLiteral("tessaron"), UserDefaults::standard()),
                                 QStringLiteral("accentTheme"), AppArtwork::logoMark(),
                                 QStringLiteral("tray.full.fill"), AccentTheme::sunset));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark;
    dark.setColor(QPalette::Window, SettingsPalette::canvas());
    dark.setColor(QPalette::WindowText, SettingsPalette::ink());
    dark.setColor(QPalette::Base, SettingsPalette::canvas());
    dark.setColor(QPalette::Text, SettingsPalette::ink());
    dark.setColor(QPalette::Button, SettingsPalette::canvas());
    dark.setColor(QPalette::ButtonText, SettingsPalette::ink());
    QApplication::setPalette(dark);
    TestReceptionScreens test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ReceptionScreens.moc"
