#include "TessaronCore/kafka/KafkaSupport.h"

#include "TessaronCore/kafka/KafkaClient.h"

#include <QLoggingCategory>
#include <QTimeZone>

namespace tessaron::kafka {

// Library chatter is for developers only: debug level, off unless the category is enabled.
Q_LOGGING_CATEGORY(lcLibrary, "tessaron.kafka", QtWarningMsg)

namespace {

void logToCategory(const rd_kafka_t* rk, int level, const char* facility, const char* text)
{
    // Failures reach callers through the operations; the library's own account is for developers.
    qCDebug(lcLibrary, "%s %d %s: %s", rd_kafka_name(rk), level, facility, text);
}

void errorToCategory(rd_kafka_t* rk, int code, const char* reason, void*)
{
    if (code == RD_KAFKA_RESP_ERR__ALL_BROKERS_DOWN) {
        if (std::atomic<bool>* flag = allBrokersDownFlag(rk))
            flag->store(true);
    }
    // Failures reach callers through the operations; this only keeps them off standard error.
    qCDebug(lcLibrary, "%s error %d: %s", rd_kafka_name(rk), code, reason);
}

} // namespace

std::atomic<bool>* allBrokersDownFlag(rd_kafka_t* rk)
{
    // Only the reader's consumer handle carries the flag as its opaque; the writer's opaque is
    // its own state, and other consumer handles have none.
    if (!rk || rd_kafka_type(rk) != RD_KAFKA_CONSUMER)
        return nullptr;
    return static_cast<std::atomic<bool>*>(rd_kafka_opaque(rk));
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

void requireAnswer(rd_kafka_t* rk, const QString& context, int32_t timeoutMs)
{
    const rd_kafka_metadata_t* metadata = nullptr;
    const rd_kafka_resp_err_t result = rd_kafka_metadata(rk, 0, nullptr, &metadata, timeoutMs);
    if (metadata)
        rd_kafka_metadata_destroy(metadata);
    if (result != RD_KAFKA_RESP_ERR_NO_ERROR)
        throw failure(result, context);
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
    return handle;
}

} // namespace tessaron::kafka
