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
    // A new read begins: a registry found unreachable during an earlier read is asked again.
    // Within one read it is asked once; the rest of that read's messages share its failure.
    virtual void startRead() { }
};

} // namespace tessaron
