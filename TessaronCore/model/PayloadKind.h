#pragma once

#include <QHashFunctions>
#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron {

// How a message payload reads. The two Avro cases carry the schema identifier of the frame;
// equality compares the case and, for those two, the identifier.
class PayloadKind {
public:
    enum Case { avroConfluent, avroDecoded, tombstone, json, text, binary };

    // The cases without payload convert implicitly: `PayloadKind k = PayloadKind::json;`.
    constexpr PayloadKind(Case c)
        : m_case(c)
    { }
    // The Avro cases: `PayloadKind(PayloadKind::avroConfluent, 42)`.
    constexpr PayloadKind(Case c, int32_t schemaID)
        : m_case(c)
        , m_schemaID(schemaID)
    { }

    Case tag() const { return m_case; }
    bool isAvro() const { return m_case == avroConfluent || m_case == avroDecoded; }
    // The frame's schema identifier; absent for the cases without one.
    std::optional<int32_t> schemaID() const { return isAvro() ? std::optional<int32_t>(m_schemaID) : std::nullopt; }

    QString label() const;

    friend bool operator==(const PayloadKind& a, const PayloadKind& b)
    {
        return a.m_case == b.m_case && (!a.isAvro() || a.m_schemaID == b.m_schemaID);
    }

private:
    Case m_case;
    int32_t m_schemaID = 0;
};

inline size_t qHash(const PayloadKind& kind, size_t seed = 0)
{
    return qHashMulti(seed, int(kind.tag()), kind.schemaID().value_or(0));
}

} // namespace tessaron
