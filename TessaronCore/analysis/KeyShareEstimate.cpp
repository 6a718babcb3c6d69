#include "TessaronCore/analysis/KeyShareEstimate.h"

#include "TessaronCore/model/ByteHash.h"
#include "TessaronCore/model/Saturating.h"
#include "TessaronCore/model/TextRules.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace tessaron::KeyShareEstimate {

Result estimate(const QList<Message>& messages, const QList<Partition>& partitions)
{
    // Keys are grouped by their bytes and decoded once per distinct key: strict UTF-8 gives each
    // text one spelling, so equal bytes and equal texts are the same grouping.
    struct Distinct {
        std::optional<QString> text; // nothing when the key is not UTF-8 (or decodes empty)
        double share = 0;
        qsizetype seen = 0;
    };
    std::vector<Distinct> distinct;
    QHash<HashedView<QByteArrayView>, uint32_t> indexOf;
    // Partitions numbered densely in order of first sight, so each message's weight is one look-up.
    QHash<int32_t, uint32_t> slotOf;
    std::vector<int32_t> slotPartition;
    std::vector<qsizetype> sampledPer;
    struct Keyed {
        uint32_t key;
        uint32_t slot;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(messages.size()));
    for (const Message& m : messages) {
        if (!m.key() || m.key()->isEmpty())
            continue;
        const HashedView<QByteArrayView> bytes(*m.key());
        auto it = indexOf.constFind(bytes);
        if (it == indexOf.constEnd()) {
            std::optional<QString> text = TextRules::strictUtf8(bytes.view);
            if (text && text->isEmpty())
                text.reset();
            it = indexOf.insert(bytes, uint32_t(distinct.size()));
            distinct.push_back({std::move(text), 0, 0});
        }
        if (!distinct[*it].text)
            continue;
        auto slot = slotOf.constFind(m.partition());
        if (slot == slotOf.constEnd()) {
            slot = slotOf.insert(m.partition(), uint32_t(slotPartition.size()));
            slotPartition.push_back(m.partition());
            sampledPer.push_back(0);
        }
        sampledPer[*slot] += 1;
        keyed.push_back({*it, *slot});
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

    const double partitionWeight = 1.0 / double(sampledPer.size());
    std::vector<double> weightOf(sampledPer.size());
    for (size_t i = 0; i < sampledPer.size(); ++i) {
        const double sampled = double(sampledPer[i]);
        weightOf[i] = weighted ? (double(retained.value(slotPartition[i], 0)) / double(total)) / sampled
                               : partitionWeight / sampled;
    }
    for (const Keyed& k : keyed) {
        Distinct& d = distinct[k.key];
        d.seen += 1;
        d.share += weightOf[k.slot];
    }

    struct Ranked {
        KeyShare share;
        QString orderKey;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(distinct.size());
    qsizetype mostSeen = 0;
    for (Distinct& d : distinct) {
        if (!d.text)
            continue;
        ranked.push_back({KeyShare{*d.text, d.share, d.seen}, TextRules::orderKey(*d.text)});
        mostSeen = std::max(mostSeen, d.seen);
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
