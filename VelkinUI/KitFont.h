#pragma once

#include <QFont>

namespace tessaron {

// The three faces of the kit: the body face, a rounded face and a monospaced face.
enum class FontDesign { standard, rounded, monospaced };

namespace KitFont {

// Registers the faces installed from the distribution's packages; idempotent.
void registerFonts();

// A font of `size` kit points. Kit points are logical pixels; this is the one place
// that turns them into Qt's point sizes. `tracking` is extra letter spacing in the same units.
QFont font(double size, QFont::Weight weight = QFont::Normal, FontDesign design = FontDesign::standard,
           double tracking = 0.0);

QString family(FontDesign design);

} // namespace KitFont
} // namespace tessaron
