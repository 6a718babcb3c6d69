#pragma once

#include "TessaronCore/model/Message.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>
#include <optional>

namespace tessaron {

// Finds the read messages that contain a term in their key, readable payload or headers. Nothing
// is fetched and no payload is parsed: whether a payload is searched follows from its framing and
// its UTF-8 validity alone.
namespace MessageSearch {

// Where to look; flags that combine: `Scope{Scope::key, Scope::headers}`.
class Scope {
public:
    static const Scope key;
    static const Scope payload;
    static const Scope headers;
    static const Scope everything;

    constexpr explicit Scope(qsizetype rawValue = 0)
        : m_raw(rawValue)
    { }
    constexpr Scope(std::initializer_list<Scope> scopes)
        : m_raw(0)
    {
        for (Scope s : scopes)
            m_raw |= s.m_raw;
    }

    constexpr qsizetype rawValue() const { return m_raw; }
    constexpr bool contains(Scope other) const { return (m_raw & other.m_raw) == other.m_raw; }
    constexpr Scope operator|(Scope other) const { return Scope(m_raw | other.m_raw); }

    friend constexpr bool operator==(Scope, Scope) = default;

private:
    qsizetype m_raw;
};

inline constexpr Scope Scope::key{1};
inline constexpr Scope Scope::payload{2};
inline constexpr Scope Scope::headers{4};
inline constexpr Scope Scope::everything{7};

// Where the term was found in one message; at least one place always.
struct Hit {
    QString messageID;
    bool inKey = false;
    bool inPayload = false;
    // Names of the headers whose name or value holds the term, in header order, repeats included.
    QStringList headerNames;

    friend bool operator==(const Hit&, const Hit&) = default;
};

size_t qHash(const Hit& hit, size_t seed = 0);

// The term is trimmed of spaces and tabs (never line breaks) and matched as a substring without
// regard to case. An empty trimmed term matches nothing.
std::optional<Hit> hit(const Message& message, QStringView term, Scope scope);

// The hits of the messages that have one, in message order.
QList<Hit> hits(const QList<Message>& messages, QStringView term, Scope scope);

// The messages that match, in input order. Identifiers may repeat: every message whose identifier
// belongs to a matching message is kept.
QList<Message> matching(const QList<Message>& messages, QStringView term, Scope scope);

} // namespace MessageSearch

} // namespace tessaron
