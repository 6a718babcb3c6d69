#include "TessaronCore/model/Topic.h"
#include "TessaronCore/model/Saturating.h"

namespace tessaron {

int64_t Topic::retained() const
{
    if (declaredDepth)
        return *declaredDepth;
    int64_t total = 0;
    for (const Partition& p : partitions)
        total = Saturating::add(total, p.retained());
    return total;
}

bool Topic::hasUnderReplicated() const
{
    for (const Partition& p : partitions) {
        if (p.underReplicated())
            return true;
    }
    return false;
}

bool Topic::looksLikeDeadLetter() const
{
    static const char* const words[] = {"dlq", "dead-letter", "dead_letter", "deadletter", ".dlt", "-dlt"};
    const QString lower = name.toLower();
    for (const char* word : words) {
        if (lower.contains(QLatin1String(word)))
            return true;
    }
    return false;
}

bool Topic::isKafkaInternal(const QString& name)
{
    return name.startsWith(QLatin1String("__")) || name == QLatin1String("_schemas");
}

size_t qHash(const Topic& t, size_t seed)
{
    seed = qHashMulti(seed, t.name, t.isInternal, qHashOptional(t.error), qHashOptional(t.declaredDepth));
    for (const Partition& p : t.partitions)
        seed = qHash(p, seed);
    return seed;
}

} // namespace tessaron
