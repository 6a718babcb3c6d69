#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace tessaron {

// The five accent themes; each carries a five-colour palette and an accent colour.
enum class AccentTheme { violet, ocean, sunset, forest, mono };

namespace AccentThemes {

// Every theme, in declaration order.
const std::array<AccentTheme, 5>& allCases();

// Exactly the five lower-case names; anything else (other case, stray blanks) names no theme.
std::optional<AccentTheme> fromRawValue(const QString& raw);

QString rawValue(AccentTheme theme);
inline QString id(AccentTheme theme) { return rawValue(theme); }
QString label(AccentTheme theme);

// Built anew on every call; always five colours, opaque sRGB.
QList<QColor> palette(AccentTheme theme);
QColor accent(AccentTheme theme);

} // namespace AccentThemes
} // namespace tessaron
