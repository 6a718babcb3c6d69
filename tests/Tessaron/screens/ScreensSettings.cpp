// Screens of the settings window (each section in English and Portuguese, the AI section while
// checking, with a tool found and with none), the about window and the what's-new sheet.
#include "ScreenShooter.h"

#include "Tessaron/settings/AboutView.h"
#include "Tessaron/settings/SettingsView.h"
#include "Tessaron/settings/WhatsNewEntry.h"
#include "Tessaron/settings/WhatsNewView.h"
#include "Tessaron/state/AppState.h"
#include "support/SessionFakes.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "support/FakeTools.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"

#include <QCoreApplication>

namespace tessaron {

namespace {

void setLanguage(const char* code) { UserDefaults::standard().setString(L10n::key, QString::fromLatin1(code)); }

void shootSettingsSection(ScreenShooter& shooter, AppState* app, SettingsView::Section section, const QString& state)
{
    SettingsView view(app);
    view.resize(920, 740);
    view.setSection(section);
    view.show();
    waitUntil([&] { return !view.detecting(); }, 10000);
    shooter.shoot(QStringLiteral("settings"), state, &view);
}

} // namespace

void shootSettings(ScreenShooter& shooter)
{
    AccessibilitySettings::instance().setReduceMotion(true);
    UserDefaults& store = UserDefaults::standard();
    const QString language = store.string(L10n::key).value_or(QStringLiteral("system"));
    WhatsNewEntry::overrideVersion(QStringLiteral("0.4.0"));
    WhatsNewEntry::overrideBuild(QStringLiteral("57"));
    AppState app(std::make_shared<fakes::FakeFactory>());
    store.setInteger(Prefs::messagesPerRead, 100);
    store.setString(Prefs::aiProvider, QStringLiteral("auto"));

    faketools::removeAll();
    faketools::install(QStringLiteral("claude"), "exit 0\n");
    for (const char* code : {"en", "pt"}) {
        setLanguage(code);
        const QString suffix = QString::fromLatin1(code) == QLatin1String("pt") ? QStringLiteral("-pt") : QString();
        shootSettingsSection(shooter, &app, SettingsView::general, "general" + suffix);
        shootSettingsSection(shooter, &app, SettingsView::ai, "ai-found" + suffix);
        shootSettingsSection(shooter, &app, SettingsView::about, "about" + suffix);
    }
    setLanguage("en");
    {
        SettingsView view(&app);
        view.resize(920, 740);
        view.setSection(SettingsView::ai);
        view.show();
        // The first frame, before the search has answered.
        shooter.shoot(QStringLiteral("settings"), QStringLiteral("ai-checking"), &view);
        waitUntil([&] { return !view.detecting(); }, 10000);
    }
    faketools::removeAll();
    store.setString(Prefs::aiProvider, QStringLiteral("claude"));
    shootSettingsSection(shooter, &app, SettingsView::ai, QStringLiteral("ai-none"));
    store.setString(Prefs::aiProvider, QStringLiteral("auto"));
    store.setInteger(Prefs::messagesPerRead, 230);
    store.setBool(Prefs::showInternalTopics, true);
    shootSettingsSection(shooter, &app, SettingsView::general, QStringLiteral("general-custom"));
    {
        SettingsView view(&app);
        view.resize(920, 740);
        view.show();
        waitUntil([&] { return !view.detecting(); }, 10000);
        store.setInteger(Prefs::messagesPerRead, 500);
        shooter.shoot(QStringLiteral("settings"), QStringLiteral("general-on-the-record"), &view);
    }
    store.setInteger(Prefs::messagesPerRead, 100);
    store.setBool(Prefs::showInternalTopics, false);

    store.setInteger(Prefs::messagesRead, 4210);
    store.setInteger(Prefs::messagesDisturbed, 0);
    {
        AboutView about(&app);
        shooter.shoot(QStringLiteral("about"), QStringLiteral("window"), &about);
        store.setInteger(Prefs::messagesDisturbed, 12);
        about.boop();
        about.boop();
        shooter.shoot(QStringLiteral("about"), QStringLiteral("disturbed"), &about);
    }
    setLanguage("pt");
    {
        AboutView about(&app);
        shooter.shoot(QStringLiteral("about"), QStringLiteral("window-pt"), &about);
    }
    setLanguage("en");

    for (const char* code : {"en", "pt"}) {
        setLanguage(code);
        WhatsNewView sheet(*WhatsNewEntry::entryOnRequest());
        shooter.shoot(QStringLiteral("whatsnew"),
                      QString::fromLatin1(code) == QLatin1String("pt") ? QStringLiteral("current-pt")
                                                                       : QStringLiteral("current"),
                      &sheet);
    }
    store.setString(L10n::key, language);
    WhatsNewEntry::overrideVersion(std::nullopt);
    WhatsNewEntry::overrideBuild(std::nullopt);
}

} // namespace tessaron
