#pragma once

#include "TessaronCore/model/MessageAddress.h"

#include <QCache>
#include <QPixmap>
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
    void paintPreview(QPainter& painter, QRectF area, int row) const;

    MessageListModel* m_model;
    // Each row's preview line as drawn last: coloured JSON costs a measure and a draw per token,
    // and the rows are drawn again whole whenever the list is shown again.
    struct PreviewPicture {
        QString text;
        QSizeF size;
        QPixmap picture;
    };
    mutable QCache<MessageAddress, PreviewPicture> m_previews;
};

} // namespace tessaron
