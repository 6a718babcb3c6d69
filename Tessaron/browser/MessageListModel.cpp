#include "Tessaron/browser/MessageListModel.h"

#include "Tessaron/browser/PayloadKinds.h"
#include "Tessaron/browser/RelativeTime.h"
#include "TessaronCore/l10n/InterfaceLocale.h"
#include "TessaronCore/l10n/L10n.h"

namespace tessaron {

MessageListModel::MessageListModel(QObject* parent)
    : QAbstractListModel(parent)
{ }

void MessageListModel::setRows(QList<Message> messages, QSet<QString> outliers, std::optional<QString> selected)
{
    beginResetModel();
    m_messages = std::move(messages);
    m_outliers = std::move(outliers);
    m_selected = std::move(selected);
    m_faces.assign(size_t(m_messages.size()), std::nullopt);
    endResetModel();
}

void MessageListModel::setOutliers(QSet<QString> outliers)
{
    if (outliers == m_outliers)
        return;
    m_outliers = std::move(outliers);
    if (!m_messages.isEmpty())
        emit dataChanged(index(0), index(int(m_messages.size()) - 1), {OutlierRole});
}

void MessageListModel::setSelected(std::optional<QString> selected)
{
    if (selected == m_selected)
        return;
    const int before = m_selected ? rowOf(*m_selected) : -1;
    m_selected = std::move(selected);
    const int after = m_selected ? rowOf(*m_selected) : -1;
    for (int row : {before, after}) {
        if (row >= 0)
            emit dataChanged(index(row), index(row), {SelectedRole});
    }
}

int MessageListModel::rowOf(const QString& id) const
{
    for (qsizetype i = 0; i < m_messages.size(); ++i) {
        if (m_messages[i].id() == id)
            return int(i);
    }
    return -1;
}

int MessageListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_messages.size());
}

QVariant MessageListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_messages.size())
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case IdRole:
        return m_messages[row].id();
    case ExhibitRole:
        return row + 1;
    case Qt::AccessibleTextRole:
        return accessibleText(row);
    case Qt::AccessibleDescriptionRole:
        return accessibleDescription(row);
    case OutlierRole:
        return isOutlier(row);
    case SelectedRole:
        return isSelected(row);
    default:
        return {};
    }
}

QString MessageListModel::keyText(int row) const { return faceAt(row).key.value_or(QStringLiteral("∅")); }

QString MessageListModel::positionText(int row) const
{
    const Message& message = m_messages[row];
    return QStringLiteral("p%1·%2").arg(message.partition()).arg(qint64(message.offset()));
}

QString MessageListModel::previewText(int row) const
{
    const Message& message = m_messages[row];
    const RowFace& face = faceAt(row);
    switch (face.kind.tag()) {
    case PayloadKind::avroConfluent: {
        const qint64 schema = face.kind.schemaID().value_or(0);
        if (message.decodeFailure())
            return L10n::t("Avro, schema %d — %@", schema, *message.decodeFailure());
        return L10n::t("Avro, schema %d", schema);
    }
    case PayloadKind::tombstone:
        return loc("tombstone — this key is deleted");
    case PayloadKind::binary:
        return face.payloadBytes == 1 ? loc("1 byte of binary")
                                      : L10n::t("%d bytes of binary", qint64(face.payloadBytes));
    default:
        return face.preview;
    }
}

QString MessageListModel::accessibleText(int row) const
{
    // The drawn "∅" means nothing to a listener, and it stands for two things: no key, or one
    // that is not text. The key itself is data and stays isolated.
    const RowFace& face = faceAt(row);
    const QString preview = L10n::isolated(previewText(row));
    if (!face.hasKey)
        return L10n::t("%d, no key, %@", qint64(row + 1), preview);
    if (!face.key)
        return L10n::t("%d, a key that is not text, %@", qint64(row + 1), preview);
    return L10n::t("%d, key %@, %@", qint64(row + 1), L10n::isolated(*face.key), preview);
}

QString MessageListModel::accessibleDescription(int row) const
{
    const Message& message = m_messages[row];
    QStringList parts;
    if (isOutlier(row))
        parts << loc("This message disagrees with the shape of the rest");
    parts << L10n::t("p%d at offset %@", qint64(message.partition()),
                     L10n::interfaceLocale().toString(qint64(message.offset())));
    if (message.timestamp())
        parts << RelativeTime::sinceNow(*message.timestamp());
    return parts.join(QStringLiteral(", "));
}

const MessageListModel::RowFace& MessageListModel::faceAt(int row) const
{
    std::optional<RowFace>& slot = m_faces[size_t(row)];
    if (slot)
        return *slot;
    const Message& message = m_messages[row];
    RowFace face;
    face.kind = PayloadKinds::of(message);
    face.hasKey = message.key().has_value();
    face.key = message.keyString();
    face.payloadBytes = message.payload().value_or(QByteArray()).size();
    if (face.kind.tag() == PayloadKind::json || face.kind.tag() == PayloadKind::text
        || face.kind.tag() == PayloadKind::avroDecoded) {
        const QString text = message.payloadString().value_or(QString());
        qsizetype end = text.indexOf(QLatin1Char('\n'));
        if (end < 0)
            end = text.size();
        if (end > 0 && text.at(end - 1) == QLatin1Char('\r'))
            --end;
        face.preview = text.left(std::min(end, previewLimit));
    }
    slot = std::move(face);
    return *slot;
}

} // namespace tessaron
