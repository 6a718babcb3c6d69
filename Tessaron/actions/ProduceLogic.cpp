#include "Tessaron/actions/ProduceLogic.h"

#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/TextRules.h"

namespace tessaron::ProduceLogic {

bool sourceIsAvro(const std::optional<Message>& source) { return source && source->payloadKind().isAvro(); }

bool sourceIsCut(const std::optional<Message>& source) { return source && source->isPayloadCut(); }

bool canFile(const Form& form, bool refused)
{
    // Only spaces and tabs are trimmed: a topic or reason of line breaks counts as filled in, and a
    // payload of one space is a payload.
    return !refused && !TextRules::trimmed(form.topic).isEmpty() && !form.payload.isEmpty()
        && !TextRules::trimmed(form.reason).isEmpty();
}

QString title(const std::optional<Message>& source)
{
    return source ? L10n::t("File a corrected copy") : L10n::t("File a message");
}

QString subtitle(const std::optional<Topic>& currentTopic)
{
    // Without a topic the docket number stays blank; the line is still the sheet's.
    const QString docket = currentTopic ? currentTopic->name.left(24).toUpper() : QString();
    return L10n::t("DOCKET %@ · A NEW ENTRY ON THE RECORD", docket);
}

Prefill prefill(const std::optional<Message>& source, const std::optional<Topic>& currentTopic)
{
    Prefill result;
    if (!source) {
        if (currentTopic)
            result.topic = currentTopic->name;
        return result;
    }
    result.topic = source->topic();
    if (source->key()) {
        if (const std::optional<QString> key = TextRules::strictUtf8(*source->key()))
            result.key = *key;
        else
            result.keyNotText = true;
    }
    // The message's own bytes, a leading byte-order mark too: a corrected copy differs only where
    // the user changes it.
    const std::optional<QByteArray> bytes = source->readablePayload();
    result.payload = bytes ? TextRules::strictUtf8(*bytes).value_or(QString()) : QString();
    return result;
}

} // namespace tessaron::ProduceLogic
