#pragma once

#include "TessaronCore/analysis/SkewVerdict.h"

#include <QSet>
#include <QString>

#include <optional>

namespace tessaron::SkewLogic {

enum class Shows { nothing, line, chart };
Shows shows(const SkewVerdict& verdict);

// The chart's or the line's sentence; none when nothing is shown.
std::optional<QString> sentence(const SkewVerdict& verdict);

// The partitions the verdict names: the worst and every idle one.
QSet<int32_t> flagged(const SkewVerdict& verdict);

// The largest retained count among the bars; 1 without bars.
int64_t tallest(const SkewVerdict& verdict);

// A bar's hover help: "p%d — %lld retained (%d%%)".
QString barTip(const SkewVerdict::Bar& bar);

} // namespace tessaron::SkewLogic
