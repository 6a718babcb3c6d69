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

void resolve() { portugueseInForce = effectiveFor(stored(), QLocale::system().uiLanguages()) == QLatin1String("pt"); }

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

QString stored() { return UserDefaults::standard().string(key).value_or(QStringLiteral("system")); }

QString effective() { return portuguese() ? QStringLiteral("pt") : QStringLiteral("en"); }

QString effectiveFor(const QString& storedChoice, const QStringList& preferredLanguages)
{
    if (storedChoice == QLatin1String("en") || storedChoice == QLatin1String("pt"))
        return storedChoice;
    const QString first = preferredLanguages.isEmpty() ? QStringLiteral("en") : preferredLanguages.first().toLower();
    return first.startsWith(QLatin1String("pt")) ? QStringLiteral("pt") : QStringLiteral("en");
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
