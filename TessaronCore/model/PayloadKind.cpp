#include "TessaronCore/model/PayloadKind.h"

namespace tessaron {

QString PayloadKind::label() const
{
    switch (m_case) {
    case avroConfluent:
    case avroDecoded:
        return QStringLiteral("Avro \u00B7 schema ") + QString::number(m_schemaID);
    case tombstone:
        return QStringLiteral("tombstone");
    case json:
        return QStringLiteral("JSON");
    case text:
        return QStringLiteral("text");
    case binary:
        return QStringLiteral("binary");
    }
    return {};
}

} // namespace tessaron
