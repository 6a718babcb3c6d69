#pragma once

#include <QColor>

namespace tessaron::SettingsPalette {

// The five fixed colours of the panel look.
const QColor& canvas();   // near-black ground
const QColor& ink();      // warm off-white text
const QColor& muted();    // grey secondary text
const QColor& mint();     // pale green accent
const QColor& lavender(); // pale violet accent

// `color` at `opacity` (0 to 1).
QColor withOpacity(const QColor& color, double opacity);

} // namespace tessaron::SettingsPalette
