#include "Tessaron/kit/FlowRow.h"

#include <QWidget>

namespace tessaron {

FlowRow::FlowRow(QWidget* parent, int spacing, int lineSpacing)
    : QLayout(parent)
    , m_spacing(spacing)
    , m_lineSpacing(lineSpacing)
{
    setContentsMargins(0, 0, 0, 0);
}

FlowRow::~FlowRow()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowRow::addItem(QLayoutItem* item) { m_items.append(item); }

int FlowRow::count() const { return int(m_items.size()); }

QLayoutItem* FlowRow::itemAt(int index) const { return m_items.value(index); }

QLayoutItem* FlowRow::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items.takeAt(index);
}

Qt::Orientations FlowRow::expandingDirections() const { return {}; }

bool FlowRow::hasHeightForWidth() const { return true; }

int FlowRow::heightForWidth(int width) const { return place(QRect(0, 0, width, 0), false); }

QSize FlowRow::sizeHint() const
{
    // Everything on one line.
    int width = 0;
    int height = 0;
    int shown = 0;
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize hint = item->sizeHint();
        width += hint.width() + (shown++ > 0 ? m_spacing : 0);
        height = std::max(height, hint.height());
    }
    const QMargins m = contentsMargins();
    return QSize(width + m.left() + m.right(), height + m.top() + m.bottom());
}

QSize FlowRow::minimumSize() const
{
    QSize size;
    for (QLayoutItem* item : m_items)
        if (!item->isEmpty())
            size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

void FlowRow::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    place(rect, true);
}

int FlowRow::place(const QRect& rect, bool apply) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize hint = item->sizeHint().boundedTo(QSize(std::max(1, area.width()), QWIDGETSIZE_MAX));
        if (x > area.x() && x + hint.width() > area.right() + 1) {
            x = area.x();
            y += lineHeight + m_lineSpacing;
            lineHeight = 0;
        }
        if (apply)
            item->setGeometry(QRect(QPoint(x, y), hint));
        x += hint.width() + m_spacing;
        lineHeight = std::max(lineHeight, hint.height());
    }
    const QMargins m = contentsMargins();
    return y + lineHeight - rect.y() + m.bottom();
}

} // namespace tessaron
