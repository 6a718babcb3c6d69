#include "ScreenShooter.h"
#include "Tessaron/app/TessaronApplication.h"

#include <QApplication>

#include <QDir>
#include <QImage>
#include <QTest>

namespace tessaron {
void shootSettings(ScreenShooter& shooter);
}

using namespace tessaron;

class TestSettingsScreens : public QObject {
    Q_OBJECT
private slots:
    // The application's style, brand and fonts, as the screens tool has them.
    void initTestCase() { TessaronApplication::prepare(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void everyScreenIsWrittenAndNotBlank()
    {
        ScreenShooter shooter(QStringLiteral(TESSARON_SCREENS_DIR));
        QDir().mkpath(shooter.folder());
        shootSettings(shooter);
        QVERIFY2(shooter.failures().isEmpty(), qPrintable(shooter.failures().join(", ")));
        const QStringList expected = {"settings-general",
                                      "settings-general-pt",
                                      "settings-ai-found",
                                      "settings-ai-found-pt",
                                      "settings-about",
                                      "settings-about-pt",
                                      "settings-ai-checking",
                                      "settings-ai-none",
                                      "settings-general-custom",
                                      "settings-general-on-the-record",
                                      "about-window",
                                      "about-disturbed",
                                      "about-window-pt",
                                      "whatsnew-current",
                                      "whatsnew-current-pt"};
        for (const QString& name : expected) {
            for (const QString& suffix : {QString(".png"), QString("@2x.png")}) {
                const QString path = shooter.folder() + '/' + name + suffix;
                QImage image(path);
                QVERIFY2(!image.isNull(), qPrintable(path));
                const QRgb first = image.pixel(0, 0);
                bool varied = false;
                for (int y = 0; y < image.height() && !varied; y += 3) {
                    for (int x = 0; x < image.width() && !varied; x += 3)
                        varied = image.pixel(x, y) != first;
                }
                QVERIFY2(varied, qPrintable(path + " is blank"));
            }
        }
    }
};

QTEST_MAIN(TestSettingsScreens)
#include "tst_SettingsScreens.moc"
