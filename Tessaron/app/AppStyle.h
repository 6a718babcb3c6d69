#pragma once

#include <QFont>
#include <QPalette>
#include <QString>

class QApplication;
class QStyle;

namespace tessaron::AppStyle {

// The one look of everything the kit does not draw itself: Fusion with the kit's dark colours and
// one style sheet for menus, tooltips, fields, lists, scroll bars, tab bars, check boxes and
// dialogs, so no light platform chrome shows anywhere. Body text is Inter.
QPalette palette();
QString styleSheet();
QFont bodyFont();

// Fusion, with the standard icons the first window builds but rarely shows drawn when first shown.
QStyle* createStyle();

// Installs style, palette, sheet and font on the application; call once, before any window.
void install(QApplication& app);

} // namespace tessaron::AppStyle
