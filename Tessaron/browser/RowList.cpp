#include "Tessaron/browser/RowList.h"

#include <QAccessible>
#include <QEvent>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace tessaron {

RowList::RowList(QWidget* parent)
    : QListView(parent)
{
    setUniformItemSizes(true);
    setSpacing(0);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int RowList::rows() const { return model() ? model()->rowCount(rootIndex()) : 0; }

QModelIndex RowList::rowIndex(int row) const
{
    return model() ? model()->index(row, modelColumn(), rootIndex()) : QModelIndex();
}

bool RowList::usable(int row) const { return model()->flags(rowIndex(row)) & Qt::ItemIsEnabled; }

QSize RowList::rowSize() const
{
    if (!m_rowSize.isValid()) {
        const QModelIndex first = rowIndex(0);
        QAbstractItemDelegate* delegate = first.isValid() ? itemDelegateForIndex(first) : nullptr;
        if (!delegate)
            return {};
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = viewport()->rect();
        m_rowSize = delegate->sizeHint(option, first);
    }
    return m_rowSize;
}

std::pair<int, int> RowList::rowsIn(int top, int bottom) const
{
    const int height = rowSize().height();
    const int count = rows();
    if (height <= 0 || count <= 0 || bottom < 0 || qint64(top) >= qint64(count) * height)
        return {0, -1};
    return {std::max(0, top / height), std::min(count - 1, bottom / height)};
}

QRect RowList::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex()
        || index.column() != modelColumn())
        return {};
    const int height = rowSize().height();
    if (height <= 0)
        return {};
    return {0, index.row() * height - verticalOffset(), viewport()->width(), height};
}

QModelIndex RowList::indexAt(const QPoint& point) const
{
    const int height = rowSize().height();
    const int y = point.y() + verticalOffset();
    if (height <= 0 || y < 0 || point.x() < 0 || point.x() >= viewport()->width())
        return {};
    const int row = y / height;
    return row < rows() ? rowIndex(row) : QModelIndex();
}

void RowList::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const QRect rect = visualRect(index);
    if (!rect.isValid())
        return;
    const QRect area = viewport()->rect();
    if (hint == EnsureVisible && area.contains(rect)) {
        viewport()->update(rect);
        return;
    }
    const bool above = hint == EnsureVisible && rect.top() < area.top();
    const bool below = hint == EnsureVisible && rect.bottom() > area.bottom();
    int value = verticalScrollBar()->value();
    if (hint == PositionAtTop || above)
        value += rect.top();
    else if (hint == PositionAtBottom || below)
        value += std::min(rect.top(), rect.bottom() - area.height() + 1);
    else if (hint == PositionAtCenter)
        value += rect.top() - (area.height() - rect.height()) / 2;
    verticalScrollBar()->setValue(value);
}

// The base view settles the scroll bars (measuring the rows again) and draws again; there is
// nothing to place.
void RowList::doItemsLayout() { QAbstractItemView::doItemsLayout(); }

void RowList::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    // A row's data changing (selected, an outlier) moves no row: it is drawn again.
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
}

void RowList::updateGeometries()
{
    m_rowSize = {};
    const int height = rowSize().height();
    QScrollBar* bar = verticalScrollBar();
    if (height <= 0 || geometry().isEmpty()) {
        bar->setRange(0, 0);
    } else {
        const qint64 contents = qint64(rows()) * height;
        bar->setSingleStep(height);
        bar->setPageStep(viewport()->height());
        bar->setRange(0, int(std::clamp<qint64>(contents - viewport()->height(), 0, INT_MAX)));
    }
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

int RowList::horizontalOffset() const { return 0; }

int RowList::verticalOffset() const { return verticalScrollBar()->value(); }

// Qt's list moves what is shown only by the rows it laid out, and there are none here.
void RowList::scrollContentsBy(int dx, int dy) { QAbstractItemView::scrollContentsBy(dx, dy); }

QModelIndex RowList::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = rows();
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        for (int row = 0; row < count; ++row) {
            if (usable(row))
                return rowIndex(row);
        }
        return {};
    }
    switch (action) {
    case MoveUp:
    case MovePrevious:
        for (int row = current.row() - 1; row >= 0; --row) {
            if (usable(row))
                return rowIndex(row);
        }
        return current;
    case MoveDown:
    case MoveNext:
        for (int row = current.row() + 1; row < count; ++row) {
            if (usable(row))
                return rowIndex(row);
        }
        return current;
    case MovePageUp:
    case MovePageDown:
        return pageStep(current, action == MovePageDown);
    case MoveHome:
        return rowIndex(0);
    case MoveEnd:
        return rowIndex(count - 1);
    case MoveLeft:
    case MoveRight:
        break;
    }
    return current;
}

// A page away, as Qt's list finds it: a band one row high a viewport's height (less a pixel) past
// the current row, or the content's last pixels when that is past the end, walked back a pixel at a
// time until the row nearest the current one that it touches lies within a viewport of it.
QModelIndex RowList::pageStep(const QModelIndex& current, bool down) const
{
    const qint64 height = rowSize().height();
    const qint64 page = viewport()->height();
    const int count = rows();
    if (height >= page) {
        const int step = down ? 1 : -1;
        for (int row = current.row() + step; row >= 0 && row < count; row += step) {
            if (usable(row))
                return rowIndex(row);
        }
        return current;
    }
    const qint64 contents = count * height;
    const qint64 currentTop = current.row() * height;
    const qint64 currentBottom = currentTop + height - 1;
    qint64 top = down ? currentTop + page - 1 : currentTop - page + 1;
    qint64 bottom = top + height - 1;
    if (down && bottom > contents - height) {
        top = contents - 1;
        bottom = contents;
    } else if (!down && top < height) {
        top = 0;
        bottom = 1;
    }
    // The touched row nearest the current one (the rows touched are consecutive).
    auto nearest = [&]() -> qint64 {
        if (bottom < 0 || top >= contents)
            return -1;
        const qint64 first = std::max<qint64>(0, top / height);
        const qint64 last = std::min<qint64>(count - 1, bottom / height);
        return std::clamp<qint64>(current.row(), first, last);
    };
    qint64 found = -1;
    while (true) {
        if (found >= 0) {
            const bool tooFar = down ? found * height + height - 1 >= page + currentTop || bottom > contents
                                     : found * height <= currentBottom - page || top <= 0;
            if (!tooFar)
                return rowIndex(int(found));
        }
        top += down ? -1 : 1;
        bottom += down ? -1 : 1;
        if (down ? top >= contents : bottom <= 0)
            return current;
        found = nearest();
    }
}

void RowList::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel())
        return;
    const QRect band = rect.normalized();
    const auto [first, last] = rowsIn(band.top() + verticalOffset(), band.bottom() + verticalOffset());
    QItemSelection selection;
    if (first <= last)
        selection.select(rowIndex(first), rowIndex(last));
    selectionModel()->select(selection, command);
}

QRegion RowList::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid() || range.parent() != rootIndex() || range.left() > modelColumn()
            || range.right() < modelColumn())
            continue;
        const QRect rect = visualRect(rowIndex(range.top())).united(visualRect(rowIndex(range.bottom())));
        if (viewport()->rect().intersects(rect))
            region += rect;
    }
    return region;
}

// Qt's list names the row by its place among the laid-out rows; here every row is in its place.
// Focus moves only with the keyboard's: a row made current from elsewhere (a button in the case
// notes selecting a message) is no focus change.
void RowList::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
    QAbstractItemView::currentChanged(current, previous);
}

void RowList::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (QAccessible::isActive()) {
        if (const QModelIndex added = selected.indexes().value(0); added.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionAdd);
            event.setChild(added.row());
            QAccessible::updateAccessibility(&event);
        }
        if (const QModelIndex removed = deselected.indexes().value(0); removed.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionRemove);
            event.setChild(removed.row());
            QAccessible::updateAccessibility(&event);
        }
    }
    QAbstractItemView::selectionChanged(selected, deselected);
}

void RowList::paintEvent(QPaintEvent* event)
{
    const auto [first, last] =
        rowsIn(event->rect().top() + verticalOffset(), event->rect().bottom() + verticalOffset());
    if (first > last)
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QStyle::State viewState = option.state;
    const bool enabled = viewState & QStyle::State_Enabled;
    const QItemSelectionModel* selections = selectionModel();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = rowIndex(row);
        QAbstractItemDelegate* delegate = itemDelegateForIndex(index);
        if (!delegate)
            continue;
        option.rect = visualRect(index);
        option.state = viewState;
        if (selections && selections->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (enabled) {
            const bool rowEnabled = model()->flags(index) & Qt::ItemIsEnabled;
            option.state.setFlag(QStyle::State_Enabled, rowEnabled);
            option.palette.setCurrentColorGroup(rowEnabled ? QPalette::Normal : QPalette::Disabled);
        }
        if (focus && current == index) {
            option.state |= QStyle::State_HasFocus;
            if (state() == EditingState)
                option.state |= QStyle::State_Editing;
        }
        option.state.setFlag(QStyle::State_MouseOver, m_hover == index);
        option.features.setFlag(QStyleOptionViewItem::Alternate, alternatingRowColors() && row % 2 == 1);
        // The row's own panel (only ever the alternate base), then the delegate draws the rest.
        const QStyle::State drawn = option.state;
        option.state &= ~QStyle::State_Selected;
        style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &option, &painter, this);
        option.state = drawn;
        delegate->paint(&painter, option, index);
    }
}

bool RowList::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        m_hover = indexAt(static_cast<QHoverEvent*>(event)->position().toPoint());
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        m_hover = QPersistentModelIndex();
        break;
    default:
        break;
    }
    return QListView::viewportEvent(event);
}

void RowList::mouseMoveEvent(QMouseEvent* event)
{
    m_hover = indexAt(event->position().toPoint());
    QListView::mouseMoveEvent(event);
}

} // namespace tessaron
