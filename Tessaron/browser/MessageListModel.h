#pragma once

#include "TessaronCore/model/Message.h"

#include <QAbstractListModel>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>
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

    void setRows(QList<Message> messages, QSet<QString> outliers, std::optional<QString> selected);
    void setOutliers(QSet<QString> outliers);
    void setSelected(std::optional<QString> selected);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const Message& messageAt(int row) const { return m_messages[row]; }
    const RowFace& faceAt(int row) const;
    bool isOutlier(int row) const { return m_outliers.contains(m_messages[row].id()); }
    bool isSelected(int row) const { return m_selected && m_messages[row].id() == *m_selected; }
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
    QList<Message> m_messages;
    QSet<QString> m_outliers;
    std::optional<QString> m_selected;
    mutable std::vector<std::optional<RowFace>> m_faces;
};

} // namespace tessaron
