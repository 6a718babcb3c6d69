#pragma once

#include <QHashFunctions>
#include <QString>

#include <cstdint>
#include <exception>

namespace tessaron {

// The error of the Kafka reader, the Kafka writer and the RabbitMQ client: the library's code
// (or an HTTP status, or the program's own -1) and a short lower-case message.
class KafkaError : public std::exception {
public:
    KafkaError(int32_t code, QString message, bool uncertain = false)
        : m_code(code)
        , m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
        , m_uncertain(uncertain)
    { }

    int32_t code() const { return m_code; }
    const QString& message() const { return m_message; }
    // The message exactly; nothing is added.
    const QString& description() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    // Transport failure, all brokers down, timed out: the session treats these as a lost connection.
    bool isTimeout() const { return m_code == -195 || m_code == -187 || m_code == -185; }
    // A write whose request went out and whose answer never came: the broker may have done it.
    bool isUncertain() const { return m_uncertain; }
    // The broker's refusal of a topic this user may not read (or write) for its ACLs.
    static constexpr int32_t topicAuthorizationFailed = 29;

    friend bool operator==(const KafkaError& a, const KafkaError& b)
    {
        return a.m_code == b.m_code && a.m_message == b.m_message;
    }

private:
    int32_t m_code;
    QString m_message;
    QByteArray m_utf8;
    bool m_uncertain = false;
};

// A fact the application knows it cannot observe (a listing, a partition) and why.
struct Unobservable {
    QString subject;
    QString reason;
    friend bool operator==(const Unobservable&, const Unobservable&) = default;
};

inline size_t qHash(const Unobservable& u, size_t seed = 0) { return qHashMulti(seed, u.subject, u.reason); }

} // namespace tessaron
