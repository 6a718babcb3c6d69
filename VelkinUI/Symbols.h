#pragma once

#include <QBrush>
#include <QIcon>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

namespace tessaron::Symbols {

// Symbol images have dotted names ("tray.full.fill", "hammer.fill"); one table
// maps each to a glyph of the Material Design Icons font or to a drawing of our own. Views name
// symbols only, never glyphs.
bool contains(const QString& name);
QStringList names();
bool isDrawn(const QString& name);
char32_t codepoint(const QString& name);
QString fontFamily();

// The symbol's outline scaled to fit `box` with its aspect kept, centred.
QPainterPath path(const QString& name, const QRectF& box);
// The square a symbol set at font size `size` occupies around `centre`.
QRectF boxForSize(const QPointF& centre, double size);
void paint(QPainter& painter, const QString& name, const QRectF& box, const QBrush& brush);
// The symbol as an icon for menus, actions and standard buttons (square, `size` points, one colour).
QIcon icon(const QString& name, double size, const QColor& color);

} // namespace tessaron::Symbols
