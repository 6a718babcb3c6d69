#pragma once

// Every text the application shows passes through this lookup.
//
//   L10n::t("Your broker")                    the text in the language in force
//   L10n::t("%d of %d read", shown, total)    with arguments: %d and %lld take whole numbers
//                                             (64-bit), %@ takes text, %% is a percent sign
//   loc("Open another broker")                short form of L10n::t(text)
//
// The English text is the key. Write it exactly as the table holds it: typographic quotes and
// apostrophes, the ellipsis "…", em dashes, trailing full stops and line breaks all count, and
// texts that would name another platform say "computer", "keyring" and "Linux". A test checks
// that every literal passed to L10n::t or loc is a key of the table. Broker, topic and group
// names, message contents and the clients' error messages are never looked up.
//
// The language follows the stored choice under L10n::key ("en", "pt"); for "system" (or nothing,
// or anything else) the first preferred system language decides. It is recomputed after every
// change of the user defaults, so a new choice applies to the next lookup without a restart.

#include "TessaronCore/l10n/AppLanguage.h"
#include "TessaronCore/l10n/L10nFormat.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <concepts>
#include <type_traits>

namespace tessaron::L10n {

inline const QString key = QStringLiteral("tessaron.language");

// The stored choice; system when nothing (or nothing known) is stored.
AppLanguage stored();
// The language in force: en or pt, never system.
AppLanguage effective();
// The rule behind `effective`, for a stored choice and the system's preferred languages.
AppLanguage effectiveFor(AppLanguage choice, const QStringList& preferredLanguages);

QString t(const char* key);
QString t(const QString& key);

// A name from a broker or a person inside a composed sentence: between first-strong isolates
// (U+2068 … U+2069), so a right-to-left name or a direction override cannot reorder the sentence.
inline QString isolated(const QString& name) { return name.isEmpty() ? name : QChar(0x2068) + name + QChar(0x2069); }

namespace detail {
template <typename T> QVariant argument(const T& value)
{
    if constexpr (std::is_same_v<T, bool>)
        return QVariant(static_cast<qint64>(value));
    else if constexpr (std::is_enum_v<T>)
        return QVariant(static_cast<qint64>(value));
    else if constexpr (std::is_integral_v<T> && std::is_unsigned_v<T>)
        return QVariant(static_cast<quint64>(value));
    else if constexpr (std::is_integral_v<T>)
        return QVariant(static_cast<qint64>(value));
    else if constexpr (std::is_floating_point_v<T>)
        return QVariant(static_cast<double>(value));
    else if constexpr (std::is_convertible_v<const T&, const char*>)
        return QVariant(QString::fromUtf8(static_cast<const char*>(value)));
    else if constexpr (std::is_same_v<T, QString>)
        return QVariant(value);
    else if constexpr (requires { value.toString(); })
        return QVariant(value.toString());
    else
        return QVariant(QString(value));
}
} // namespace detail

template <typename... Args>
requires(sizeof...(Args) > 0) QString t(const QString& key, const Args&... args)
{
    return L10nFormat::apply(t(key), QList<QVariant>{detail::argument(args)...});
}

} // namespace tessaron::L10n

namespace tessaron {

inline QString loc(const char* text) { return L10n::t(text); }
inline QString loc(const QString& text) { return L10n::t(text); }

} // namespace tessaron
