#include "TessaronCore/analysis/GroupVerdict.h"

#include "TessaronCore/model/Saturating.h"

namespace tessaron {

GroupVerdict GroupVerdict::verdict(const ConsumerGroupDetail& detail)
{
    if (detail.state.endsWith(QLatin1String("Rebalance")))
        return rebalancing(detail.state);
    // Offsets that could not be read are unknown: nothing says the group never committed.
    if (detail.positions.isEmpty() && detail.positionsUnknown)
        return cannotSee(0);
    if (detail.positions.isEmpty())
        return neverCommitted(detail.members.size(), detail.state == QLatin1String("Dead"));

    // The lag is end - committed clamped at 0, computed without overflow: a committed offset is a
    // number a broker reports and may lie anywhere in the 64-bit range.
    struct Known {
        const GroupPosition* position;
        int64_t lag;
    };
    QList<Known> known;
    known.reserve(detail.positions.size());
    int64_t total = 0;
    for (const GroupPosition& p : detail.positions) {
        if (!p.end)
            continue;
        const int64_t lag = Saturating::span(p.committed, *p.end);
        known.append({&p, lag});
        total = Saturating::add(total, lag);
    }
    if (known.isEmpty())
        return cannotSee(detail.positions.size());
    // Nothing waits where the ends are known, but some are not: "caught up" would be a claim about
    // partitions nobody could see.
    const qsizetype unseen = detail.positions.size() - known.size();

    // Members the broker would not describe are not an empty group: its listed state says.
    if ((detail.members.isEmpty() && !detail.membersUnknown) || detail.state == QLatin1String("Empty")) {
        if (total != 0)
            return nobodyHome(total);
        return unseen > 0 ? cannotSee(unseen, known.size()) : nobodyHomeCaughtUp();
    }
    if (total == 0)
        return unseen > 0 ? cannotSee(unseen, known.size()) : caughtUp(known.size());

    qsizetype lagging = 0;
    const Known* worst = nullptr;
    for (const Known& k : known) {
        if (k.lag <= 0)
            continue;
        ++lagging;
        if (!worst || k.lag > worst->lag)
            worst = &k;
    }
    return behind(total, lagging, *worst->position, double(worst->lag) / double(total));
}

} // namespace tessaron
