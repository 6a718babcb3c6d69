#include "TessaronCore/l10n/AppLanguage.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/l10n/MomentStyles.h"

#include "VelkinInfra/prefs/UserDefaults.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <limits>

using namespace tessaron;

namespace {
const char* childVar = "TESSARON_L10N_CHILD_STORED";

// Run in a child process started with a chosen LANGUAGE: prints the language in force.
int reportInChild(const QString& storedChoice)
{
    if (!storedChoice.isEmpty())
        UserDefaults::standard().setString(L10n::key, storedChoice);
    else
        UserDefaults::standard().remove(L10n::key);
    QTextStream(stdout) << rawValue(L10n::effective()) << Qt::endl;
    return 0;
}

QString effectiveInChild(const QString& language, const QString& storedChoice)
{
    QTemporaryDir config;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANGUAGE"), language);
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.insert(QString::fromLatin1(childVar), storedChoice);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    if (!child.waitForFinished(30000) || child.exitCode() != 0)
        return QStringLiteral("failed");
    return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
}

void store(const QString& choice) { UserDefaults::standard().setString(L10n::key, choice); }
} // namespace

class TestL10n : public QObject {
    Q_OBJECT
private slots:
    void init() { UserDefaults::standard().remove(L10n::key); }

    void languagesAreOfferedInOrder()
    {
        const auto all = allAppLanguages();
        QCOMPARE(all.size(), 3);
        QCOMPARE(rawValue(all[0]), QStringLiteral("system"));
        QCOMPARE(label(all[2]), QStringLiteral("Português"));
        QCOMPARE(appLanguageFromRawValue(QStringLiteral("pt")), std::optional<AppLanguage>(AppLanguage::pt));
        QCOMPARE(appLanguageFromRawValue(QStringLiteral("PT")), std::nullopt);
    }

    void storedChoiceWinsOverTheSystem()
    {
        QCOMPARE(L10n::stored(), AppLanguage::system);
        const QStringList portuguese{QStringLiteral("pt-BR")};
        QCOMPARE(L10n::effectiveFor(AppLanguage::en, portuguese), AppLanguage::en);
        QCOMPARE(L10n::effectiveFor(AppLanguage::pt, {QStringLiteral("en-US")}), AppLanguage::pt);
        for (const QString& raw : {QStringLiteral("system"), QStringLiteral("fr"), QStringLiteral("PT"), QString()}) {
            store(raw);
            QCOMPARE(L10n::stored(), AppLanguage::system);
            const AppLanguage choice = L10n::stored();
            QCOMPARE(L10n::effectiveFor(choice, portuguese), AppLanguage::pt);
            QCOMPARE(L10n::effectiveFor(choice, {QStringLiteral("PT-pt")}), AppLanguage::pt);
            QCOMPARE(L10n::effectiveFor(choice, {QStringLiteral("en-PT"), QStringLiteral("pt-BR")}), AppLanguage::en);
            QCOMPARE(L10n::effectiveFor(choice, {}), AppLanguage::en);
        }
    }

    void theSystemLanguageDecidesWhenNothingIsChosen()
    {
        QCOMPARE(effectiveInChild(QStringLiteral("pt_BR"), QString()), QStringLiteral("pt"));
        QCOMPARE(effectiveInChild(QStringLiteral("pt_BR"), QStringLiteral("system")), QStringLiteral("pt"));
        QCOMPARE(effectiveInChild(QStringLiteral("pt_BR"), QStringLiteral("en")), QStringLiteral("en"));
        QCOMPARE(effectiveInChild(QStringLiteral("en_US"), QStringLiteral("fr")), QStringLiteral("en"));
        QCOMPARE(effectiveInChild(QStringLiteral("en_US"), QStringLiteral("pt")), QStringLiteral("pt"));
    }

    void aNewChoiceAppliesWithoutARestart()
    {
        store(QStringLiteral("en"));
        QCOMPARE(L10n::effective(), AppLanguage::en);
        QCOMPARE(L10n::t("Your broker"), QStringLiteral("Your broker"));
        store(QStringLiteral("pt"));
        QCOMPARE(L10n::effective(), AppLanguage::pt);
        QCOMPARE(L10n::t("Your broker"), QStringLiteral("Seu broker"));
        QCOMPARE(loc(QStringLiteral("Your broker")), QStringLiteral("Seu broker"));
        QCOMPARE(L10n::t("orders.events.dlq"), QStringLiteral("orders.events.dlq"));
        // Near misses are not keys.
        QCOMPARE(L10n::t("Your broker."), QStringLiteral("Your broker."));
        QCOMPARE(L10n::t("your broker"), QStringLiteral("your broker"));
        store(QStringLiteral("en"));
        QCOMPARE(L10n::t(QStringLiteral("Your broker")), QStringLiteral("Your broker"));
    }

    void argumentsFillTheChosenText()
    {
        store(QStringLiteral("en"));
        QCOMPARE(L10n::t("p%d is holding %d%% of it.", 3, 72), QStringLiteral("p3 is holding 72% of it."));
        QCOMPARE(L10n::t("Broker on file: %@", QStringLiteral("Local")), QStringLiteral("Broker on file: Local"));
        store(QStringLiteral("pt"));
        QCOMPARE(L10n::t("p%d is holding %d%% of it.", 3, 72), QStringLiteral("A p3 está segurando 72% de tudo."));
        QCOMPARE(L10n::t("Broker on file: %@", "Local"), QStringLiteral("Broker registrado: Local"));
        // A text that is not a key is still a format.
        QCOMPARE(L10n::t("%d%%", 5), QStringLiteral("5%"));
    }

    void numbersAreFullSixtyFourBit()
    {
        store(QStringLiteral("en"));
        const qint64 offset = qint64(1) << 40;
        QCOMPARE(L10n::t("From offset %d", offset), QStringLiteral("From offset 1099511627776"));
        QCOMPARE(L10n::t("p%d — %lld retained (%d%%)", 0, std::numeric_limits<qint64>::max(), 100),
                 QStringLiteral("p0 — 9223372036854775807 retained (100%)"));
        QCOMPARE(
            L10n::t("%lld across %d partitions — too few to call the spread.", std::numeric_limits<qint64>::min(), 3),
            QStringLiteral("-9223372036854775808 across 3 partitions — too few to call the spread."));
        QCOMPARE(L10n::t("seen %d", std::numeric_limits<uint64_t>::max()), QStringLiteral("seen 18446744073709551615"));
    }

    // The forms between QLocale's long and short ones, in locales whose patterns differ: the
    // month by its short name without a weekday, the time with seconds but no zone, the short
    // time without seconds even where the locale's short time has them (the C locale).
    void momentStylesFollowTheLocale()
    {
        const QDateTime moment(QDate(2026, 12, 9), QTime(16, 5, 7));
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        QCOMPARE(MomentStyles::standard(moment, us), QString("Dec 9, 2026, 4:05:07 PM"));
        QCOMPARE(MomentStyles::shortened(moment, us), QString("Dec 9, 2026, 4:05 PM"));
        const QLocale br(QLocale::Portuguese, QLocale::Brazil);
        QVERIFY(MomentStyles::standard(moment, br).startsWith(QString("9 de dez")));
        QVERIFY(MomentStyles::standard(moment, br).endsWith(QString("16:05:07")));
        QCOMPARE(MomentStyles::shortTimeFormat(QLocale::c()), QString("HH:mm"));
        for (const QLocale& locale : {us, br, QLocale::c(), QLocale(QLocale::German), QLocale(QLocale::Japanese)}) {
            const QString shortTime = locale.toString(moment.time(), MomentStyles::shortTimeFormat(locale));
            QVERIFY2(!shortTime.contains(QString("07")), qPrintable(locale.name() + ": " + shortTime));
            QVERIFY2(shortTime.contains(QString("05")), qPrintable(locale.name() + ": " + shortTime));
            const QString standard = MomentStyles::standard(moment, locale);
            QVERIFY2(standard.contains(QString("07")) && standard.contains(QString("2026")),
                     qPrintable(locale.name() + ": " + standard));
            QVERIFY2(!MomentStyles::abbreviatedDateFormat(locale).contains(QString("dddd")), qPrintable(locale.name()));
        }
    }

    void formatTextIsNeverReadAsPrintf()
    {
        store(QStringLiteral("en"));
        // Placeholders without arguments stay; other sequences pass through untouched.
        QCOMPARE(L10n::t("Message %d: %@", 1), QStringLiteral("Message 1: %@"));
        QCOMPARE(L10n::t("%s %n %x %5d %@", QStringLiteral("a")), QStringLiteral("%s %n %x %5d a"));
        QCOMPARE(L10n::t("trailing %", 1), QStringLiteral("trailing %"));
        // Arguments are not formats themselves.
        QCOMPARE(L10n::t("Broker on file: %@", QStringLiteral("%d %@ %%")), QStringLiteral("Broker on file: %d %@ %%"));
        // Text where a number belongs is shown, not reinterpreted.
        QCOMPARE(L10n::t("seen %d", QStringLiteral("many")), QStringLiteral("seen many"));
        QCOMPARE(L10n::t("seen %d", QStringLiteral("12")), QStringLiteral("seen 12"));
        QCOMPARE(L10n::t("%@ behind", 1234567), QStringLiteral("1234567 behind"));
        QCOMPARE(L10n::t("%@ behind", 2.5), QStringLiteral("2.5 behind"));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(childVar))
        return reportInChild(qEnvironmentVariable(childVar));
    TestL10n test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_L10n.moc"
