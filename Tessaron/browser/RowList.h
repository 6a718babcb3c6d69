#pragma once

#include <QListView>
#include <QPersistentModelIndex>

namespace tessaron {

// A list whose rows all have the height of the first, top to bottom, as wide as the view, no
// spacing, scrolled by pixels and never sideways. A row's place is its number times that height,
// so nothing is laid out: Qt's list lays out every row it holds whenever rows are added or
// removed (a position per row, about a millisecond at a hundred thousand), and a list that grows
// by a page at a time would pay that on every page. It stays a list view in everything else:
// keys, clicks, the delegate and what a screen reader is told behave as in Qt's list.
class RowList : public QListView {
public:
    explicit RowList(QWidget* parent = nullptr);

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;
    // The row Page Down (or Up) moves to from `from`, as the Page keys find it.
    QModelIndex pageFrom(const QModelIndex& from, bool down) const { return pageStep(from, down); }

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) override;
    void updateGeometries() override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    void scrollContentsBy(int dx, int dy) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int rows() const;
    QSize rowSize() const;
    QModelIndex rowIndex(int row) const;
    bool usable(int row) const;
    // The rows a band of content (not viewport) coordinates touches, clipped to the rows held.
    std::pair<int, int> rowsIn(int top, int bottom) const;
    QModelIndex pageStep(const QModelIndex& current, bool down) const;

    mutable QSize m_rowSize;
    // Qt keeps the row under the pointer to itself; the rows are drawn here, so this follows the
    // same events.
    QPersistentModelIndex m_hover;
};

} // namespace tessaron
