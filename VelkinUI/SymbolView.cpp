#include "VelkinUI/SymbolView.h"

#include "VelkinUI/Symbols.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

SymbolView::SymbolView(const QString& name, double size, const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_name(name)
    , m_size(size)
    , m_color(color)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolView::setName(const QString& name)
{
    m_name = name;
    update();
}

void SymbolView::setColor(const QColor& color)
{
    m_color = color;
    update();
}

QSize SymbolView::sizeHint() const
{
    const int side = int(std::ceil(m_size));
    return {side, side};
}

void SymbolView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Symbols::paint(painter, m_name, Symbols::boxForSize(QRectF(rect()).center(), m_size), m_color);
}

} // namespace tessaron
