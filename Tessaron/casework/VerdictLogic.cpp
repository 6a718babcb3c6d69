#include "Tessaron/casework/VerdictLogic.h"

#include "TessaronCore/l10n/L10n.h"

namespace tessaron::VerdictLogic {

namespace {
// The raw names are keys of their own ("string", "number", ...).
QString kindWord(JSONKind kind) { return L10n::t(kind.rawValue()); }
} // namespace

QString differenceSentence(const std::optional<JSONKind>& majority, const std::optional<JSONKind>& outlier)
{
    if (majority && outlier)
        return L10n::t("is %@ here, %@ in the rest", kindWord(*outlier), kindWord(*majority));
    if (majority)
        return L10n::t("is missing here — the rest carry %@", kindWord(*majority));
    if (outlier)
        return L10n::t("only appears here, as %@", kindWord(*outlier));
    return QString();
}

std::optional<Line> line(const ShapeVerdict& verdict)
{
    switch (verdict.tag()) {
    case ShapeVerdict::Case::notEnoughEvidence:
        return Line{QStringLiteral("questionmark.circle"), Tone::muted,
                    L10n::t("Only %d readable here — too few to call a pattern.", verdict.sampled())};
    case ShapeVerdict::Case::consistent:
        return Line{QStringLiteral("checkmark.seal.fill"), Tone::allClear,
                    L10n::t("No objection. All %d agree on their shape.", verdict.sampled())};
    case ShapeVerdict::Case::noMajority:
        return Line{QStringLiteral("exclamationmark.triangle"), Tone::warning,
                    L10n::t("No two agree — %d shapes across %d messages. Tessaron won't pick a winner.",
                            verdict.distinctShapes(), verdict.sampled())};
    case ShapeVerdict::Case::drift:
    case ShapeVerdict::Case::nothingToCompare:
        break;
    }
    return std::nullopt;
}

QString objectionSentence(const ShapeVerdict::Drift& drift)
{
    return L10n::t("%d of %d disagree with the rest", drift.outlierCount(), drift.sampled);
}

std::optional<QString> moreDifferences(const ShapeVerdict::Drift& drift)
{
    if (drift.differences.size() <= 3)
        return std::nullopt;
    const qsizetype more = drift.differences.size() - 3;
    return more == 1 ? loc("…and 1 more difference") : L10n::t("…and %d more differences", more);
}

} // namespace tessaron::VerdictLogic
