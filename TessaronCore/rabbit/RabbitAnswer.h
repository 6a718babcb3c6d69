#pragma once

#include "TessaronCore/model/KafkaError.h"
#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/QueueBinding.h"
#include "TessaronCore/model/Topic.h"

#include <QByteArray>
#include <QHash>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <optional>

namespace tessaron {

// Reads the management API's answers into the shared records. Every reader takes whatever
// bytes arrived: a missing field takes its fallback and a field of the wrong JSON type counts as
// missing, so no answer can crash the reader.
struct RabbitAnswer {
    struct Queues {
        QList<Topic> queues;
        QHash<QString, int64_t> consumers;
    };

    // One page of a paged listing, or the whole listing of a server that answers without pages.
    struct QueuePage {
        Queues queues;
        int64_t pageCount = 1;
    };

    // Absent unless the answer is a JSON array of objects. Queues come in name order.
    static std::optional<Queues> queues(const QByteArray& answer);
    // A paged answer (an object whose "items" is an array of objects) or an array of objects;
    // absent for anything else.
    static std::optional<QueuePage> queuePage(const QByteArray& answer);
    // Empty unless the answer is a JSON array of objects.
    static QList<QueueBinding> bindings(const QByteArray& answer);
    // Empty unless the answer is a JSON array of objects; offsets count from 0. A payload the server
    // cut keeps its whole size as the message's wholePayloadSize().
    static QList<Message> messages(const QByteArray& answer, const QString& queue);
    // True only when the answer is an object whose "routed" is the boolean false.
    static bool routedNowhere(const QByteArray& answer);
    // Whether the answer has the shape of the management API's lists (a JSON array of objects)
    // or of its publish answer (an object with a boolean "routed"). Anything else came from
    // something that is not the management API.
    static bool isArrayOfObjects(const QByteArray& answer);
    static bool isPublishAnswer(const QByteArray& answer);

    // A header value as text: text as is, numbers in decimal, booleans "true"/"false", null as
    // "null", arrays and objects as compact JSON.
    static QString headerText(const QJsonValue& value);
    // A JSON number that is a whole number within 64 bits.
    static std::optional<int64_t> integer(const QJsonValue& value);

    // The management API's "reason" of an error answer, trimmed; empty when there is none.
    static QString reason(const QByteArray& body);
    // The error of an answer whose status is outside 200-299.
    static KafkaError statusError(int status, const QByteArray& body, const QUrl& base);
    // Whether statusError gave the management API's bare "Not Found" (a missing queue or virtual host).
    static bool isNotFound(const KafkaError& error);
    // The first `count` user-perceived characters of the body, or empty text when it is not UTF-8.
    static QString excerpt(const QByteArray& body, int count = 200);
};

} // namespace tessaron
