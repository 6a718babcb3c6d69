#pragma once

#include "TessaronCore/model/JSONKind.h"

#include <QMap>
#include <QString>

namespace tessaron {

// The outline of one message body: dotted field path ("address.city") to the kind of value there.
// Values play no part; two shapes are equal when they hold the same paths with the same kinds.
// The map is kept sorted by path only so that iteration is deterministic; order carries no meaning.
class MessageShape {
public:
    explicit MessageShape(QMap<QString, JSONKind> fields)
        : m_fields(std::move(fields))
    { }

    const QMap<QString, JSONKind>& fields() const { return m_fields; }

    friend bool operator==(const MessageShape& a, const MessageShape& b) { return a.m_fields == b.m_fields; }

private:
    QMap<QString, JSONKind> m_fields;
};

size_t qHash(const MessageShape& shape, size_t seed = 0);

} // namespace tessaron
