#include "TessaronCore/analysis/PartitionSkew.h"

#include "TessaronCore/model/Saturating.h"

#include <algorithm>
#include <vector>

namespace tessaron::PartitionSkew {

SkewVerdict verdict(const Topic& topic)
{
    const QList<Partition>& partitions = topic.partitions;
    const qsizetype n = partitions.size();
    if (n == 0)
        return SkewVerdict::notPartitioned();
    if (n == 1)
        return SkewVerdict::nothingToCompare();

    int64_t total = 0;
    for (const Partition& p : partitions)
        total = Saturating::add(total, Saturating::span(p.low, p.high));
    if (total < 1)
        return SkewVerdict::allEmpty(n);
    // n * 10 cannot overflow for any list that fits in memory.
    if (total < int64_t(n) * minimumPerPartition)
        return SkewVerdict::notEnoughEvidence(total, n);

    std::vector<const Partition*> ordered;
    ordered.reserve(size_t(n));
    for (const Partition& p : partitions)
        ordered.push_back(&p);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Partition* a, const Partition* b) { return a->id < b->id; });

    const double fair = 1.0 / double(n);
    const double idleLimit = fair * idleFraction;
    QList<SkewVerdict::Bar> bars;
    QList<SkewVerdict::Bar> idle;
    bars.reserve(n);
    qsizetype worst = 0;
    for (const Partition* p : ordered) {
        const int64_t retained = Saturating::span(p->low, p->high);
        const SkewVerdict::Bar bar{p->id, retained, double(retained) / double(total)};
        if (bar.share <= idleLimit)
            idle.append(bar);
        if (bar.retained > bars.value(worst).retained)
            worst = bars.size();
        bars.append(bar);
    }

    const SkewVerdict::Bar worstBar = bars.at(worst);
    if (worstBar.share >= fair + fair)
        return SkewVerdict::skewed(std::move(bars), worstBar, std::move(idle));
    if (!idle.isEmpty())
        return SkewVerdict::starved(std::move(bars), std::move(idle));
    return SkewVerdict::even(std::move(bars));
}

} // namespace tessaron::PartitionSkew
