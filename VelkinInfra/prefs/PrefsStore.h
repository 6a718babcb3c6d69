#pragma once

#include "VelkinInfra/prefs/UserDefaults.h"

#include <QString>

#include <concepts>
#include <optional>

namespace tessaron {

// Namespaced preferences: every short key is stored as "<namespace>.<key>" in a user-defaults
// store. With namespace "tessaron", "accentTheme" is the same key as Prefs::accentTheme.
// The typed readers fall back to their default only when nothing at all is stored under the key,
// so a stored false stays false even when the default is true.
class PrefsStore {
public:
    PrefsStore(QString nameSpace, UserDefaults& defaults)
        : m_namespace(std::move(nameSpace))
        , m_defaults(&defaults)
    { }

    const QString& nameSpace() const { return m_namespace; }
    UserDefaults& defaults() const { return *m_defaults; }

    QString key(const QString& key) const { return m_namespace + QLatin1Char('.') + key; }

    std::optional<QString> stringFor(const QString& key) const;
    QString stringFor(const QString& key, const QString& fallback) const;
    bool boolFor(const QString& key, bool fallback) const;
    qint64 intFor(const QString& key, qint64 fallback) const;
    double doubleFor(const QString& key, double fallback) const;

    // An absent text removes the key.
    void set(const std::optional<QString>& value, const QString& key);
    void set(const QString& value, const QString& key) { set(std::optional<QString>(value), key); }
    void set(const char* value, const QString& key) { set(std::optional<QString>(QString::fromUtf8(value)), key); }
    void set(bool value, const QString& key);
    void set(double value, const QString& key);
    template <std::integral T>
    requires(!std::same_as<T, bool>) void set(T value, const QString& key)
    {
        setInteger(static_cast<qint64>(value), key);
    }
    void remove(const QString& key);

    friend bool operator==(const PrefsStore& a, const PrefsStore& b)
    {
        return a.m_namespace == b.m_namespace && a.m_defaults == b.m_defaults;
    }

private:
    void setInteger(qint64 value, const QString& key);

    QString m_namespace;
    UserDefaults* m_defaults;
};

} // namespace tessaron
