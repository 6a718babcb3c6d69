#include "TessaronCore/prefs/Prefs.h"

#include <cmath>
#include <limits>
#include <optional>

namespace tessaron::Prefs {

namespace {

// The stored value when it is a number with no fractional part; text and booleans are not numbers.
std::optional<qint64> wholeNumber(const UserDefaults& store, const QString& key)
{
    const QVariant v = store.object(key);
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return v.toLongLong();
    case QMetaType::Double: {
        const double d = v.toDouble();
        if (!std::isfinite(d) || std::trunc(d) != d || d < -9.2233720368547758e18 || d >= 9.2233720368547758e18)
            return std::nullopt;
        return static_cast<qint64>(d);
    }
    default:
        return std::nullopt;
    }
}

} // namespace

QString pinnedTopics(const QString& brokerId)
{
    return QStringLiteral("tessaron.topic.") + brokerId + QStringLiteral(".pinned");
}

QString pinnedTopics(const QUuid& brokerId) { return pinnedTopics(brokerId.toString(QUuid::WithoutBraces).toUpper()); }

qint64 messageLimit(const UserDefaults& store)
{
    // A limit below one would read nothing at all; only a hand-edited file can hold one.
    const auto n = wholeNumber(store, messagesPerRead);
    return n && *n >= 1 ? *n : 100;
}

int32_t timeoutMs(const UserDefaults& store)
{
    const auto n = wholeNumber(store, requestTimeoutMs);
    if (n && *n >= std::numeric_limits<int32_t>::min() && *n <= std::numeric_limits<int32_t>::max())
        return static_cast<int32_t>(*n);
    return 10000;
}

} // namespace tessaron::Prefs
