#include "TessaronCore/analysis/MessageSearch.h"

#include "TessaronCore/analysis/SearchTerm.h"

#include <QSet>

namespace tessaron::MessageSearch {

namespace {

// Only decoded Avro, JSON and text are searched: a tombstone, framed Avro not yet decoded and
// binary never are. Telling JSON from text is not needed for that, so nothing is parsed.
bool payloadMatches(const Message& message, const SearchTerm& term)
{
    const std::optional<QByteArray>& payload = message.payload();
    if (!payload)
        return false;
    if (const auto& decoded = message.decoded())
        return term.matchesUtf8(decoded->json).value_or(false);
    if (payload->size() >= 5 && payload->at(0) == 0)
        return false;
    return term.matchesUtf8(*payload).value_or(false);
}

// Whether the message has a hit at all; stops at the first place that holds the term.
bool matches(const Message& message, const SearchTerm& term, Scope scope)
{
    if (scope.contains(Scope::key) && message.key() && term.matchesUtf8(*message.key()).value_or(false))
        return true;
    if (scope.contains(Scope::payload) && payloadMatches(message, term))
        return true;
    if (scope.contains(Scope::headers)) {
        for (const Message::Header& header : message.headers()) {
            if (term.matches(header.name) || term.matchesUtf8(header.value).value_or(false))
                return true;
        }
    }
    return false;
}

// Two messages have the same identifier exactly when topic, partition and offset agree: the
// partition and offset texts hold no "/", so the identifier splits back uniquely from its end.
struct Identity {
    QString topic;
    int32_t partition;
    int64_t offset;
    friend bool operator==(const Identity&, const Identity&) = default;
};

size_t qHash(const Identity& id, size_t seed = 0) { return qHashMulti(seed, id.topic, id.partition, id.offset); }

Identity identity(const Message& m) { return Identity{m.topic(), m.partition(), m.offset()}; }

std::optional<Hit> hitFor(const Message& message, const SearchTerm& term, Scope scope)
{
    Hit h;
    if (scope.contains(Scope::key) && message.key())
        h.inKey = term.matchesUtf8(*message.key()).value_or(false);
    if (scope.contains(Scope::payload))
        h.inPayload = payloadMatches(message, term);
    if (scope.contains(Scope::headers)) {
        for (const Message::Header& header : message.headers()) {
            // A value that is not UTF-8 counts as empty text, which holds no (non-empty) term.
            if (term.matches(header.name) || term.matchesUtf8(header.value).value_or(false))
                h.headerNames.append(header.name);
        }
    }
    if (!h.inKey && !h.inPayload && h.headerNames.isEmpty())
        return std::nullopt;
    h.messageID = message.id();
    return h;
}

} // namespace

size_t qHash(const Hit& hit, size_t seed)
{
    seed = qHashMulti(seed, hit.messageID, hit.inKey, hit.inPayload, hit.headerNames.size());
    for (const QString& name : hit.headerNames)
        seed = qHash(name, seed);
    return seed;
}

std::optional<Hit> hit(const Message& message, QStringView term, Scope scope)
{
    const std::optional<SearchTerm> t = SearchTerm::prepare(term);
    if (!t)
        return std::nullopt;
    return hitFor(message, *t, scope);
}

QList<Hit> hits(const QList<Message>& messages, QStringView term, Scope scope)
{
    QList<Hit> result;
    const std::optional<SearchTerm> t = SearchTerm::prepare(term);
    if (!t)
        return result;
    for (const Message& m : messages) {
        if (std::optional<Hit> h = hitFor(m, *t, scope))
            result.append(std::move(*h));
    }
    return result;
}

QList<Message> matching(const QList<Message>& messages, QStringView term, Scope scope)
{
    QList<Message> result;
    const std::optional<SearchTerm> t = SearchTerm::prepare(term);
    if (!t)
        return result;
    std::vector<bool> hitAt(size_t(messages.size()), false);
    qsizetype hitCount = 0;
    for (qsizetype i = 0; i < messages.size(); ++i) {
        if (matches(messages[i], *t, scope)) {
            hitAt[size_t(i)] = true;
            ++hitCount;
        }
    }
    if (hitCount == 0)
        return result;
    if (hitCount == messages.size())
        return messages;
    QSet<Identity> matched;
    matched.reserve(hitCount);
    for (qsizetype i = 0; i < messages.size(); ++i) {
        if (hitAt[size_t(i)])
            matched.insert(identity(messages[i]));
    }
    result.reserve(hitCount);
    for (qsizetype i = 0; i < messages.size(); ++i) {
        // A message that did not match itself is still kept when another with its identifier did.
        if (hitAt[size_t(i)] || matched.contains(identity(messages[i])))
            result.append(messages[i]);
    }
    return result;
}

} // namespace tessaron::MessageSearch
