#include "TessaronCore/model/Topic.h"

#include <algorithm>
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
    // The sidebar asks this of every topic on every redraw: plain ASCII names (nearly all) are
    // matched in place, ignoring ASCII case, without a lower-cased copy.
    const char16_t* text = reinterpret_cast<const char16_t*>(name.utf16());
    const qsizetype size = name.size();
    if (std::all_of(text, text + size, [](char16_t c) { return c < 0x80; })) {
        const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
        for (qsizetype at = 0; at < size; ++at) {
            for (const char* word : words) {
                qsizetype i = 0;
                while (word[i] && at + i < size && lower(text[at + i]) == char16_t(word[i]))
                    ++i;
                if (!word[i])
                    return true;
            }
        }
        return false;
    }
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
    seed = qHashMulti(seed, t.name, t.isInternal, qHashOptional(t.error), qHashOptional(t.declaredDepth),
                      qHashOptional(t.unacknowledged));
    for (const Partition& p : t.partitions)
        seed = qHash(p, seed);
    return seed;
}

} // namespace tessaron
