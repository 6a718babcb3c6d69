#pragma once

#include <QColor>

namespace tessaron::WelcomePalette {

// The introduction's four colours, each fixed on first read: the accent is the brand palette's
// third colour at that moment, so a later theme change leaves the introduction as it was.
const QColor& accent();
const QColor& muted();
const QColor& mint();
const QColor& lavender();

} // namespace tessaron::WelcomePalette
