#include "VelkinInfra/prefs/PrefsStore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tessaron;

class TestPrefsStore : public QObject {
    Q_OBJECT
private slots:
    void keysCarryTheNamespace()
    {
        QTemporaryDir dir;
        UserDefaults defaults(dir.filePath(QStringLiteral("p.json")));
        PrefsStore prefs(QStringLiteral("tessaron"), defaults);
        QCOMPARE(prefs.key(QStringLiteral("accentTheme")), QStringLiteral("tessaron.accentTheme"));
        prefs.set(QStringLiteral("ocean"), QStringLiteral("accentTheme"));
        QCOMPARE(defaults.string(QStringLiteral("tessaron.accentTheme")),
                 std::optional<QString>(QStringLiteral("ocean")));
        QCOMPARE(PrefsStore(QStringLiteral("velkinkit"), defaults).stringFor(QStringLiteral("accentTheme")),
                 std::nullopt);
    }

    void defaultsApplyOnlyWhenNothingIsStored()
    {
        QTemporaryDir dir;
        UserDefaults defaults(dir.filePath(QStringLiteral("p.json")));
        PrefsStore prefs(QStringLiteral("kit"), defaults);
        QCOMPARE(prefs.boolFor(QStringLiteral("b"), true), true);
        prefs.set(false, QStringLiteral("b"));
        QCOMPARE(prefs.boolFor(QStringLiteral("b"), true), false);
        prefs.remove(QStringLiteral("b"));
        QCOMPARE(prefs.boolFor(QStringLiteral("b"), true), true);

        QCOMPARE(prefs.intFor(QStringLiteral("i"), 7), qint64(7));
        prefs.set(0, QStringLiteral("i"));
        QCOMPARE(prefs.intFor(QStringLiteral("i"), 7), qint64(0));
        QCOMPARE(defaults.object(QStringLiteral("kit.i")).typeId(), int(QMetaType::LongLong));

        QCOMPARE(prefs.doubleFor(QStringLiteral("d"), 1.5), 1.5);
        prefs.set(0.0, QStringLiteral("d"));
        QCOMPARE(prefs.doubleFor(QStringLiteral("d"), 1.5), 0.0);

        QCOMPARE(prefs.stringFor(QStringLiteral("s"), QStringLiteral("auto")), QStringLiteral("auto"));
        prefs.set(QString(), QStringLiteral("s"));
        QCOMPARE(prefs.stringFor(QStringLiteral("s"), QStringLiteral("auto")), QString());
    }

    void anAbsentTextRemovesTheKey()
    {
        QTemporaryDir dir;
        UserDefaults defaults(dir.filePath(QStringLiteral("p.json")));
        PrefsStore prefs(QStringLiteral("kit"), defaults);
        prefs.set("claude", QStringLiteral("aiProvider"));
        QCOMPARE(prefs.stringFor(QStringLiteral("aiProvider")), std::optional<QString>(QStringLiteral("claude")));
        prefs.set(std::optional<QString>(), QStringLiteral("aiProvider"));
        QCOMPARE(prefs.stringFor(QStringLiteral("aiProvider")), std::nullopt);
        QVERIFY(!defaults.contains(QStringLiteral("kit.aiProvider")));
    }
};

QTEST_GUILESS_MAIN(TestPrefsStore)
#include "tst_PrefsStore.moc"
