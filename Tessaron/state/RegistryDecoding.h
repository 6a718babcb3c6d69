#pragma once

#include "TessaronCore/model/Message.h"

#include <QByteArray>
#include <QCoroTask>
#include <QString>

#include <optional>
#include <variant>

namespace tessaron {

// Decodes Confluent-framed Avro payloads through a Schema Registry. Never throws: a payload that
// cannot be decoded gives the failure's sentence.
class RegistryDecoding {
public:
    using Result = std::variant<Message::Decoded, QString>;

    virtual ~RegistryDecoding() = default;
    virtual QCoro::Task<Result> decode(QByteArray payload) = 0;
};

} // namespace tessaron
