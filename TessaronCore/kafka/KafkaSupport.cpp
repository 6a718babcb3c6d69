#include "TessaronCore/kafka/KafkaSupport.h"

#include "TessaronCore/kafka/KafkaClient.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>
#include <optional>

namespace tessaron::kafka {

// Library chatter is for developers only: debug level, off unless the category is enabled.
Q_LOGGING_CATEGORY(lcLibrary, "tessaron.kafka", QtWarningMsg)

namespace {

void logToCategory(const rd_kafka_t* rk, int level, const char* facility, const char* text)
{
    // Failures reach callers through the operations; the library's own account is for developers.
    qCDebug(lcLibrary, "%s %d %s: %s", rd_kafka_name(rk), level, facility, text);
}

bool isConnectionFailure(int code)
{
    return code == RD_KAFKA_RESP_ERR__TRANSPORT || code == RD_KAFKA_RESP_ERR__RESOLVE
        || code == RD_KAFKA_RESP_ERR__AUTHENTICATION || code == RD_KAFKA_RESP_ERR__SSL;
}

void errorToCategory(rd_kafka_t* rk, int code, const char* reason, void*)
{
    if (ConnectionNotes* notes = connectionNotes(rk)) {
        if (code == RD_KAFKA_RESP_ERR__ALL_BROKERS_DOWN)
            notes->noteAllBrokersDown();
        else if (isConnectionFailure(code))
            notes->noteFailure(code, reason);
    }
    // Failures reach callers through the operations; this only keeps them off standard error.
    qCDebug(lcLibrary, "%s error %d: %s", rd_kafka_name(rk), code, reason);
}

} // namespace

void ConnectionNotes::noteFailure(int32_t code, const char* text)
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_failure.code = code;
    m_failure.text = QString::fromUtf8(text ? text : "");
    ++m_failure.count;
    // "127.0.0.1:9092/1: Connect to … failed": the library names the broker before the account.
    const qsizetype colon = m_failure.text.indexOf(QStringLiteral(": "));
    m_failing.insert(colon > 0 ? m_failure.text.left(colon) : QString());
}

bool ConnectionNotes::allBrokersDown() const
{
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_libraryAllDown || (!m_failing.isEmpty() && m_failing.size() >= m_known);
}

void ConnectionNotes::noteAllBrokersDown()
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_libraryAllDown = true;
}

void ConnectionNotes::answered(int brokers)
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_libraryAllDown = false;
    m_failing.clear();
    if (brokers > 0)
        m_known = brokers;
}

void ConnectionNotes::setKnownBrokers(int brokers)
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_known = std::max(brokers, 1);
}

ConnectionNotes::Failure ConnectionNotes::lastFailure() const
{
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_failure;
}

ConnectionNotes* connectionNotes(rd_kafka_t* rk)
{
    // Only the reader's consumer handle carries notes as its opaque; the writer's opaque is its
    // own state, and other consumer handles have none.
    if (!rk || rd_kafka_type(rk) != RD_KAFKA_CONSUMER)
        return nullptr;
    return static_cast<ConnectionNotes*>(rd_kafka_opaque(rk));
}

QString connectionCause(int32_t code, const QString& report)
{
    // "sasl_plaintext://host:9093/bootstrap: SASL authentication error: … (after 301ms in state
    // AUTH_REQ, 1 identical error(s) suppressed)": the broker's name and the timing say nothing
    // the user can act on.
    QString detail = report;
    QString address;
    const qsizetype colon = detail.indexOf(QStringLiteral(": "));
    if (colon > 0 && !detail.left(colon).contains(QLatin1Char(' '))) {
        address = detail.left(colon);
        detail = detail.mid(colon + 2);
    }
    // "127.0.0.1:9092/1: ApiVersionRequest failed: Local: Timed out: probably due to broker version <
    // 0.10 (see api.version.request configuration)": the connection was taken and its first request
    // never answered, the way a broker that hangs behaves; its version has nothing to do with it.
    if (detail.contains(QStringLiteral("probably due to broker version"))) {
        address.remove(QRegularExpression(QStringLiteral("^[a-z_]+://")));
        address.remove(QRegularExpression(QStringLiteral("/[^/]*$")));
        return address.isEmpty()
            ? QStringLiteral("the broker did not answer in time")
            : QStringLiteral("the broker at ") + address + QStringLiteral(" did not answer in time");
    }
    static const QRegularExpression timing(QStringLiteral("\\s*\\(after \\d+ms in state .*\\)\\s*$"));
    detail.remove(timing);
    detail = detail.trimmed();
    if (code == RD_KAFKA_RESP_ERR__AUTHENTICATION) {
        detail.remove(QRegularExpression(QStringLiteral("^SASL authentication error: ")));
        if (detail.contains(QStringLiteral("Authentication failed"), Qt::CaseInsensitive))
            return QStringLiteral("the broker refused the user name or password (") + detail + QLatin1Char(')');
        return QStringLiteral("signing in failed (") + detail + QLatin1Char(')');
    }
    if (code == RD_KAFKA_RESP_ERR__SSL) {
        if (detail.contains(QStringLiteral("certificate verify failed"), Qt::CaseInsensitive))
            return QStringLiteral("the broker's certificate is not trusted: no certificate authority given for this "
                                  "broker vouches for it (certificate verify failed)");
        detail.remove(QRegularExpression(QStringLiteral("error:[0-9A-Fa-f]+:[^:]*::?")));
        return QStringLiteral("the TLS handshake failed (") + detail + QLatin1Char(')');
    }
    if (detail.contains(QStringLiteral("Connection refused"), Qt::CaseInsensitive))
        return QStringLiteral("nothing accepts connections at that address (") + detail + QLatin1Char(')');
    return detail.isEmpty() ? libraryText(code) : detail;
}

QString libraryText(int32_t code)
{
    return QString::fromUtf8(rd_kafka_err2str(static_cast<rd_kafka_resp_err_t>(code)));
}

KafkaError failure(int32_t code, const QString& context)
{
    return KafkaError(code, context + QStringLiteral(": ") + libraryText(code));
}

int64_t momentMs(const QDateTime& moment) { return moment.toMSecsSinceEpoch(); }

QString momentText(const QDateTime& moment)
{
    return moment.toTimeZone(QTimeZone::utc()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        + QStringLiteral(" +0000");
}

OwnedMetadata awaitMetadata(rd_kafka_t* rk, bool allTopics, int32_t timeoutMs, const QString& context)
{
    // While no broker can take the request, the library waits out each slice and answers with a
    // transport failure without sending anything; between slices the handle's reports are served.
    constexpr qint64 sliceMs = 250;
    // A name with several addresses is refused on one and tried on the next a slice later.
    constexpr qint64 refusalGraceMs = 1000;
    ConnectionNotes* notes = connectionNotes(rk);
    QElapsedTimer clock;
    clock.start();
    quint64 before = 0;
    if (notes) {
        // What was reported before this request says nothing about it.
        rd_kafka_poll(rk, 0);
        before = notes->lastFailure().count;
    }
    bool sliced = notes != nullptr;
    rd_kafka_resp_err_t result = RD_KAFKA_RESP_ERR__TIMED_OUT;
    std::optional<ConnectionNotes::Failure> cause;
    for (qint64 left = timeoutMs; left > 0; left = timeoutMs - clock.elapsed()) {
        const rd_kafka_metadata_t* raw = nullptr;
        result = rd_kafka_metadata(rk, allTopics ? 1 : 0, nullptr, &raw,
                                   static_cast<int>(sliced ? std::min(left, sliceMs) : left));
        OwnedMetadata metadata(raw);
        if (result == RD_KAFKA_RESP_ERR_NO_ERROR && metadata) {
            if (notes)
                notes->answered(metadata->broker_cnt);
            return metadata;
        }
        if (result == RD_KAFKA_RESP_ERR_NO_ERROR)
            result = RD_KAFKA_RESP_ERR__FAIL;
        if (!sliced || (result != RD_KAFKA_RESP_ERR__TRANSPORT && result != RD_KAFKA_RESP_ERR__TIMED_OUT))
            break;
        if (result == RD_KAFKA_RESP_ERR__TIMED_OUT) {
            // A broker took the request and is slow to answer: wait for it, not for a new one.
            sliced = false;
            cause.reset();
            continue;
        }
        rd_kafka_poll(rk, 0);
        const ConnectionNotes::Failure last = notes->lastFailure();
        if (last.count == before)
            continue;
        cause = last;
        const bool definite = last.code == RD_KAFKA_RESP_ERR__AUTHENTICATION || last.code == RD_KAFKA_RESP_ERR__SSL;
        if (notes->allBrokersDown() && (definite || clock.elapsed() >= refusalGraceMs))
            break;
    }
    if (cause)
        throw KafkaError(result, context + QStringLiteral(": ") + connectionCause(cause->code, cause->text));
    // The whole time went by without an answer, whether the request waited at a broker or for a
    // connection to take it: a broker that stopped answering.
    if (result == RD_KAFKA_RESP_ERR__TIMED_OUT
        || (result == RD_KAFKA_RESP_ERR__TRANSPORT && clock.elapsed() >= timeoutMs))
        throw unanswered(rk, context, timeoutMs);
    throw failure(result, context);
}

KafkaError unanswered(rd_kafka_t* rk, const QString& context, int32_t timeoutMs)
{
    char servers[1024] = {};
    size_t size = sizeof servers;
    const rd_kafka_conf_t* conf = rk ? rd_kafka_conf(rk) : nullptr;
    QString address;
    if (conf && rd_kafka_conf_get(conf, "bootstrap.servers", servers, &size) == RD_KAFKA_CONF_OK)
        address = QString::fromUtf8(servers);
    const QString seconds = QString::number((timeoutMs + 999) / 1000);
    return KafkaError(RD_KAFKA_RESP_ERR__TIMED_OUT,
                      context + QStringLiteral(": the broker")
                          + (address.isEmpty() ? QString() : QStringLiteral(" at ") + address)
                          + QStringLiteral(" did not answer within ") + seconds + QStringLiteral(" s"));
}

void requireAnswer(rd_kafka_t* rk, const QString& context, int32_t timeoutMs)
{
    awaitMetadata(rk, false, timeoutMs, context);
}

rd_kafka_t* createHandle(rd_kafka_type_t type, const KafkaPairs& pairs,
                         void (*deliveryReport)(rd_kafka_t*, const rd_kafka_message_t*, void*), void* opaque)
{
    rd_kafka_conf_t* conf = rd_kafka_conf_new();
    if (!conf)
        throw KafkaError(-1, QStringLiteral("could not allocate a Kafka configuration"));
    char buffer[512] = {};
    for (const auto& [key, value] : pairs) {
        const rd_kafka_conf_res_t result =
            rd_kafka_conf_set(conf, key.toUtf8().constData(), value.toUtf8().constData(), buffer, sizeof buffer);
        if (result != RD_KAFKA_CONF_OK) {
            rd_kafka_conf_destroy(conf);
            throw KafkaError(result, key + QStringLiteral(": ") + KafkaClient::errorBufferText(buffer, sizeof buffer));
        }
    }
    rd_kafka_conf_set_log_cb(conf, logToCategory);
    rd_kafka_conf_set_error_cb(conf, errorToCategory);
    if (deliveryReport)
        rd_kafka_conf_set_dr_msg_cb(conf, deliveryReport);
    if (opaque)
        rd_kafka_conf_set_opaque(conf, opaque);
    rd_kafka_t* handle = rd_kafka_new(type, conf, buffer, sizeof buffer);
    if (!handle) {
        rd_kafka_conf_destroy(conf);
        throw KafkaError(-1, KafkaClient::errorBufferText(buffer, sizeof buffer));
    }
    if (ConnectionNotes* notes = connectionNotes(handle)) {
        for (const auto& [key, value] : pairs)
            if (key == QLatin1String("bootstrap.servers"))
                notes->setKnownBrokers(int(value.split(QLatin1Char(','), Qt::SkipEmptyParts).size()));
    }
    return handle;
}

} // namespace tessaron::kafka
