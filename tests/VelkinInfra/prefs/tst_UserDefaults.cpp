#include "VelkinInfra/prefs/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <limits>

using namespace tessaron;

namespace {
const char* childWriteVar = "TESSARON_DEFAULTS_CHILD_WRITE";

// Run in a child process: what it stores must come back, with its types, in the parent.
int writeInChild(const QString& path)
{
    UserDefaults store(path);
    store.setBool(QStringLiteral("t.flag"), false);
    store.setInteger(QStringLiteral("t.zero"), 0);
    store.setInteger(QStringLiteral("t.big"), std::numeric_limits<qint64>::max() - 1);
    store.setDouble(QStringLiteral("t.whole"), 2.0);
    store.setDouble(QStringLiteral("t.half"), 0.5);
    store.setString(QStringLiteral("t.text"), QStringLiteral("250"));
    store.setStringList(QStringLiteral("t.one"), {QStringLiteral("orders.events")});
    store.setStringList(QStringLiteral("t.none"), {});
    return store.lastWriteSucceeded() ? 0 : 3;
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}
} // namespace

class TestUserDefaults : public QObject {
    Q_OBJECT
private slots:
    void aLeadingByteOrderMarkSurvivesTheFile()
    {
        // A pin whose name starts with U+FEFF, as written by a previous run.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("preferences.json"));
        QVERIFY(writeFile(path, "{\"t.pins\": [\"\xEF\xBB\xBForders\", \"plain\"], \"t.name\": \"\xEF\xBB\xBF\"}"));
        UserDefaults store(path);
        QCOMPARE(store.stringList(QStringLiteral("t.pins")),
                 std::optional<QStringList>(QStringList{QStringLiteral("\uFEFForders"), QStringLiteral("plain")}));
        QCOMPARE(store.string(QStringLiteral("t.name")), std::optional<QString>(QStringLiteral("\uFEFF")));
    }

    void valuesKeepTheirTypesInAFreshProcess()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("prefs/preferences.json"));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(childWriteVar), path);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);

        UserDefaults store(path);
        QCOMPARE(store.object(QStringLiteral("t.flag")).typeId(), int(QMetaType::Bool));
        QCOMPARE(store.boolean(QStringLiteral("t.flag")), std::optional<bool>(false));
        QCOMPARE(store.integer(QStringLiteral("t.zero")), std::optional<qint64>(0));
        QCOMPARE(store.integer(QStringLiteral("t.big")), std::optional<qint64>(std::numeric_limits<qint64>::max() - 1));
        QCOMPARE(store.object(QStringLiteral("t.whole")).typeId(), int(QMetaType::Double));
        QCOMPARE(store.number(QStringLiteral("t.half")), std::optional<double>(0.5));
        QCOMPARE(store.object(QStringLiteral("t.text")).typeId(), int(QMetaType::QString));
        QCOMPARE(store.stringList(QStringLiteral("t.one")),
                 std::optional<QStringList>(QStringList{QStringLiteral("orders.events")}));
        QCOMPARE(store.stringList(QStringLiteral("t.none")), std::optional<QStringList>(QStringList{}));
        QVERIFY(store.contains(QStringLiteral("t.none")));
    }

    void absentIsNotFalseOrZero()
    {
        QTemporaryDir dir;
        UserDefaults store(dir.filePath(QStringLiteral("p.json")));
        QCOMPARE(store.boolean(QStringLiteral("k")), std::nullopt);
        QCOMPARE(store.integer(QStringLiteral("k")), std::nullopt);
        QCOMPARE(store.string(QStringLiteral("k")), std::nullopt);
        store.setBool(QStringLiteral("k"), false);
        QCOMPARE(store.boolean(QStringLiteral("k")), std::optional<bool>(false));
        QCOMPARE(store.integer(QStringLiteral("k")), std::optional<qint64>(0));
        store.remove(QStringLiteral("k"));
        QVERIFY(!store.contains(QStringLiteral("k")));
        QCOMPARE(store.boolean(QStringLiteral("k")), std::nullopt);
    }

    void readersConvertBetweenKinds()
    {
        QTemporaryDir dir;
        UserDefaults store(dir.filePath(QStringLiteral("p.json")));
        store.setString(QStringLiteral("s"), QStringLiteral("250"));
        QCOMPARE(store.integer(QStringLiteral("s")), std::optional<qint64>(250));
        QCOMPARE(store.boolean(QStringLiteral("s")), std::optional<bool>(true));
        store.setString(QStringLiteral("s"), QStringLiteral("nope"));
        QCOMPARE(store.boolean(QStringLiteral("s")), std::optional<bool>(false));
        QCOMPARE(store.integer(QStringLiteral("s")), std::optional<qint64>(0));
        store.setInteger(QStringLiteral("n"), 42);
        QCOMPARE(store.string(QStringLiteral("n")), std::optional<QString>(QStringLiteral("42")));
        QCOMPARE(store.number(QStringLiteral("n")), std::optional<double>(42.0));
        store.setDouble(QStringLiteral("d"), 7.9);
        QCOMPARE(store.integer(QStringLiteral("d")), std::optional<qint64>(7));
        store.setDouble(QStringLiteral("d"), 1e300);
        QCOMPARE(store.integer(QStringLiteral("d")), std::optional<qint64>(0));
        store.setStringList(QStringLiteral("l"), {QStringLiteral("a")});
        QCOMPARE(store.string(QStringLiteral("l")), std::nullopt);
        QCOMPARE(store.boolean(QStringLiteral("l")), std::optional<bool>(false));
        QCOMPARE(store.stringList(QStringLiteral("n")), std::nullopt);
    }

    void everyWriteAndRemovalSignalsOnce()
    {
        QTemporaryDir dir;
        UserDefaults store(dir.filePath(QStringLiteral("p.json")));
        QSignalSpy spy(&store, &UserDefaults::changed);
        store.setInteger(QStringLiteral("a"), 1);
        store.setInteger(QStringLiteral("a"), 1);
        store.remove(QStringLiteral("a"));
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(2).at(0).toString(), QStringLiteral("a"));
    }

    void aWriteFromAnotherThreadSignalsOnTheStoreThread()
    {
        QTemporaryDir dir;
        UserDefaults store(dir.filePath(QStringLiteral("p.json")));
        QThread* signalledOn = nullptr;
        connect(
            &store, &UserDefaults::changed, &store, [&] { signalledOn = QThread::currentThread(); },
            Qt::DirectConnection);
        QThread* worker = QThread::create([&] { store.setString(QStringLiteral("w"), QStringLiteral("x")); });
        worker->start();
        QVERIFY(worker->wait(10000));
        delete worker;
        QTRY_COMPARE(signalledOn, QThread::currentThread());
        QCOMPARE(store.string(QStringLiteral("w")), std::optional<QString>(QStringLiteral("x")));
    }

    void anUnreadableFileIsKeptBeforeItIsReplaced()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.json"));
        QVERIFY(writeFile(path, "{ \"tessaron.onboarded\": tru"));
        UserDefaults store(path);
        QCOMPARE(store.boolean(QStringLiteral("tessaron.onboarded")), std::nullopt);
        store.setBool(QStringLiteral("x"), true);
        QVERIFY(store.flush());
        const QStringList kept = QDir(dir.path()).entryList({QStringLiteral("p.json.unreadable-*")});
        QCOMPARE(kept.size(), 1);
        QFile copy(dir.filePath(kept.first()));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("{ \"tessaron.onboarded\": tru"));
        UserDefaults again(path);
        QCOMPARE(again.boolean(QStringLiteral("x")), std::optional<bool>(true));
    }

    void aBurstOfWritesReachesTheFileOnceAfterwardsAndNothingPendingIsLost()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.json"));
        {
            UserDefaults store(path);
            for (int i = 1; i <= 50; ++i)
                store.setInteger(QStringLiteral("t.read"), i);
            // The writing thread never waits for the disk: the store answers at once, the file follows.
            QCOMPARE(store.integer(QStringLiteral("t.read")), std::optional<qint64>(50));
            QVERIFY(!QFile::exists(path));
            QTRY_VERIFY(QFile::exists(path));
            QCOMPARE(UserDefaults(path).integer(QStringLiteral("t.read")), std::optional<qint64>(50));
            // Written within the debounce of going away: written on the way out.
            store.setBool(QStringLiteral("t.last"), true);
        }
        QCOMPARE(UserDefaults(path).boolean(QStringLiteral("t.last")), std::optional<bool>(true));
    }

    void theStandardStoreLivesUnderTheConfigFolder()
    {
        QVERIFY(UserDefaults::standardFilePath().endsWith(QStringLiteral("/tessaron.velkin/preferences.json")));
        QVERIFY(UserDefaults::standardFilePath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
        QCOMPARE(UserDefaults::standard().thread(), QCoreApplication::instance()->thread());
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(childWriteVar))
        return writeInChild(qEnvironmentVariable(childWriteVar));
    TestUserDefaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_UserDefaults.moc"
