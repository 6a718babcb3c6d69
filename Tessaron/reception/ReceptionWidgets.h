#pragma once

#include "Tessaron/kit/ElidedLabel.h"
#include "Tessaron/kit/PlainText.h"
#include "VelkinUI/KitFont.h"

#include <QColor>
#include <QLabel>
#include <QWidget>

namespace tessaron::reception {

// The kit's plain-text label and text colour.
using PlainText::label;
using PlainText::setTextColor;

} // namespace tessaron::reception
