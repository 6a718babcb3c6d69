#include "Tessaron/browser/QueueReadTerms.h"

#include "Tessaron/state/BrokerSession.h"

namespace tessaron {

QueueReadTerms QueueReadTerms::of(const BrokerSession& session, const QString& queue)
{
    return {session.queueReadRefusal(queue), session.queueReadRaisesDeliveryCount(queue)};
}

} // namespace tessaron
