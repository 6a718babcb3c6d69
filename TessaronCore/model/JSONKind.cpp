#include "TessaronCore/model/JSONKind.h"

namespace tessaron {

std::optional<JSONKind> JSONKind::fromRawValue(const QString& raw)
{
    for (JSONKind kind : allCases()) {
        if (kind.rawValue() == raw)
            return kind;
    }
    return std::nullopt;
}

QList<JSONKind> JSONKind::allCases() { return {string, number, boolean, null, object, array}; }

QString JSONKind::rawValue() const
{
    switch (m_value) {
    case string:
        return QStringLiteral("string");
    case number:
        return QStringLiteral("number");
    case boolean:
        return QStringLiteral("bool");
    case null:
        return QStringLiteral("null");
    case object:
        return QStringLiteral("object");
    case array:
        return QStringLiteral("array");
    }
    return {};
}

} // namespace tessaron
