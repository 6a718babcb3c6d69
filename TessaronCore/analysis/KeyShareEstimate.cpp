#include "TessaronCore/analysis/KeyShareEstimate.h"

#include "TessaronCore/model/Saturating.h"
#include "TessaronCore/model/TextRules.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace tessaron::KeyShareEstimate {

Result estimate(const QList<Message>& messages, const QList<Partition>& partitions)
{
    struct Keyed {
        QString key;
        int32_t partition;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(messages.size()));
    for (const Message& m : messages) {
        if (!m.key() || m.key()->isEmpty())
            continue;
        std::optional<QString> text = TextRules::strictUtf8(*m.key());
        if (!text || text->isEmpty())
            continue;
        keyed.push_back({std::move(*text), m.partition()});
    }
    if (keyed.empty())
        return Result{};

    QHash<int32_t, int64_t> retained;
    retained.reserve(partitions.size());
    for (const Partition& p : partitions)
        retained.insert(p.id, Saturating::span(p.low, p.high));
    int64_t total = 0;
    for (const int64_t r : std::as_const(retained))
        total = Saturating::add(total, r);
    const bool weighted = partitions.size() >= 2 && total > 0;

    QHash<int32_t, qsizetype> sampledPer;
    for (const Keyed& k : keyed)
        sampledPer[k.partition] += 1;
    const double partitionWeight = 1.0 / double(sampledPer.size());

    struct Tally {
        double share = 0;
        qsizetype seen = 0;
    };
    QHash<QString, Tally> tallies;
    tallies.reserve(qsizetype(keyed.size()));
    for (const Keyed& k : keyed) {
        const double sampled = double(sampledPer.value(k.partition));
        double weight;
        if (weighted)
            weight = (double(retained.value(k.partition, 0)) / double(total)) / sampled;
        else
            weight = partitionWeight / sampled;
        Tally& t = tallies[k.key];
        t.seen += 1;
        t.share += weight;
    }

    struct Ranked {
        KeyShare share;
        QString orderKey;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(size_t(tallies.size()));
    qsizetype mostSeen = 0;
    for (auto it = tallies.cbegin(); it != tallies.cend(); ++it) {
        ranked.push_back({KeyShare{it.key(), it->share, it->seen}, TextRules::orderKey(it.key())});
        mostSeen = std::max(mostSeen, it->seen);
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        if (a.share.share != b.share.share)
            return a.share.share > b.share.share;
        if (const int c = TextRules::compareCodePoints(a.orderKey, b.orderKey))
            return c < 0;
        return TextRules::compareCodePoints(a.share.key, b.share.key) < 0;
    });

    Result result;
    result.ranked.reserve(qsizetype(ranked.size()));
    for (Ranked& r : ranked)
        result.ranked.append(std::move(r.share));
    result.keyed = qsizetype(keyed.size());
    result.allUnique = mostSeen == 1;
    result.weighted = weighted;
    return result;
}

} // namespace tessaron::KeyShareEstimate
