#pragma once

#include <QFont>
#include <QPalette>
#include <QString>

class QApplication;
class QPainter;
class QRectF;
class QStyle;

namespace tessaron::AppStyle {

// The one look of everything the kit does not draw itself: a proxy style over Fusion with the kit's
// dark palette draws fields, lists, scroll bars, menus, tooltips, buttons and the focus ring, so no
// light platform chrome shows anywhere and no application-wide style sheet overrides the colours a
// view sets. Body text is Inter.
QPalette palette();
QFont bodyFont();
// A new instance of the application's style.
QStyle* createStyle();
// The keyboard focus ring, for widgets that draw themselves.
void drawFocusRing(QPainter* painter, const QRectF& rect, double radius);

// Installs style, palette, sheet and font on the application; call once, before any window.
void install(QApplication& app);

} // namespace tessaron::AppStyle
