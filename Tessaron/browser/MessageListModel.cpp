#include "Tessaron/browser/MessageListModel.h"

#include "Tessaron/browser/PayloadKinds.h"
#include "Tessaron/browser/RelativeTime.h"
#include "TessaronCore/l10n/InterfaceLocale.h"
#include "TessaronCore/l10n/L10n.h"

#include <utility>

namespace tessaron {

MessageListModel::MessageListModel(QObject* parent)
    : QAbstractListModel(parent)
{ }

void MessageListModel::setRows(QList<Message> messages, QSet<QString> outliers, std::optional<QString> selected)
{
    beginResetModel();
    m_messages = std::move(messages);
    // A list of its own, so that the session merges its next page into its list in place instead of
    // copying every held message because the rows share it, and this merges the page into its own.
    m_messages.detach();
    m_outliers = std::move(outliers);
    m_outlierList.clear();
    m_selected = std::move(selected);
    m_selectedRow = unknownRow;
    m_faces.clear();
    endResetModel();
}

namespace {
bool sameMessage(const Message& a, const Message& b)
{
    return a.offset() == b.offset() && a.partition() == b.partition() && a.topic() == b.topic();
}
} // namespace

void MessageListModel::mergeRows(const QList<Message>& messages, std::optional<QString> selected)
{
    // The rows shown must come back in order; whatever sits between them is inserted. Ids are
    // unique in a list, so taking each shown row at its first match decides it.
    QList<std::pair<int, int>> runs; // first row in the new list, rows
    qsizetype matched = 0;
    if (messages.size() >= m_messages.size()) {
        for (qsizetype j = 0; j < messages.size(); ++j) {
            if (matched < m_messages.size() && sameMessage(m_messages.at(matched), messages.at(j))) {
                ++matched;
                continue;
            }
            if (!runs.isEmpty() && runs.last().first + runs.last().second == j)
                ++runs.last().second;
            else
                runs.append({int(j), 1});
        }
    }
    if (matched != m_messages.size()) {
        setRows(messages, m_outliers, std::move(selected));
        return;
    }
    applyRuns(messages, runs, std::move(selected));
}

void MessageListModel::insertRuns(const QList<Message>& messages, const QList<std::pair<int, int>>& runs,
                                  std::optional<QString> selected)
{
    // Trusted as far as it can be checked without a walk: the counts add up, the runs are in order,
    // and the rows beside each run are the rows shown there.
    qsizetype inserted = 0;
    qsizetype end = 0;
    bool fits = true;
    for (const auto& [first, count] : runs) {
        if (count <= 0 || first < end || first + count > messages.size()) {
            fits = false;
            break;
        }
        const qsizetype above = first - 1 - inserted; // the row shown just above the run
        const qsizetype below = first - inserted;     // and just below it
        const bool fitsAbove = first == 0 || (above >= 0 && sameMessage(messages.at(first - 1), m_messages.at(above)));
        const bool fitsBelow = first + count == messages.size()
            || (below < m_messages.size() && sameMessage(messages.at(first + count), m_messages.at(below)));
        if (!fitsAbove || !fitsBelow) {
            fits = false;
            break;
        }
        inserted += count;
        end = first + count;
    }
    if (!fits || m_settled >= 0 || m_messages.size() + inserted != messages.size()) {
        mergeRows(messages, std::move(selected));
        return;
    }
    applyRuns(messages, runs, std::move(selected));
}

void MessageListModel::applyRuns(const QList<Message>& messages, const QList<std::pair<int, int>>& runs,
                                 std::optional<QString> selected)
{
    // A page read on lands in one run (above the rows when newer, below when older): inserted in
    // place it costs what it adds. Many runs would move the rows once each: the rows are then read
    // through both lists while the runs are announced, and the new list taken whole.
    constexpr qsizetype inPlace = 8;
    if (runs.size() <= inPlace) {
        for (const auto& [first, count] : std::as_const(runs)) {
            beginInsertRows(QModelIndex(), first, first + count - 1);
            if (first == 0) {
                for (int i = count - 1; i >= 0; --i)
                    m_messages.prepend(messages.at(i));
            } else {
                m_messages.insert(first, count, messages.at(first));
                for (int i = 1; i < count; ++i)
                    m_messages[first + i] = messages.at(first + i);
            }
            if (m_selectedRow >= first)
                m_selectedRow += count;
            else if (m_selectedRow == -1)
                m_selectedRow = unknownRow; // it may be among the rows inserted
            endInsertRows();
        }
    } else {
        m_rest = std::exchange(m_messages, messages);
        m_messages.detach();
        m_restFrom = 0;
        m_settled = 0;
        for (const auto& [first, count] : std::as_const(runs)) {
            m_restFrom += first - m_settled;
            m_settled = first;
            beginInsertRows(QModelIndex(), first, first + count - 1);
            m_settled = first + count;
            endInsertRows();
        }
        m_settled = -1;
        m_rest = {};
        m_restFrom = 0;
        m_selectedRow = unknownRow;
    }
    setSelected(std::move(selected));
}

void MessageListModel::setOutliers(QSet<QString> outliers)
{
    m_outlierList.clear();
    if (outliers == m_outliers)
        return;
    m_outliers = std::move(outliers);
    if (const int rows = rowCount(); rows > 0)
        emit dataChanged(index(0), index(rows - 1), {OutlierRole});
}

void MessageListModel::followOutliers(const QList<QString>& outliers)
{
    if (outliers == m_outlierList && m_outliers.size() == outliers.size())
        return;
    // The previous list in order within the new one: the rest of the new one is added.
    qsizetype matched = 0;
    QList<QString> added;
    for (const QString& id : outliers) {
        if (matched < m_outlierList.size() && m_outlierList.at(matched) == id)
            ++matched;
        else
            added.append(id);
    }
    if (matched != m_outlierList.size() || m_outliers.size() != m_outlierList.size()) {
        setOutliers(QSet<QString>(outliers.cbegin(), outliers.cend()));
    } else {
        for (const QString& id : std::as_const(added))
            m_outliers.insert(id);
        if (!added.isEmpty() && rowCount() > 0)
            emit dataChanged(index(0), index(rowCount() - 1), {OutlierRole});
    }
    m_outlierList = outliers;
}

void MessageListModel::setSelected(std::optional<QString> selected)
{
    if (selected == m_selected)
        return;
    const int before = m_selected ? rowOf(*m_selected) : -1;
    m_selected = std::move(selected);
    m_selectedRow = unknownRow;
    const int after = m_selected ? rowOf(*m_selected) : -1;
    for (int row : {before, after}) {
        if (row >= 0)
            emit dataChanged(index(row), index(row), {SelectedRole});
    }
}

int MessageListModel::rowOf(const QString& id) const
{
    // The selected row is asked for after every page: it is kept, and moved by the rows inserted.
    const bool selected = m_selected && id == *m_selected;
    if (selected && m_selectedRow != unknownRow)
        return m_selectedRow;
    int found = -1;
    if (const std::optional<MessageAddress> address = MessageAddress::of(id)) {
        const int rows = rowCount();
        for (int row = 0; row < rows; ++row) {
            if (address->matches(messageAt(row))) {
                found = row;
                break;
            }
        }
    }
    // Not while runs are being announced: the rows are then between two lists.
    if (selected && m_settled < 0)
        m_selectedRow = found;
    return found;
}

int MessageListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_settled < 0 ? int(m_messages.size()) : m_settled + int(m_rest.size() - m_restFrom);
}

QVariant MessageListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case IdRole:
        return messageAt(row).id();
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
    const Message& message = messageAt(row);
    return QStringLiteral("p%1·%2").arg(message.partition()).arg(qint64(message.offset()));
}

QString MessageListModel::previewText(int row) const
{
    const Message& message = messageAt(row);
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
    const Message& message = messageAt(row);
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
    const Message& message = messageAt(row);
    const MessageAddress address = MessageAddress::of(message);
    if (const auto it = m_faces.constFind(address); it != m_faces.constEnd())
        return *it;
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
    return *m_faces.insert(address, std::move(face));
}

} // namespace tessaron
