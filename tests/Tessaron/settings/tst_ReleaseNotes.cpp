#include "Tessaron/settings/WhatsNewEntry.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/Symbols.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tessaron;

class TestReleaseNotes : public QObject {
    Q_OBJECT

    QTemporaryDir m_scratch;
    std::unique_ptr<UserDefaults> m_store;

    std::optional<QString> unseenVersion(bool onboarded)
    {
        const std::optional<WhatsNewEntry> entry = WhatsNewEntry::unseen(onboarded, *m_store);
        return entry ? std::optional<QString>(entry->version) : std::nullopt;
    }

private slots:
    void init()
    {
        m_store = std::make_unique<UserDefaults>(m_scratch.filePath(QStringLiteral("prefs.json")));
        m_store->remove(Prefs::lastSeenVersion);
        WhatsNewEntry::overrideVersion(QStringLiteral("0.4.0"));
        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
    }

    void cleanup()
    {
        WhatsNewEntry::overrideVersion(std::nullopt);
        WhatsNewEntry::overrideBuild(std::nullopt);
    }

    void theTableIsNewestFirstWithKnownSymbols()
    {
        QStringList versions;
        QList<int> counts;
        for (const WhatsNewEntry& entry : WhatsNewEntry::all()) {
            versions << entry.version;
            counts << int(entry.items.size());
            for (const WhatsNewEntry::Item& item : entry.items)
                QVERIFY2(Symbols::contains(item.icon), qPrintable(item.icon));
        }
        QCOMPARE(versions, (QStringList{"0.4.0", "0.3.0", "0.2.0", "0.1.0"}));
        QCOMPARE(counts, (QList<int>{9, 8, 8, 9}));
        // No normalisation: "0.4" is not "0.4.0".
        QVERIFY(!WhatsNewEntry::entry(QStringLiteral("0.4")));
        QCOMPARE(WhatsNewEntry::entry(QStringLiteral("0.2.0"))->headline, QStringLiteral("More than one broker."));
    }

    void unseenFollowsOnboardingAndTheLastSeenVersion()
    {
        // Not onboarded: nothing, even with nothing stored.
        QCOMPARE(unseenVersion(false), std::nullopt);
        // Onboarded, nothing stored: the running version's notes.
        QCOMPARE(unseenVersion(true), std::optional<QString>("0.4.0"));
        m_store->setString(Prefs::lastSeenVersion, QStringLiteral("0.4.0"));
        QCOMPARE(unseenVersion(true), std::nullopt);
        // An update or a downgrade both count as unseen.
        for (const QString& older : {QStringLiteral("0.3.0"), QStringLiteral("0.5.0")}) {
            m_store->setString(Prefs::lastSeenVersion, older);
            QCOMPARE(unseenVersion(true), std::optional<QString>("0.4.0"));
        }
        // A running version without notes: nothing at launch, and nothing is written.
        WhatsNewEntry::overrideVersion(QStringLiteral("0.4.1"));
        QCOMPARE(unseenVersion(true), std::nullopt);
        QCOMPARE(m_store->string(Prefs::lastSeenVersion), std::optional<QString>("0.5.0"));
    }

    void onRequestAlwaysHasNotes()
    {
        QCOMPARE(WhatsNewEntry::entryOnRequest()->version, QStringLiteral("0.4.0"));
        WhatsNewEntry::overrideVersion(QStringLiteral("0.3.0"));
        QCOMPARE(WhatsNewEntry::entryOnRequest()->version, QStringLiteral("0.3.0"));
        // Unknown to the table: the newest.
        WhatsNewEntry::overrideVersion(QStringLiteral("9.9.9"));
        QCOMPARE(WhatsNewEntry::entryOnRequest()->version, QStringLiteral("0.4.0"));
    }

    void markingSeenStoresTheRunningVersion()
    {
        WhatsNewEntry::overrideVersion(QStringLiteral("0.4.1"));
        WhatsNewEntry::markSeen(*m_store);
        QCOMPARE(m_store->string(Prefs::lastSeenVersion), std::optional<QString>("0.4.1"));
    }

    void emptyVersionAndBuildFallBack()
    {
        WhatsNewEntry::overrideVersion(QString());
        WhatsNewEntry::overrideBuild(QString());
        QCOMPARE(WhatsNewEntry::currentVersion(), QStringLiteral("0.4.0"));
        QCOMPARE(WhatsNewEntry::buildNumber(), QStringLiteral("dev"));
        WhatsNewEntry::overrideBuild(QStringLiteral("57"));
        QCOMPARE(WhatsNewEntry::buildNumber(), QStringLiteral("57"));
    }

    void headingsAreTranslatedWhenShownNotWhenBuilt()
    {
        // The table is built while English is in force; a later switch still translates it.
        const WhatsNewEntry newest = WhatsNewEntry::all().first();
        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        for (const WhatsNewEntry& entry : WhatsNewEntry::all()) {
            QVERIFY2(L10n::t(entry.headline) != entry.headline, qPrintable(entry.headline));
            QVERIFY2(L10n::t(entry.headlineAccent) != entry.headlineAccent, qPrintable(entry.headlineAccent));
        }
        // The two newest entries read in Portuguese throughout.
        for (int i = 0; i < 2; ++i) {
            for (const WhatsNewEntry::Item& item : WhatsNewEntry::all().at(i).items)
                QVERIFY2(L10n::t(item.text) != item.text, qPrintable(item.text));
        }
        QCOMPARE(L10n::t(newest.headline), QStringLiteral("Avro, lido"));
        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QCOMPARE(L10n::t(WhatsNewEntry::all().first().headline), QStringLiteral("Avro, read"));
    }

    void noReleaseNoteNamesAnotherPlatform()
    {
        for (const WhatsNewEntry& entry : WhatsNewEntry::all()) {
            for (const WhatsNewEntry::Item& item : entry.items) {
                for (const char* word : {"Mac", "macOS", "Keychain", "Apple"})
                    QVERIFY2(!item.text.contains(QLatin1String(word)), qPrintable(item.text));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestReleaseNotes)
#include "tst_ReleaseNotes.moc"
