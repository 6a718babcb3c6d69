#include "Tessaron/reception/ReceptionWidgets.h"

#include "Tessaron/kit/PlainText.h"

namespace tessaron::reception {

QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent, bool wrap)
{
    return PlainText::label(text, font, color, parent, wrap);
}

void setTextColor(QWidget* widget, const QColor& color) { PlainText::setTextColor(widget, color); }

} // namespace tessaron::reception
