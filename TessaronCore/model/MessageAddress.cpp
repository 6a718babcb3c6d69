#include "TessaronCore/model/MessageAddress.h"

namespace tessaron {

std::optional<MessageAddress> MessageAddress::of(const QString& id)
{
    const qsizetype offsetSlash = id.lastIndexOf(QLatin1Char('/'));
    if (offsetSlash <= 0)
        return std::nullopt;
    const qsizetype partitionSlash = id.lastIndexOf(QLatin1Char('/'), offsetSlash - 1);
    if (partitionSlash < 0)
        return std::nullopt;
    bool partitionOK = false;
    bool offsetOK = false;
    MessageAddress address;
    address.topic = id.left(partitionSlash);
    address.partition = QStringView(id).mid(partitionSlash + 1, offsetSlash - partitionSlash - 1).toInt(&partitionOK);
    address.offset = QStringView(id).mid(offsetSlash + 1).toLongLong(&offsetOK);
    // Numbers written otherwise ("07", "+7") name no message: ids are compared as text.
    if (!partitionOK || !offsetOK
        || Message(address.topic, address.partition, address.offset, {}, {}, {}, {}).id() != id)
        return std::nullopt;
    return address;
}

qsizetype MessageAddress::indexIn(const QList<Message>& messages) const
{
    for (qsizetype i = 0; i < messages.size(); ++i) {
        if (matches(messages[i]))
            return i;
    }
    return -1;
}

} // namespace tessaron
