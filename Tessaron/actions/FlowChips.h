#pragma once

#include <QAbstractButton>
#include <QList>
#include <QStringList>
#include <QWidget>

class QGridLayout;

namespace tessaron {

// Ready-made texts as capsule buttons in equal columns of at least 150 points and at least as wide
// as the longest text, as many as the width allows, wrapping into further rows: no text is cut. A
// tap hands over the item's unlocalised text.
class FlowChips : public QWidget {
    Q_OBJECT
public:
    static constexpr int minimumColumn = 150;
    static constexpr int spacing = 7;

    explicit FlowChips(QStringList items, QWidget* parent = nullptr);
    QList<QAbstractButton*> chips() const { return m_chips; }
    int columns() const { return m_columns; }
    // Columns of at least `column` (and 150) points in `width`.
    static int columnsFor(int width, int column = minimumColumn);

signals:
    void tapped(const QString& item);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int columnsFitting(int width) const;
    void place(int columns);

    QStringList m_items;
    QList<QAbstractButton*> m_chips;
    QGridLayout* m_grid;
    int m_columns = 0;
};

} // namespace tessaron
