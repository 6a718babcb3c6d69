#pragma once

#include "VelkinUI/KitFont.h"
#include "VelkinUI/Motion.h"

#include <QColor>
#include <QLabel>
#include <QString>

class QWidget;

namespace tessaron {
class TransformEffect;
}

namespace tessaron::intro {

// A wrapped label in a kit font and colour; `spacing` is extra line spacing in points.
QLabel* text(const QString& content, double size, const QColor& color, QFont::Weight weight = QFont::Normal,
             FontDesign design = FontDesign::standard, double tracking = 0.0);
// A row of a symbol and a label.
QWidget* symbolRow(const QString& symbol, const QString& content, double size, const QColor& color,
                   QFont::Weight weight = QFont::Normal);
// A small capsule badge with a symbol (optional) and monospaced text.
QWidget* capsule(const QString& content, const QColor& color, const QString& symbol = {});
// Turns a widget about its centre, through the kit's transform effect (created on first use).
TransformEffect* tilt(QWidget* widget, double degrees, QPointF offset = {});
// Turns a widget from where it stands now to `degrees` along `motion` (at once with Motion::none()).
void tiltTo(QWidget* widget, double degrees, const Motion& motion);
// The introduction's spring for chapter changes, the rail and the agreement, as decorative motion of `widget`.
Motion introSpring(const QWidget* widget);

} // namespace tessaron::intro
