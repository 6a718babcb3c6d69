#include "TessaronCore/prefs/Prefs.h"

#include "VelkinInfra/prefs/PrefsStore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tessaron;

class TestPrefs : public QObject {
    Q_OBJECT
private slots:
    void messageLimitTakesOnlyWholeNumbers()
    {
        QTemporaryDir dir;
        UserDefaults store(dir.filePath(QStringLiteral("p.json")));
        QCOMPARE(Prefs::messageLimit(store), qint64(100));
        store.setInteger(Prefs::messagesPerRead, 250);
        QCOMPARE(Prefs::messageLimit(store), qint64(250));
        store.setDouble(Prefs::messagesPerRead, 250.0);
        QCOMPARE(Prefs::messageLimit(store), qint64(250));
        store.setDouble(Prefs::messagesPerRead, 250.5);
        QCOMPARE(Prefs::messageLimit(store), qint64(100));
        store.setString(Prefs::messagesPerRead, QStringLiteral("250"));
        QCOMPARE(Prefs::messageLimit(store), qint64(100));
        store.setBool(Prefs::messagesPerRead, true);
        QCOMPARE(Prefs::messageLimit(store), qint64(100));
        // A hand-edited limit that would read nothing falls back too.
        store.setInteger(Prefs::messagesPerRead, 0);
        QCOMPARE(Prefs::messageLimit(store), qint64(100));
        store.setInteger(Prefs::messagesPerRead, -5);
        QCOMPARE(Prefs::messageLimit(store), qint64(100));
    }

    void timeoutMustFitThirtyTwoBits()
    {
        QTemporaryDir dir;
        UserDefaults store(dir.filePath(QStringLiteral("p.json")));
        QCOMPARE(Prefs::timeoutMs(store), 10000);
        store.setInteger(Prefs::requestTimeoutMs, 250);
        QCOMPARE(Prefs::timeoutMs(store), 250);
        store.setInteger(Prefs::requestTimeoutMs, qint64(1) << 31);
        QCOMPARE(Prefs::timeoutMs(store), 10000);
        store.setInteger(Prefs::requestTimeoutMs, -(qint64(1) << 31));
        QCOMPARE(Prefs::timeoutMs(store), int32_t(-2147483647 - 1));
        store.setString(Prefs::requestTimeoutMs, QStringLiteral("250"));
        QCOMPARE(Prefs::timeoutMs(store), 10000);
    }

    void keysMeetTheNamespacedStore()
    {
        QTemporaryDir dir;
        UserDefaults store(dir.filePath(QStringLiteral("p.json")));
        PrefsStore prefs(QStringLiteral("tessaron"), store);
        QCOMPARE(prefs.key(QStringLiteral("accentTheme")), Prefs::accentTheme);
        QCOMPARE(prefs.key(QStringLiteral("aiProvider")), Prefs::aiProvider);
        QCOMPARE(Prefs::messagesRead, QStringLiteral("tessaron.tally.read"));
        QCOMPARE(Prefs::messagesDisturbed, QStringLiteral("tessaron.tally.disturbed"));
    }

    void pinnedTopicsKeyUsesTheUpperCaseIdentifier()
    {
        const QUuid id = QUuid::fromString(QStringLiteral("{6f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b}"));
        const QString key = Prefs::pinnedTopics(id);
        QCOMPARE(key, QStringLiteral("tessaron.topic.6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B.pinned"));
        QCOMPARE(key.mid(15, 36).count(QLatin1Char('-')), 4);
        QCOMPARE(Prefs::pinnedTopics(QStringLiteral("abc")), QStringLiteral("tessaron.topic.abc.pinned"));
    }
};

QTEST_GUILESS_MAIN(TestPrefs)
#include "tst_Prefs.moc"
