#include "VelkinUI/AccessibilitySettings.h"

#include <QSignalSpy>
#include <QTest>

using namespace tessaron;

class TestReducedSettings : public QObject {
    Q_OBJECT
private slots:
    void environmentForcesTheSettings()
    {
        // TESSARON_REDUCE_MOTION=1, TESSARON_REDUCE_TRANSPARENCY=yes, TESSARON_INCREASE_CONTRAST=0.
        AccessibilitySettings& a11y = AccessibilitySettings::instance();
        QVERIFY(a11y.reduceMotion());
        QVERIFY(a11y.reduceTransparency());
        QVERIFY(!a11y.increaseContrast());
        // The desktop cannot override what the environment pinned.
        QSignalSpy changed(&a11y, &AccessibilitySettings::changed);
        a11y.refreshFromDesktop();
        QTest::qWait(200);
        QCOMPARE(changed.size(), 0);
        QVERIFY(a11y.reduceMotion());
    }
};

QTEST_MAIN(TestReducedSettings)
#include "tst_ReducedSettings.moc"
