#pragma once

#include <QColor>

namespace tessaron::TessaronPalette {

// The fixed colours of every screen, each an opaque sRGB colour made once.
const QColor& canvas();   // near-black ground behind the window and popovers
const QColor& ink();      // warm off-white text on dark panels
const QColor& muted();    // grey secondary text and idle icons
const QColor& mint();     // pale green: pins, the Schema Registry
const QColor& lavender(); // pale violet: consumer groups
const QColor& amber();    // warnings, refusals, destructive controls
const QColor& jade();     // secure or successful states

// The accent of the screens: the third colour of the current accent theme, read afresh.
QColor accent();

// `color` at `opacity` (0 to 1) of its own alpha.
QColor withOpacity(const QColor& color, double opacity);
// White at `opacity`.
QColor white(double opacity);

// A light text colour made legible on the dark grounds: a translucent or grey text is lifted (in
// opacity, then towards ink) until it reads at 4.5:1 (with a margin for small type) over the lightest panel on the
// canvas. Dark text (on amber or mint) is left as it is.
QColor legible(const QColor& text);

} // namespace tessaron::TessaronPalette
