#pragma once

#include "Tessaron/kit/PlainText.h"
#include "VelkinUI/KitFont.h"

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

namespace tessaron::ActionStyle {

// The fixed colours of the action sheets, each opaque sRGB.
QColor warningOrange();
QColor allClearGreen();
QColor ink();
QColor muted();
QColor windowDark();
// The third colour of the current accent theme.
QColor accent();
QColor withOpacity(const QColor& color, double opacity);
QColor white(double opacity);

// The kit's plain-text label; wrapping ones take their width from the layout.
using PlainText::label;
// The rounded-border field of the sheets.
void styleField(QLineEdit* field, bool monospaced);

} // namespace tessaron::ActionStyle
