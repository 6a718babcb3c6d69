#pragma once

#include <QColor>

namespace tessaron::ReceptionColors {

// The shared colours of the reception and the broker form, each fixed on first use.
const QColor& amber();            // warnings, refusals, destructive controls
const QColor& jade();             // secure or successful states
const QColor& slate();            // secondary text, idle icons
const QColor& mint();             // the Schema Registry
const QColor& ink();              // text on dark panels
const QColor& windowBackground(); // the window's ground

// The accent of these views: the brand palette's third colour, read afresh.
QColor accent();

QColor withOpacity(const QColor& color, double opacity);

} // namespace tessaron::ReceptionColors
