#pragma once

#include <QStyledItemDelegate>

namespace tessaron {

class MessageListModel;

// Draws one message row of the list: the exhibit number, the key, the objection mark of an
// outlier, partition and offset, the age, and a one-line preview chosen by the payload's kind;
// an orange bar on the left marks an outlier. Rows have one fixed height.
class MessageRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit MessageRowDelegate(MessageListModel* model, QObject* parent = nullptr);

    static constexpr int rowHeight = 50;
    // Space below each row, and room kept clear of the scroll bar on the right.
    static constexpr int rowGap = 3;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The texts a row shows, for tests: the key label, the position and the preview sentence.
    QString keyText(int row) const;
    QString positionText(int row) const;
    QString previewText(int row) const;

private:
    struct Geometry {
        QRectF number;
        QRectF key;
        QRectF mark;
        QRectF position;
        QRectF time;
        QRectF preview;
    };
    Geometry layout(const QRect& rect, int row) const;

    MessageListModel* m_model;
};

} // namespace tessaron
