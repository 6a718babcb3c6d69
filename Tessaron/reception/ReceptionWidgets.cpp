#include "Tessaron/reception/ReceptionWidgets.h"

namespace tessaron::reception {

QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent, bool wrap)
{
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    l->setFont(font);
    l->setWordWrap(wrap);
    setTextColor(l, color);
    return l;
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    widget->setPalette(p);
}

} // namespace tessaron::reception
