#pragma once

#include "TessaronCore/avro/AvroSchema.h"
#include "TessaronCore/model/Message.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>

#include <QCoroTask>

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <variant>

class QNetworkAccessManager;
class QNetworkReply;

namespace tessaron {

// Fetches writer schemas from a Schema Registry and turns Confluent-framed Avro payloads into
// decoded messages. Lives on the main thread; its coroutines interleave only while a request is
// out. Schemas fetched, and identifiers the registry lacks or whose schema cannot be used, are
// kept for the life of the client; a refusing registry is asked again next time. A registry that
// could not be reached is not asked again until `forgetOutage` (a new read): every schema not yet
// known fails with the same failure meanwhile, so a read of many framed messages costs one
// time-out, not one per message. An answer that stalls or is cut short is an outage whatever its
// status, never a fact about the schema. Each request is bounded in total, not only while silent,
// and in size, and follows redirects only within the registry's own origin (the credentials
// travel along).
class SchemaRegistryClient : public QObject {
    Q_OBJECT
public:
    class Failure;
    using Result = std::variant<Message::Decoded, Failure>;

    // Nothing when the address is empty or not a URL. An empty user name sends no authorization.
    static std::unique_ptr<SchemaRegistryClient> create(const QString& url, const QString& username,
                                                        const std::optional<QString>& password, int32_t timeoutMs);
    ~SchemaRegistryClient() override;

    const QUrl& base() const { return m_base; }
    // The Base64 text sent after "Basic "; absent without a user name.
    const std::optional<QByteArray>& credentials() const { return m_credentials; }

    // The schema of `id`, from the cache or the registry. Throws Failure.
    [[nodiscard]] QCoro::Task<AvroSchema::Parsed> schema(int32_t id);
    // Never throws: the decoded message, or why it could not be decoded.
    [[nodiscard]] QCoro::Task<Result> decode(QByteArray payload);
    // The one request for `id`; used by schema() only. Throws Failure.
    [[nodiscard]] QCoro::Task<AvroSchema::Parsed> fetch(int32_t id);

    // A new read begins: a registry found unreachable earlier is asked again.
    void forgetOutage() { m_outage.reset(); }

    // The upper bound of a registry answer; a longer one fails rather than filling memory.
    static constexpr qint64 maxAnswerBytes = 1024 * 1024;

    // The address trimmed of white space and line breaks at both ends.
    static QString describe(const QString& url);

private:
    SchemaRegistryClient(QUrl base, std::optional<QByteArray> credentials, int32_t timeoutMs);

    QUrl m_base;
    std::optional<QByteArray> m_credentials;
    int32_t m_timeoutMs;
    QNetworkAccessManager* m_network;
    QHash<int32_t, AvroSchema::Parsed> m_cache;
    QHash<int32_t, std::shared_ptr<const Failure>> m_misses;
    std::shared_ptr<const Failure> m_outage;
    // Cleared on destruction, before the requests still out are aborted: their coroutines then end
    // without touching the client.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    QSet<QNetworkReply*> m_pending;
};

class SchemaRegistryClient::Failure : public std::exception {
public:
    enum class Kind { Unreachable, NotFound, BadSchema, Unexpected, NotConfigured, Unauthorized };

    static Failure unreachable(QString description) { return Failure(Kind::Unreachable, 0, 0, std::move(description)); }
    static Failure notFound(int32_t schemaID) { return Failure(Kind::NotFound, schemaID, 0, {}); }
    static Failure badSchema(int32_t schemaID, QString detail)
    {
        return Failure(Kind::BadSchema, schemaID, 0, std::move(detail));
    }
    static Failure unexpected(int status, QString text)
    {
        return Failure(Kind::Unexpected, 0, status, std::move(text));
    }
    static Failure notConfigured() { return Failure(Kind::NotConfigured, 0, 0, {}); }
    static Failure unauthorized() { return Failure(Kind::Unauthorized, 0, 0, {}); }

    Kind kind() const { return m_kind; }
    int32_t schemaID() const { return m_schemaID; }
    int status() const { return m_status; }
    const QString& text() const { return m_text; }

    // The user-facing sentence, in the language in force.
    QString message() const;
    const char* what() const noexcept override { return m_utf8.constData(); }

    friend bool operator==(const Failure& a, const Failure& b)
    {
        return a.m_kind == b.m_kind && a.m_schemaID == b.m_schemaID && a.m_status == b.m_status && a.m_text == b.m_text;
    }

private:
    Failure(Kind kind, int32_t schemaID, int status, QString text);
    Kind m_kind;
    int32_t m_schemaID;
    int m_status;
    QString m_text;
    QByteArray m_utf8;
};

} // namespace tessaron
