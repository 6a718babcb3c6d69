#include "VelkinKit/VelkinKit.h"

#include <QTest>

using namespace tessaron;

class TestVelkinKit : public QObject {
    Q_OBJECT
private slots:
    void configureHandsTheStoreToTheBrandKit()
    {
        QCOMPARE(VelkinKit::version, QStringLiteral("0.1.0"));
        QString seenKey, seenSymbol, seenTheme, seenNamespace;
        int calls = 0;
        VelkinKit::setBrandConfigurator([&](const PrefsStore& prefs, const QString& themeKey, const QVariant& logo,
                                            const QString& fallbackSymbol, const QString& defaultTheme) {
            ++calls;
            seenNamespace = prefs.nameSpace();
            seenKey = prefs.key(themeKey);
            seenSymbol = fallbackSymbol;
            seenTheme = defaultTheme;
            QVERIFY(!logo.isValid());
        });
        const PrefsStore store = VelkinKit::configure(QStringLiteral("tessaron"), QVariant(),
                                                      QStringLiteral("tray.full.fill"), QStringLiteral("sunset"));
        QCOMPARE(calls, 1);
        QCOMPARE(seenNamespace, QStringLiteral("tessaron"));
        QCOMPARE(seenKey, QStringLiteral("tessaron.accentTheme"));
        QCOMPARE(seenSymbol, QStringLiteral("tray.full.fill"));
        QCOMPARE(seenTheme, QStringLiteral("sunset"));
        QCOMPARE(&store.defaults(), &UserDefaults::standard());

        VelkinKit::setBrandConfigurator({});
        const PrefsStore plain = VelkinKit::configure(QStringLiteral("kit"), QVariant(), QString(), QString());
        QCOMPARE(calls, 1);
        QCOMPARE(plain.key(QStringLiteral("x")), QStringLiteral("kit.x"));
    }
};

QTEST_GUILESS_MAIN(TestVelkinKit)
#include "tst_VelkinKit.moc"
