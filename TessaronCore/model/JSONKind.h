#pragma once

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <optional>

namespace tessaron {

// The kind of JSON value found at one field path of a message shape.
// `bool` is a C++ keyword, so that case is spelled `boolean`; its raw value stays "bool".
class JSONKind {
public:
    enum Value { string, number, boolean, null, object, array };

    // Containers need a default; it has no meaning of its own.
    constexpr JSONKind()
        : m_value(null)
    { }
    constexpr JSONKind(Value value)
        : m_value(value)
    { }
    constexpr operator Value() const { return m_value; }

    // Exactly the six raw texts; anything else (other capitalisation included) gives nothing.
    static std::optional<JSONKind> fromRawValue(const QString& raw);
    static QList<JSONKind> allCases();

    QString rawValue() const;
    QString label() const { return rawValue(); }

private:
    Value m_value;
};

inline size_t qHash(JSONKind kind, size_t seed = 0) { return ::qHash(kind.rawValue(), seed); }

} // namespace tessaron
