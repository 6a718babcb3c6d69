#include "TessaronCore/model/Broker.h"
#include "TessaronCore/storage/AppSupport.h"
#include "TessaronCore/storage/JSONFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QThread>
#include <QtTest>

#include <memory>

using namespace tessaron;

namespace {

using BrokerList = QList<Broker>;

Broker broker(const QString& name)
{
    Broker b;
    b.id = QUuid::createUuid();
    b.name = name;
    b.saslMechanism = QStringLiteral("PLAIN");
    return b;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeRaw(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QStringList asideCopies(const QString& fileName)
{
    return QDir(AppSupport::root()).entryList({fileName + QStringLiteral(".unreadable-*")}, QDir::Files);
}

// A value whose encoding can be made to fail.
struct Note {
    QString text;
    bool encodable = true;
};
struct NoteCodec {
    static std::optional<QJsonValue> encode(const Note& n)
    {
        if (!n.encodable)
            return std::nullopt;
        return QJsonValue(QJsonObject{{QStringLiteral("text"), n.text}});
    }
    static std::optional<Note> decode(const QJsonValue& v)
    {
        if (!v.isObject() || !v.toObject().value("text").isString())
            return std::nullopt;
        return Note{v.toObject().value("text").toString()};
    }
};

} // namespace

class TestJSONFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The data folder is this test's own scratch folder; start every run from an empty one.
        QVERIFY(qEnvironmentVariableIsSet("XDG_DATA_HOME"));
        QDir(AppSupport::root()).removeRecursively();
    }

    void appSupportFolder()
    {
        const QString root = AppSupport::root();
        QCOMPARE(root, qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/tessaron.velkin"));
        QVERIFY(QFileInfo(root).isDir());
        QCOMPARE(AppSupport::url(QStringLiteral("x.json")), root + QStringLiteral("/x.json"));
        QVERIFY(!QFileInfo::exists(AppSupport::url(QStringLiteral("x.json"))));
        QVERIFY(QFileInfo(AppSupport::directory(QStringLiteral("sub"))).isDir());
    }

    void loadGivesNothingOrEverything()
    {
        JSONFile<BrokerList> store(QStringLiteral("load.json"));
        QCOMPARE(store.url(), AppSupport::url(QStringLiteral("load.json")));
        QVERIFY(!QFileInfo::exists(store.url())); // creating a store touches no file
        QVERIFY(!store.load());

        for (const QByteArray& bad :
             {QByteArray(), QByteArray("not json"), QByteArray("{\"a\":1}"), QByteArray("[1]")}) {
            writeRaw(store.url(), bad);
            QVERIFY2(!store.load(), bad.constData());
        }

        const Broker good = broker(QStringLiteral("good"));
        QJsonObject unknownKind = broker(QStringLiteral("bad")).toJson();
        unknownKind.insert(QStringLiteral("kind"), QStringLiteral("kinesis"));
        writeRaw(store.url(), QJsonDocument(QJsonArray{good.toJson(), unknownKind}).toJson());
        QVERIFY(!store.load());

        writeRaw(store.url(), "[]");
        QCOMPARE(store.load(), std::optional<BrokerList>(BrokerList{}));
        QVERIFY(store.saveNow({}));
        QCOMPARE(store.load(), std::optional<BrokerList>(BrokerList{}));
    }

    void saveNowWritesSortedPrettyArray()
    {
        JSONFile<BrokerList> store(QStringLiteral("brokers.json"));
        Broker b = broker(QStringLiteral("Local"));
        b.bootstrap = QStringLiteral("localhost:19092/x");
        QVERIFY(store.saveNow({b}));
        const QByteArray text = readAll(store.url());
        QVERIFY(text.startsWith("[\n"));
        const QStringList keys{"bootstrap",
                               "caPath",
                               "clientCertPath",
                               "clientKeyPath",
                               "id",
                               "isFavorite",
                               "kind",
                               "name",
                               "saslMechanism",
                               "schemaRegistryURL",
                               "schemaRegistryUsername",
                               "security",
                               "username",
                               "vhost"};
        qsizetype last = -1;
        for (const QString& key : keys) {
            const qsizetype at = text.indexOf("\"" + key.toUtf8() + "\":");
            QVERIFY2(at > last, qPrintable(key));
            last = at;
        }
        QVERIFY(text.contains(uuidTextOf(b).toUtf8()));
        QCOMPARE(store.load(), std::optional<BrokerList>({b}));
        QVERIFY(QDir(AppSupport::root()).entryList({"brokers.json.*"}, QDir::Files | QDir::Hidden).isEmpty());
    }

    void saveNowReportsFailure()
    {
        // A folder where the file should be cannot be replaced by a file.
        QDir().mkpath(AppSupport::url(QStringLiteral("blocked.json")));
        JSONFile<BrokerList> store(QStringLiteral("blocked.json"));
        QVERIFY(!store.saveNow({broker(QStringLiteral("a"))}));
        QVERIFY(QFileInfo(store.url()).isDir());
    }

    void unreadableFileIsKeptBeforeOverwrite()
    {
        JSONFile<BrokerList> store(QStringLiteral("kept.json"));
        const QByteArray original = "[{\"id\":\"not-a-uuid\",\"name\":\"hand edited\"}]";
        writeRaw(store.url(), original);
        QVERIFY(!store.load());

        const Broker b = broker(QStringLiteral("fresh"));
        QVERIFY(store.saveNow({b}));
        const QStringList copies = asideCopies(QStringLiteral("kept.json"));
        QCOMPARE(copies.size(), 1);
        QCOMPARE(readAll(AppSupport::url(copies.first())), original);
        QCOMPARE(store.load(), std::optional<BrokerList>({b}));

        // A readable file is simply replaced; nothing more is kept aside.
        QVERIFY(store.saveNow({}));
        QCOMPARE(asideCopies(QStringLiteral("kept.json")).size(), 1);

        // The debounced write keeps an unreadable file aside too.
        writeRaw(store.url(), "{oops");
        store.save({b});
        QTRY_COMPARE_WITH_TIMEOUT(asideCopies(QStringLiteral("kept.json")).size(), 2, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(store.load(), std::optional<BrokerList>({b}), 5000);
    }

    void aFileThatCouldNotBeReadAtStartIsKeptEvenIfItReadsLater()
    {
        // At start something is in the way of the file (a folder here: as root, permissions
        // would not stop the read), so nothing loads.
        const QString name = QStringLiteral("late.json");
        QVERIFY(QDir().mkpath(AppSupport::url(name)));
        JSONFile<BrokerList> store(name);
        QVERIFY(!store.load());

        // It becomes readable again before the first save, holding the user's brokers.
        QVERIFY(QDir(AppSupport::url(name)).removeRecursively());
        const Broker kept = broker(QStringLiteral("kept"));
        const QByteArray original = *JSONFile<BrokerList>::encode({kept});
        writeRaw(store.url(), original);

        QVERIFY(store.saveNow({broker(QStringLiteral("fresh"))}));
        const QStringList copies = asideCopies(name);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(readAll(AppSupport::url(copies.first())), original);
        // Once kept, later writes replace the file as usual.
        QVERIFY(store.saveNow({}));
        QCOMPARE(asideCopies(name).size(), 1);

        // A file that is simply missing at start has nothing to keep.
        JSONFile<BrokerList> fresh(QStringLiteral("absent.json"));
        QVERIFY(!fresh.load());
        QVERIFY(fresh.saveNow({kept}));
        QVERIFY(asideCopies(QStringLiteral("absent.json")).isEmpty());
    }

    void namesStartingWithAByteOrderMarkRoundTrip()
    {
        JSONFile<BrokerList> store(QStringLiteral("marks.json"));
        Broker b = broker(QStringLiteral("\uFEFFmarked"));
        b.bootstrap = QStringLiteral("\uFEFF");
        QVERIFY(store.saveNow({b}));
        QCOMPARE(store.load(), std::optional<BrokerList>({b}));
    }

    void debounceWritesOnlyTheLastValue()
    {
        const double debounce = 1.0;
        JSONFile<BrokerList> store(QStringLiteral("debounce.json"), debounce);
        const Broker a = broker("A"), b = broker("B"), c = broker("C");
        QElapsedTimer clock;
        clock.start();
        store.save({a});
        QThread::msleep(100);
        store.save({b});
        QThread::msleep(100);
        store.save({c});
        const qint64 sinceThird = clock.elapsed() - 200;
        if (sinceThird < 900)
            QVERIFY(!QFileInfo::exists(store.url()));
        QTRY_COMPARE_WITH_TIMEOUT(store.load(), std::optional<BrokerList>({c}), 10000);
        QVERIFY(clock.elapsed() >= 200 + 1000);

        // saveNow cancels the pending write: D stays.
        const Broker d = broker("D");
        store.save({a});
        QVERIFY(store.saveNow({d}));
        QCOMPARE(store.load(), std::optional<BrokerList>({d}));
        QTest::qWait(1500);
        QCOMPARE(store.load(), std::optional<BrokerList>({d}));
    }

    void removeCancelsPendingWrite()
    {
        JSONFile<BrokerList> store(QStringLiteral("removed.json"), 0.2);
        QVERIFY(store.saveNow({broker("x")}));
        store.save({broker("y")});
        store.remove();
        QVERIFY(!QFileInfo::exists(store.url()));
        QTest::qWait(700);
        QVERIFY(!QFileInfo::exists(store.url()));
        store.remove(); // no file: nothing happens
    }

    void pendingWriteOutlivesStore()
    {
        const QString path = AppSupport::url(QStringLiteral("outlive.json"));
        {
            JSONFile<BrokerList> store(QStringLiteral("outlive.json"), 0.2);
            store.save({broker("late")});
        }
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(path), 5000);
        JSONFile<BrokerList> reader(QStringLiteral("outlive.json"));
        QCOMPARE(reader.load()->first().name, QStringLiteral("late"));
    }

    void unencodableValueChangesNothing()
    {
        JSONFile<Note, NoteCodec> store(QStringLiteral("note.json"), 0.3);
        QVERIFY(store.saveNow(Note{"first"}));
        store.save(Note{"second"});
        QVERIFY(!store.saveNow(Note{"bad", false}));
        store.save(Note{"bad", false});
        QCOMPARE(store.load()->text, QStringLiteral("first"));
        QTRY_COMPARE_WITH_TIMEOUT(store.load()->text, QStringLiteral("second"), 5000);
    }

private:
    static QString uuidTextOf(const Broker& b) { return b.id.toString(QUuid::WithoutBraces).toUpper(); }
};

QTEST_GUILESS_MAIN(TestJSONFile)
#include "tst_JSONFile.moc"
