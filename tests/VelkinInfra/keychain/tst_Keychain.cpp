#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include "VelkinInfra/keychain/Keychain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

using namespace tessaron;

namespace {

bool secretServiceOnBus()
{
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (!bus) {
        g_clear_error(&error);
        return false;
    }
    GVariant* reply =
        g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                    "NameHasOwner", g_variant_new("(s)", "org.freedesktop.secrets"),
                                    G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 3000, nullptr, &error);
    bool owned = false;
    if (reply) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    g_clear_error(&error);
    g_object_unref(bus);
    return owned;
}

// Counts the items of one service and account with the keyring's own search, not through Keychain.
int itemCount(const QString& service, const QString& account)
{
    static const SecretSchema schema = {"tessaron.velkin.Secret",
                                        SECRET_SCHEMA_NONE,
                                        {{"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                        0,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr};
    GError* error = nullptr;
    GList* items =
        secret_password_search_sync(&schema, SECRET_SEARCH_ALL, nullptr, &error, "service",
                                    service.toUtf8().constData(), "account", account.toUtf8().constData(), nullptr);
    g_clear_error(&error);
    const int n = int(g_list_length(items));
    g_list_free_full(items, g_object_unref);
    return n;
}

// Child mode: every operation against an unreachable bus, results on standard output.
int probeWithoutService()
{
    Keychain k(QStringLiteral("tessaron.velkin.test.absent"));
    const bool stored = k.set(QStringLiteral("secret"), QStringLiteral("acct"));
    const bool cleared = k.set(QString(), QStringLiteral("acct"));
    const bool read = k.get(QStringLiteral("acct")).has_value();
    k.remove(QStringLiteral("acct"));
    printf("set=%d clear=%d get=%d\n", int(stored), int(cleared), int(read));
    return 0;
}

} // namespace

// QSKIP returns from the function it is written in, so this has to be a macro.
#define REQUIRE_SECRET_SERVICE()                                                                                       \
    if (!m_haveService)                                                                                                \
    QSKIP("no Secret Service on the session bus (run the tests through scripts/services/run-with-services.sh)")

class TestKeychain : public QObject {
    Q_OBJECT
private:
    QString m_service;
    bool m_haveService = false;

private slots:
    void initTestCase()
    {
        m_haveService = secretServiceOnBus();
        m_service = QStringLiteral("tessaron.velkin.test.") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    }

    void storeReadAndReplace()
    {
        REQUIRE_SECRET_SERVICE();
        Keychain k(m_service);
        QVERIFY(k.set(QStringLiteral("first"), QStringLiteral("a")));
        QCOMPARE(k.get(QStringLiteral("a")), std::optional<QString>(QStringLiteral("first")));
        QVERIFY(k.set(QStringLiteral("second"), QStringLiteral("a")));
        QCOMPARE(k.get(QStringLiteral("a")), std::optional<QString>(QStringLiteral("second")));
        QCOMPARE(itemCount(m_service, QStringLiteral("a")), 1);

        const QString unicode = QString::fromUtf8("p\u00e4ss w\u00f6rd \u2713 \U0001F511");
        QVERIFY(k.set(unicode, QStringLiteral("a")));
        QCOMPARE(k.get(QStringLiteral("a")), std::optional<QString>(unicode));

        // Every character is kept, a U+0000 inside included: nothing is cut short behind a true.
        const QString withNul = QStringLiteral("before") + QChar(0) + QStringLiteral("after");
        QVERIFY(k.set(withNul, QStringLiteral("a")));
        QCOMPARE(k.get(QStringLiteral("a")), std::optional<QString>(withNul));
        QCOMPARE(itemCount(m_service, QStringLiteral("a")), 1);
    }

    void emptyValueClears()
    {
        REQUIRE_SECRET_SERVICE();
        Keychain k(m_service);
        QVERIFY(k.set(QStringLiteral("x"), QStringLiteral("b")));
        QVERIFY(!k.set(QString(), QStringLiteral("b")));
        QVERIFY(!k.get(QStringLiteral("b")));
        QCOMPARE(itemCount(m_service, QStringLiteral("b")), 0);
    }

    void missingAccount()
    {
        REQUIRE_SECRET_SERVICE();
        Keychain k(m_service);
        QVERIFY(!k.get(QStringLiteral("never")));
        k.remove(QStringLiteral("never"));
        QVERIFY(!k.get(QStringLiteral("never")));
    }

    void uuidAccountIsItsUpperCaseText()
    {
        REQUIRE_SECRET_SERVICE();
        Keychain k(m_service);
        const QUuid id = QUuid::createUuid();
        const QString upper = id.toString(QUuid::WithoutBraces).toUpper();
        QVERIFY(k.set(QStringLiteral("pw"), id));
        QCOMPARE(k.get(upper), std::optional<QString>(QStringLiteral("pw")));
        QVERIFY(k.set(QStringLiteral("key"), upper + QStringLiteral(".clientkey")));
        QCOMPARE(k.get(upper + QStringLiteral(".clientkey")), std::optional<QString>(QStringLiteral("key")));
        k.remove(upper);
        QVERIFY(!k.get(id));
        QCOMPARE(k.get(upper + QStringLiteral(".clientkey")), std::optional<QString>(QStringLiteral("key")));
    }

    void otherServiceUntouched()
    {
        REQUIRE_SECRET_SERVICE();
        Keychain mine(m_service);
        Keychain other(m_service + QStringLiteral(".other"));
        QVERIFY(other.set(QStringLiteral("theirs"), QStringLiteral("shared")));
        QVERIFY(!mine.get(QStringLiteral("shared")));
        QVERIFY(mine.set(QStringLiteral("mine"), QStringLiteral("shared")));
        mine.remove(QStringLiteral("shared"));
        QVERIFY(!mine.get(QStringLiteral("shared")));
        QCOMPARE(other.get(QStringLiteral("shared")), std::optional<QString>(QStringLiteral("theirs")));
        other.remove(QStringLiteral("shared"));
    }

    void withoutSecretServiceNothingReadsAndWritesFail_data()
    {
        QTest::addColumn<QString>("busAddress");
        QTest::newRow("bus address pointing nowhere") << QStringLiteral("unix:path=/nonexistent/tessaron-no-bus");
        QTest::newRow("no bus address") << QString();
    }
    void withoutSecretServiceNothingReadsAndWritesFail()
    {
        QFETCH(QString, busAddress);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TESSARON_KEYCHAIN_PROBE"), QStringLiteral("1"));
        env.remove(QStringLiteral("DISPLAY"));
        if (busAddress.isEmpty())
            env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        else
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        child.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(30000));
        // Four calls that would each be abandoned after five seconds if they hung.
        QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(), QStringLiteral("set=0 clear=0 get=0"));
    }

    void cleanupTestCase()
    {
        if (!m_haveService)
            return;
        Keychain k(m_service);
        for (const char* account : {"a", "b"})
            k.remove(QString::fromLatin1(account));
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("TESSARON_KEYCHAIN_PROBE"))
        return probeWithoutService();
    QCoreApplication app(argc, argv);
    TestKeychain test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Keychain.moc"
