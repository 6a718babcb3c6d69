#pragma once

#include <QLayout>
#include <QList>

namespace tessaron {

// A row of items at their preferred sizes that wraps onto further lines when the width runs out,
// like words in a paragraph. Its height follows its width; its minimum width is its widest item.
class FlowRow : public QLayout {
public:
    explicit FlowRow(QWidget* parent = nullptr, int spacing = 7, int lineSpacing = 6);
    ~FlowRow() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in `rect` (or only measures them) and returns the height used.
    int place(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> m_items;
    int m_spacing;
    int m_lineSpacing;
};

} // namespace tessaron
