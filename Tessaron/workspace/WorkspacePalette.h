#pragma once

#include <QColor>

namespace tessaron::WorkspacePalette {

// The fixed colours of the workspace, each an opaque sRGB colour made once.
const QColor& amber();            // warnings, refusals, destructive controls
const QColor& jade();             // secure or successful states
const QColor& slate();            // secondary text and idle icons
const QColor& mint();             // pins
const QColor& lavender();         // consumer groups
const QColor& ink();              // text on dark panels
const QColor& windowBackground(); // behind popovers and the window
// The accent of every workspace view: the third colour of the current accent theme.
QColor accent();

// `color` at `opacity` (0 to 1) of its own alpha.
QColor withOpacity(const QColor& color, double opacity);
// White at `opacity`.
QColor white(double opacity);

} // namespace tessaron::WorkspacePalette
