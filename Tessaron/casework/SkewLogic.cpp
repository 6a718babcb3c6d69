#include "Tessaron/casework/SkewLogic.h"

#include "Tessaron/casework/CaseworkLogic.h"
#include "TessaronCore/l10n/L10n.h"

namespace tessaron::SkewLogic {

Shows shows(const SkewVerdict& verdict)
{
    switch (verdict.tag()) {
    case SkewVerdict::Case::notPartitioned:
    case SkewVerdict::Case::nothingToCompare:
        return Shows::nothing;
    case SkewVerdict::Case::allEmpty:
    case SkewVerdict::Case::notEnoughEvidence:
        return Shows::line;
    case SkewVerdict::Case::even:
    case SkewVerdict::Case::skewed:
    case SkewVerdict::Case::starved:
        break;
    }
    return Shows::chart;
}

std::optional<QString> sentence(const SkewVerdict& verdict)
{
    using CaseworkLogic::wholePercent;
    switch (verdict.tag()) {
    case SkewVerdict::Case::notPartitioned:
    case SkewVerdict::Case::nothingToCompare:
        return std::nullopt;
    case SkewVerdict::Case::allEmpty:
        return L10n::t("%d partitions, all empty. Nothing to chart yet.", verdict.partitions());
    case SkewVerdict::Case::notEnoughEvidence:
        return L10n::t("%lld across %d partitions — too few to call the spread.",
                       CaseworkLogic::groupedCount(verdict.total()), verdict.partitions());
    case SkewVerdict::Case::even:
        return L10n::t("Spread evenly across %d partitions.", verdict.bars().size());
    case SkewVerdict::Case::skewed: {
        const SkewVerdict::Bar worst = verdict.worst().value_or(SkewVerdict::Bar());
        if (verdict.idle().isEmpty())
            return L10n::t("p%d is holding %d%% of it.", worst.partition, wholePercent(worst.share));
        return L10n::t("p%d is holding %d%% of it, and p%d has none.", worst.partition, wholePercent(worst.share),
                       verdict.idle().first().partition);
    }
    case SkewVerdict::Case::starved:
        if (verdict.idle().size() == 1)
            return L10n::t("p%d has almost nothing while the rest are full.", verdict.idle().first().partition);
        return L10n::t("%d partitions have almost nothing while the rest are full.", verdict.idle().size());
    }
    return std::nullopt;
}

QSet<int32_t> flagged(const SkewVerdict& verdict)
{
    QSet<int32_t> partitions;
    if (verdict.tag() == SkewVerdict::Case::skewed && verdict.worst())
        partitions.insert(verdict.worst()->partition);
    if (verdict.tag() == SkewVerdict::Case::skewed || verdict.tag() == SkewVerdict::Case::starved) {
        for (const SkewVerdict::Bar& bar : verdict.idle())
            partitions.insert(bar.partition);
    }
    return partitions;
}

int64_t tallest(const SkewVerdict& verdict)
{
    if (verdict.bars().isEmpty())
        return 1;
    int64_t most = verdict.bars().first().retained;
    for (const SkewVerdict::Bar& bar : verdict.bars())
        most = std::max(most, bar.retained);
    return most;
}

QString barTip(const SkewVerdict::Bar& bar)
{
    return L10n::t("p%d — %lld retained (%d%%)", bar.partition, CaseworkLogic::groupedCount(bar.retained),
                   CaseworkLogic::wholePercent(bar.share));
}

} // namespace tessaron::SkewLogic
