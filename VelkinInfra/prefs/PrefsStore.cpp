#include "VelkinInfra/prefs/PrefsStore.h"

namespace tessaron {

std::optional<QString> PrefsStore::stringFor(const QString& k) const { return m_defaults->string(key(k)); }

QString PrefsStore::stringFor(const QString& k, const QString& fallback) const
{
    return m_defaults->string(key(k)).value_or(fallback);
}

bool PrefsStore::boolFor(const QString& k, bool fallback) const
{
    return m_defaults->boolean(key(k)).value_or(fallback);
}

qint64 PrefsStore::intFor(const QString& k, qint64 fallback) const
{
    return m_defaults->integer(key(k)).value_or(fallback);
}

double PrefsStore::doubleFor(const QString& k, double fallback) const
{
    return m_defaults->number(key(k)).value_or(fallback);
}

void PrefsStore::set(const std::optional<QString>& value, const QString& k)
{
    if (value)
        m_defaults->setString(key(k), *value);
    else
        m_defaults->remove(key(k));
}

void PrefsStore::set(bool value, const QString& k) { m_defaults->setBool(key(k), value); }
void PrefsStore::set(double value, const QString& k) { m_defaults->setDouble(key(k), value); }
void PrefsStore::setInteger(qint64 value, const QString& k) { m_defaults->setInteger(key(k), value); }
void PrefsStore::remove(const QString& k) { m_defaults->remove(key(k)); }

} // namespace tessaron
