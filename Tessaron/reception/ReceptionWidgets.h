#pragma once

#include "Tessaron/kit/ElidedLabel.h"
#include "VelkinUI/KitFont.h"

#include <QColor>
#include <QLabel>
#include <QWidget>

namespace tessaron::reception {

// A plain-text label in a font and colour; wrapping when asked.
QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent, bool wrap = false);
void setTextColor(QWidget* widget, const QColor& color);

} // namespace tessaron::reception
