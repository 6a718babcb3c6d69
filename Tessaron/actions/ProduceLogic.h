#pragma once

#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/Topic.h"

#include <QString>

#include <optional>

namespace tessaron {

// What the produce sheet decides, without widgets: its title and subtitle, what it prefills from
// the message being corrected, and whether it may file.
namespace ProduceLogic {

// The four texts of the form, exactly as the fields hold them.
struct Form {
    QString topic;
    QString key;
    QString payload;
    QString reason;
};

// What the sheet starts with. `keyNotText` says the source had a key that is not UTF-8 text and so
// could not be carried into the key field.
struct Prefill {
    QString topic;
    QString key;
    QString payload;
    bool keyNotText = false;
};

// A copy of an Avro message (framed or decoded) cannot be filed back.
bool sourceIsAvro(const std::optional<Message>& source);
// Nor can a copy of a payload read cut: it would file the first bytes as the whole message.
bool sourceIsCut(const std::optional<Message>& source);
// `refused`: the source is one of those above.
bool canFile(const Form& form, bool refused);
QString title(const std::optional<Message>& source);
// From the topic selected in the workspace, not the destination field.
QString subtitle(const std::optional<Topic>& currentTopic);
Prefill prefill(const std::optional<Message>& source, const std::optional<Topic>& currentTopic);

} // namespace ProduceLogic

} // namespace tessaron
