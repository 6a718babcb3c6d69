#pragma once

#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/MessageAddress.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace tessaron {

// The rows of the message list: the messages as shown (the search results, newest first), each
// with its exhibit number (its position as shown), whether it is a drift outlier, and whether it
// is the selected message. What a row draws (its kind, key and preview line) is worked out the
// first time the row is drawn and kept, so scrolling never parses a payload twice. A row reads to
// assistive technology as what it shows: its number, key and preview, then where and when.
class MessageListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { IdRole = Qt::UserRole + 1, ExhibitRole, OutlierRole, SelectedRole };

    // What a row shows, derived from its message once.
    struct RowFace {
        PayloadKind kind = PayloadKind::text;
        std::optional<QString> key; // the key as text; absent without a key or when not UTF-8
        bool hasKey = false;
        QString preview; // the first line of the payload text, bounded
        qsizetype payloadBytes = 0;
    };

    explicit MessageListModel(QObject* parent = nullptr);

    // A new list of rows: views start over with it.
    void setRows(QList<Message> messages, QSet<QString> outliers, std::optional<QString> selected);
    // The rows after a further page was merged in: when `messages` holds the rows shown, in their
    // order, with others among them, only those are announced (as insertions, run by run), so a
    // page costs what it adds and views keep their selection and scroll position. Otherwise it is
    // a new list (`setRows`). Only for messages that are the same as those shown where their ids
    // are: a row's face is kept.
    // The outliers stay as they are: a verdict on the merged list follows (`setOutliers`).
    void mergeRows(const QList<Message>& messages, std::optional<QString> selected);
    // The same, told where the new rows are (`runs`: each one's first row in `messages` and its
    // length, in order), so the rows shown are not compared one by one. Rows that do not fit
    // around the runs are merged as above.
    void insertRuns(const QList<Message>& messages, const QList<std::pair<int, int>>& runs,
                    std::optional<QString> selected);
    void setOutliers(QSet<QString> outliers);
    // The same from a verdict's outliers, listed in the order of the messages held: a list that
    // only adds to the previous one (a page read on) adds to the set instead of building it again.
    void followOutliers(const QList<QString>& outliers);
    void setSelected(std::optional<QString> selected);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // A list view asks for every row's index whenever it lays its rows out: without the generic
    // checks, which ask the row and column counts through virtual calls each time.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = QModelIndex()) const override
    {
        return column == 0 && row >= 0 && !parent.isValid() && row < rowCount() ? createIndex(row, 0) : QModelIndex();
    }
    QVariant data(const QModelIndex& index, int role) const override;

    const Message& messageAt(int row) const
    {
        return m_settled < 0 || row < m_settled ? m_messages[row] : m_rest[m_restFrom + row - m_settled];
    }
    const RowFace& faceAt(int row) const;
    bool isOutlier(int row) const { return m_outliers.contains(messageAt(row).id()); }
    bool isSelected(int row) const { return m_selected && messageAt(row).id() == *m_selected; }
    // The row of a message id as shown, or -1.
    int rowOf(const QString& id) const;

    // The texts a row shows: the key label, the position and the preview sentence.
    QString keyText(int row) const;
    QString positionText(int row) const;
    QString previewText(int row) const;
    // What a screen reader says for a row: its name, then its description.
    QString accessibleText(int row) const;
    QString accessibleDescription(int row) const;

    // The preview is cut after this many characters: a row shows one line of it at most.
    static constexpr qsizetype previewLimit = 400;

private:
    void applyRuns(const QList<Message>& messages, const QList<std::pair<int, int>>& runs,
                   std::optional<QString> selected);

    QList<Message> m_messages;
    // While insertions are announced run by run, the rows are the first `m_settled` of the new list
    // (m_messages), then the previous list's from `m_restFrom` on; -1 otherwise.
    int m_settled = -1;
    QList<Message> m_rest;
    qsizetype m_restFrom = 0;
    QSet<QString> m_outliers;
    QList<QString> m_outlierList; // as last followed, when followed
    std::optional<QString> m_selected;
    // The selected message's row, -1 when not shown; unknownRow until asked.
    static constexpr int unknownRow = -2;
    mutable int m_selectedRow = unknownRow;
    // Only rows drawn have a face; kept by address so that inserted rows move none of them.
    mutable QHash<MessageAddress, RowFace> m_faces;
};

} // namespace tessaron
