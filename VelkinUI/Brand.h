#pragma once

#include "VelkinUI/AccentTheme.h"
#include "VelkinUI/BrandConfig.h"

#include <QColor>
#include <QLinearGradient>
#include <QList>
#include <QRectF>

namespace tessaron {

// The process-wide brand configuration. Until configure() runs, the kit's own defaults are in
// force (namespace "velkinkit", default theme violet). Every read resolves the stored theme afresh,
// so a theme stored by anyone shows at the next paint.
namespace Brand {

void configure(const BrandConfig& config);
const BrandConfig& config();

AccentTheme theme();
void setTheme(AccentTheme theme);
QList<QColor> palette();
QColor accent();
// Palette colours 0, 1 and 2 from the top-left to the bottom-right corner of `rect`.
QLinearGradient gradient(const QRectF& rect);
QIcon logo();
QString fallbackSymbol();

} // namespace Brand
} // namespace tessaron
