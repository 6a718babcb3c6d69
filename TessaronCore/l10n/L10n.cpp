#include "TessaronCore/l10n/L10n.h"

#include "TessaronCore/l10n/L10nTable.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QLocale>
#include <QObject>

#include <atomic>
#include <mutex>
#include <string_view>

namespace tessaron::L10n {

namespace {

std::atomic<bool> portugueseInForce{false};
std::once_flag observing;

void resolve() { portugueseInForce = effectiveFor(stored(), QLocale::system().uiLanguages()) == AppLanguage::pt; }

bool portuguese()
{
    std::call_once(observing, [] {
        resolve();
        // Lives as long as the store: the language follows every later change of the defaults,
        // the system's preferred languages included, on the store's (main) thread.
        UserDefaults& store = UserDefaults::standard();
        QObject::connect(&store, &UserDefaults::changed, &store, [] { resolve(); });
    });
    return portugueseInForce.load(std::memory_order_relaxed);
}

} // namespace

AppLanguage stored()
{
    const std::optional<QString> raw = UserDefaults::standard().string(key);
    return raw ? appLanguageFromRawValue(*raw).value_or(AppLanguage::system) : AppLanguage::system;
}

AppLanguage effective() { return portuguese() ? AppLanguage::pt : AppLanguage::en; }

AppLanguage effectiveFor(AppLanguage choice, const QStringList& preferredLanguages)
{
    if (choice != AppLanguage::system)
        return choice;
    // A system language is a tag such as "pt-BR"; its first part names the language.
    const QString first = preferredLanguages.isEmpty() ? QString() : preferredLanguages.first().toLower();
    return first.startsWith(rawValue(AppLanguage::pt)) ? AppLanguage::pt : AppLanguage::en;
}

QString t(const char* key)
{
    if (portuguese()) {
        if (const char* pt = L10nTable::portuguese(std::string_view(key)))
            return QString::fromUtf8(pt);
    }
    return QString::fromUtf8(key);
}

QString t(const QString& key)
{
    if (portuguese()) {
        if (const char* pt = L10nTable::portuguese(std::string_view(key.toUtf8())))
            return QString::fromUtf8(pt);
    }
    return key;
}

} // namespace tessaron::L10n
