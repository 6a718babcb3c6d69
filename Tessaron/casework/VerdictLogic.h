#pragma once

#include "Tessaron/casework/CaseworkLogic.h"
#include "TessaronCore/analysis/ShapeVerdict.h"
#include "TessaronCore/model/JSONKind.h"

#include <QString>

#include <optional>

namespace tessaron::VerdictLogic {

using CaseworkLogic::Tone;

// The sentence after a field path: "is string here, number in the rest", "is missing here — the
// rest carry number", "only appears here, as object", or nothing when neither kind is known.
QString differenceSentence(const std::optional<JSONKind>& majority, const std::optional<JSONKind>& outlier);

// The one-line form of the bar, for every verdict but a drift and nothing to compare.
struct Line {
    QString symbol;
    Tone tone; // muted stands for white at 45 %
    QString sentence;
};
std::optional<Line> line(const ShapeVerdict& verdict);

// The objection card's sentence: "%d of %d disagree with the rest".
QString objectionSentence(const ShapeVerdict::Drift& drift);
// "…and %d more differences" beyond the first three.
std::optional<QString> moreDifferences(const ShapeVerdict::Drift& drift);

} // namespace tessaron::VerdictLogic
