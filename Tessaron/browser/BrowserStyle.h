#pragma once

#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PlainText.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitFont.h"

#include <QColor>
#include <QLabel>
#include <QPalette>

namespace tessaron::BrowserStyle {

// Warnings, refusals, outliers and lag.
inline QColor warningOrange() { return TessaronPalette::amber(); }
// What is fine: a caught-up group, a reassuring sentence.
inline QColor allClearGreen() { return TessaronPalette::jade(); }
inline QColor mint() { return TessaronPalette::mint(); }
inline QColor white(double opacity) { return TessaronPalette::white(opacity); }
// The neutral accent: entry 2 of the brand palette.
inline QColor neutral() { return TessaronPalette::accent(); }
inline QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(opacity));
    return color;
}

inline void setTextColor(QWidget* widget, const QColor& color) { PlainText::setTextColor(widget, color); }

// A plain label in one of the kit's faces.
using PlainText::label;

} // namespace tessaron::BrowserStyle
