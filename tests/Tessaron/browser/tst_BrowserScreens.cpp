#include "Tessaron/screens/ScreenShooter.h"

#include <QDir>
#include <QImage>
#include <QTest>

namespace tessaron {
void shootBrowser(ScreenShooter& shooter);
}

using namespace tessaron;

class TestBrowserScreens : public QObject {
    Q_OBJECT
private slots:
    void everyScreenIsWrittenAndNotBlank()
    {
        QDir(TESSARON_SCREENS_DIR).removeRecursively();
        ScreenShooter shooter(TESSARON_SCREENS_DIR);
        shootBrowser(shooter);
        QVERIFY2(shooter.failures().isEmpty(), qPrintable(shooter.failures().join(", ")));
        const QStringList expected = {
            "browser-kafka-drift",   "browser-lag",   "browser-search-nomatch", "browser-empty",  "browser-working",
            "exhibit-json-suspects", "exhibit-avro",  "exhibit-tombstone",      "exhibit-binary", "picker-popover",
            "consent-before",        "consent-after", "consent-quorum",         "consent-refused"};
        for (const QString& name : expected) {
            for (const QString& suffix : {QStringLiteral(".png"), QStringLiteral("@2x.png")}) {
                const QString path = QString(TESSARON_SCREENS_DIR) + "/" + name + suffix;
                const QImage image(path);
                QVERIFY2(!image.isNull(), qPrintable(path));
                // Not blank: more than one colour.
                const QRgb first = image.pixel(0, 0);
                bool varied = false;
                for (int y = 0; y < image.height() && !varied; y += 7) {
                    for (int x = 0; x < image.width() && !varied; x += 7)
                        varied = image.pixel(x, y) != first;
                }
                QVERIFY2(varied, qPrintable(path));
            }
        }
    }
};

QTEST_MAIN(TestBrowserScreens)
#include "tst_BrowserScreens.moc"
