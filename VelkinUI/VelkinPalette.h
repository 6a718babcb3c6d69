#pragma once

#include <QColor>
#include <QString>

// The fixed colours of the shared components, named by what they are for. The application's own
// roles live in its palette; these are the foundation's, for surfaces that are always dark.
namespace tessaron::VelkinPalette {

// Light laid over a dark surface (sheens, rims, shimmer) at the given opacity, 0 to 1.
inline QColor light(float opacity) { return QColor::fromRgbF(1, 1, 1, opacity); }
// Shade laid over anything (vignettes, shadows) at the given opacity, 0 to 1.
inline QColor shade(float opacity) { return QColor::fromRgbF(0, 0, 0, opacity); }

// Text on an accent fill or a search mark.
inline QColor onAccentText() { return QColor(Qt::white); }
inline QColor shimmerPeak() { return light(0.85f); }
inline QColor glassFill() { return light(0.055f); }
inline QColor glassSheen() { return light(0.05f); }
inline QColor glassShadow() { return shade(0.18f); }
inline QColor gradientRim() { return light(0.25f); }

// A toast's body and the shadow under it.
inline QColor toastFill() { return QColor(38, 38, 44, 170); }
inline QColor toastShadow() { return QColor(0, 0, 0, 77); }
// The desktop's usual green and red on dark panels.
inline QColor success() { return QColor(48, 209, 88); }
inline QColor failure() { return QColor(255, 69, 58); }

// JSON tokens that the brand's palette does not colour.
inline QColor jsonString() { return QColor::fromRgbF(0.45f, 0.82f, 0.50f); }
inline QColor jsonNumber() { return QColor::fromRgbF(0.99f, 0.60f, 0.36f); }
inline QColor jsonPunctuation() { return light(0.55f); }
inline QColor jsonText() { return light(0.85f); }

// A code block of Markdown: its text, fill and hairline.
inline QColor codeText() { return QColor(255, 255, 255, 230); }
inline QColor codeFill() { return QColor(255, 255, 255, 13); }
inline QColor codeBorder() { return QColor(255, 255, 255, 20); }

// A colour as a style sheet writes it, alpha as 0–255 (a decimal alpha is cut down, not rounded).
inline QString css(const QColor& c)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

} // namespace tessaron::VelkinPalette
