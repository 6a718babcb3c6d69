#include "Tessaron/kit/TopicQuip.h"

#include "TessaronCore/l10n/L10n.h"

namespace tessaron {

QString topicQuip(BrokerKind kind, const Topic& topic)
{
    // Counts are 64-bit and printed whole, however large.
    const qint64 retained = topic.retained();
    if (kind == BrokerKind::rabbitmq) {
        if (topic.isInternal)
            return L10n::t("RabbitMQ's own plumbing. Not yours to read.");
        if (topic.looksLikeDeadLetter())
            return L10n::t("Messages that failed everyone else. Somebody should look at these.");
        if (retained == 0)
            return L10n::t("Empty. Either nobody produced, or a consumer got there first.");
        if (retained == 1)
            return L10n::t("One message, waiting for someone to take it.");
        return L10n::t("%d messages waiting. First in, first out — and only once.", retained);
    }
    if (topic.isInternal)
        return L10n::t("Kafka's own bookkeeping. Read-only, and frankly none of our business.");
    if (topic.looksLikeDeadLetter())
        return L10n::t("Messages that failed everyone else. Somebody should look at these.");
    if (topic.partitions.isEmpty())
        return L10n::t("No partitions. Nothing to spread, nothing to chart.");
    if (retained == 0)
        return L10n::t("Empty — or aged out. Either way, no evidence retained.");
    if (topic.hasUnderReplicated())
        return L10n::t("Under-replicated. Living dangerously.");
    if (topic.partitions.size() == 1)
        return L10n::t("One partition. Strictly in order, strictly single-file.");
    return L10n::t("%d partitions. Order is per-partition — don't let anyone tell you otherwise.",
                   qint64(topic.partitions.size()));
}

} // namespace tessaron
