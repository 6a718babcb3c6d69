#include "TessaronCore/rabbit/RabbitAnswer.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/TextRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace tessaron {

namespace {

// Qt's JSON reader drops a U+FEFF that opens a string when it arrives as raw bytes, which would
// cut the first character off a payload or header. Written as an escape it survives; raw, those
// bytes can only stand inside strings (or open the document, where they stay as they are).
QJsonDocument parse(const QByteArray& answer, QJsonParseError* error = nullptr)
{
    static const QByteArray mark("\xEF\xBB\xBF");
    const qsizetype from = answer.startsWith(mark) ? mark.size() : 0;
    if (answer.indexOf(mark, from) < 0)
        return QJsonDocument::fromJson(answer, error);
    QByteArray escaped = answer.mid(from);
    escaped.replace(mark, QByteArrayLiteral("\\ufeff"));
    return QJsonDocument::fromJson(answer.left(from) + escaped, error);
}

// The answer's objects, or nothing when it is not an array made of objects only.
std::optional<QList<QJsonObject>> arrayOfObjects(const QByteArray& answer)
{
    QJsonParseError error;
    const QJsonDocument document = parse(answer, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QList<QJsonObject> objects;
    const QJsonArray array = document.array();
    objects.reserve(array.size());
    for (const QJsonValue& value : array) {
        if (!value.isObject())
            return std::nullopt;
        objects.append(value.toObject());
    }
    return objects;
}

std::optional<QString> text(const QJsonValue& value)
{
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

Message message(const QJsonObject& object, const QString& queue, int64_t offset)
{
    std::optional<QByteArray> key;
    if (const auto routingKey = text(object.value(QLatin1String("routing_key"))))
        key = routingKey->toUtf8();

    const QString payloadText = text(object.value(QLatin1String("payload"))).value_or(QString());
    QByteArray payload;
    if (object.value(QLatin1String("payload_encoding")).toString() == QLatin1String("base64")) {
        // Text that is not Base64 gives an empty payload, not an error.
        auto decoded = QByteArray::fromBase64Encoding(payloadText.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (decoded)
            payload = decoded.decoded;
    } else {
        payload = payloadText.toUtf8();
    }

    QList<Message::Header> headers;
    // A message without properties comes back with "properties": [], not an object.
    const QJsonObject properties = object.value(QLatin1String("properties")).toObject();
    const QJsonObject headerObject = properties.value(QLatin1String("headers")).toObject();
    for (auto it = headerObject.begin(); it != headerObject.end(); ++it)
        headers.append({it.key(), RabbitAnswer::headerText(it.value()).toUtf8()});
    if (object.value(QLatin1String("redelivered")).toBool(false))
        headers.append({QStringLiteral("redelivered"), QByteArrayLiteral("true")});

    Message result(queue, 0, offset, key, payload, std::nullopt, headers);
    // A payload the server cut (the read asks it to, past a length) keeps its real size, apart from
    // the headers, where a header of any name may be the message's own.
    if (const std::optional<int64_t> size = RabbitAnswer::integer(object.value(QLatin1String("payload_bytes")));
        size && *size > payload.size())
        result.setWholePayloadSize(*size);
    return result;
}

} // namespace

namespace {

RabbitAnswer::Queues queuesOf(const QList<QJsonObject>& objects)
{
    RabbitAnswer::Queues result;
    for (const QJsonObject& object : objects) {
        const auto name = text(object.value(QLatin1String("name")));
        if (!name)
            continue;
        // A freshly declared queue has no "messages" or "consumers" for a few seconds.
        result.consumers.insert(*name, RabbitAnswer::integer(object.value(QLatin1String("consumers"))).value_or(0));
        Topic queue;
        queue.name = *name;
        queue.isInternal = name->startsWith(QLatin1String("amq."));
        queue.declaredDepth = RabbitAnswer::integer(object.value(QLatin1String("messages"))).value_or(0);
        queue.unacknowledged = RabbitAnswer::integer(object.value(QLatin1String("messages_unacknowledged")));
        result.queues.append(queue);
    }
    std::stable_sort(result.queues.begin(), result.queues.end(),
                     [](const Topic& a, const Topic& b) { return TextRules::precedes(a.name, b.name); });
    return result;
}

} // namespace

std::optional<RabbitAnswer::Queues> RabbitAnswer::queues(const QByteArray& answer)
{
    const auto objects = arrayOfObjects(answer);
    if (!objects)
        return std::nullopt;
    return queuesOf(*objects);
}

std::optional<RabbitAnswer::QueuePage> RabbitAnswer::queuePage(const QByteArray& answer)
{
    if (const auto objects = arrayOfObjects(answer))
        return QueuePage{queuesOf(*objects), 1};
    const QJsonDocument document = parse(answer);
    const QJsonValue items = document.object().value(QLatin1String("items"));
    if (!document.isObject() || !items.isArray())
        return std::nullopt;
    QList<QJsonObject> objects;
    for (const QJsonValue& value : items.toArray()) {
        if (!value.isObject())
            return std::nullopt;
        objects.append(value.toObject());
    }
    const int64_t pages = integer(document.object().value(QLatin1String("page_count"))).value_or(1);
    return QueuePage{queuesOf(objects), std::max<int64_t>(pages, 1)};
}

QList<QueueBinding> RabbitAnswer::bindings(const QByteArray& answer)
{
    QList<QueueBinding> result;
    for (const QJsonObject& object : arrayOfObjects(answer).value_or(QList<QJsonObject>())) {
        const auto source = text(object.value(QLatin1String("source")));
        if (!source)
            continue;
        result.append({*source, text(object.value(QLatin1String("routing_key"))).value_or(QString())});
    }
    return result;
}

QList<Message> RabbitAnswer::messages(const QByteArray& answer, const QString& queue)
{
    QList<Message> result;
    int64_t offset = 0;
    for (const QJsonObject& object : arrayOfObjects(answer).value_or(QList<QJsonObject>()))
        result.append(message(object, queue, offset++));
    return result;
}

bool RabbitAnswer::routedNowhere(const QByteArray& answer)
{
    const QJsonDocument document = parse(answer);
    if (!document.isObject())
        return false;
    const QJsonValue routed = document.object().value(QLatin1String("routed"));
    return routed.isBool() && !routed.toBool();
}

bool RabbitAnswer::isArrayOfObjects(const QByteArray& answer) { return arrayOfObjects(answer).has_value(); }

bool RabbitAnswer::isPublishAnswer(const QByteArray& answer)
{
    const QJsonDocument document = parse(answer);
    return document.isObject() && document.object().value(QLatin1String("routed")).isBool();
}

QString RabbitAnswer::headerText(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        if (const auto whole = integer(value))
            return QString::number(*whole);
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Undefined:
        break;
    }
    return QString();
}

std::optional<int64_t> RabbitAnswer::integer(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    // Whole numbers that fit 64 bits are kept exactly (QJsonValue stores them as integers).
    const QVariant variant = value.toVariant();
    if (variant.typeId() == QMetaType::LongLong)
        return variant.toLongLong();
    const double d = value.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < -9.2e18 || d > 9.2e18)
        return std::nullopt;
    return static_cast<int64_t>(d);
}

QString RabbitAnswer::reason(const QByteArray& body)
{
    const QJsonValue reason = parse(body).object().value(QLatin1String("reason"));
    return reason.isString() ? excerpt(reason.toString().trimmed().toUtf8()) : QString();
}

KafkaError RabbitAnswer::statusError(int status, const QByteArray& body, const QUrl& base)
{
    if (status == 401) {
        // A wrong password says "Login failed"; anything else (a user without the management tag,
        // a virtual host the user may not use) is worth reading as the server put it.
        const QString why = reason(body);
        if (why.isEmpty() || why == QLatin1String("Login failed"))
            return KafkaError(-1, QStringLiteral("the broker refused these credentials"));
        return KafkaError(-1, QStringLiteral("the broker refused these credentials: ") + why);
    }
    if (status == 404) {
        // The management API itself answers 404 for a missing queue or virtual host and says
        // why; only an answer without such a reason points at a missing plugin or a wrong port.
        if (const QString why = reason(body); !why.isEmpty())
            return KafkaError(-1, QStringLiteral("the broker answered 404: ") + why);
        return KafkaError(
            -1,
            QStringLiteral("no management API at ") + base.toString() + QStringLiteral(" — enable the plugin with ")
                + QStringLiteral(
                    "`rabbitmq-plugins enable rabbitmq_management`, or check the port (15672 by default)"));
    }
    return KafkaError(status,
                      QStringLiteral("the broker answered ") + QString::number(status) + QStringLiteral(": ")
                          + excerpt(body));
}

bool RabbitAnswer::isNotFound(const KafkaError& error)
{
    return error.code() == -1 && error.message() == QLatin1String("the broker answered 404: Not Found");
}

QString RabbitAnswer::excerpt(const QByteArray& body, int count)
{
    const auto decoded = TextRules::strictUtf8(body);
    if (!decoded)
        return QString();
    const QString& whole = *decoded;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, whole);
    int characters = 0;
    while (characters < count && finder.toNextBoundary() != -1)
        ++characters;
    if (characters < count || finder.position() < 0)
        return whole;
    return whole.left(finder.position());
}

} // namespace tessaron
