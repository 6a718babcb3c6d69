#include "ScreenShooter.h"

#include <QImage>
#include <QTest>

namespace tessaron {
void shootCasework(ScreenShooter& shooter);
}

using namespace tessaron;

class TestCaseworkScreens : public QObject {
    Q_OBJECT
private slots:
    void everyScreenIsWrittenAndNotBlank()
    {
        ScreenShooter shooter(QStringLiteral(TESSARON_SCREENS_DIR));
        shootCasework(shooter);
        QVERIFY2(shooter.failures().isEmpty(), qPrintable(shooter.failures().join(", ")));
        const QStringList expected = {
            "briefing-kafka",       "briefing-rabbit", "briefing-empty",        "notes-drift",
            "notes-consistent",     "notes-too-few",   "verdict-too-few",       "verdict-consistent",
            "verdict-no-majority",  "verdict-drift",   "verdict-drift-more",    "skew-even",
            "skew-skewed",          "skew-starved",    "skew-too-few",          "skew-all-empty",
            "group-stable-lagging", "group-empty",     "group-never-committed", "group-describe-failed"};
        for (const QString& name : expected) {
            for (const QString& suffix : {QString(".png"), QString("@2x.png")}) {
                const QString path = shooter.folder() + '/' + name + suffix;
                QImage image(path);
                QVERIFY2(!image.isNull(), qPrintable(path));
                // Not blank: more than one colour.
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

QTEST_MAIN(TestCaseworkScreens)
#include "tst_CaseworkScreens.moc"
