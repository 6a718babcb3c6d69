#include "Tessaron/browser/QueueReadTerms.h"

#include "Tessaron/state/BrokerSession.h"

namespace tessaron {

namespace {
QueueReadTerms::Provider& provider()
{
    static QueueReadTerms::Provider installed;
    return installed;
}

// The session does not yet publish a queue's type or delivery limit: every queue reads as a
// classic one until it does.
QueueReadTerms fromSession(const BrokerSession&, const QString&) { return {}; }
} // namespace

QueueReadTerms QueueReadTerms::of(const BrokerSession& session, const QString& queue)
{
    return provider() ? provider()(session, queue) : fromSession(session, queue);
}

void QueueReadTerms::setProvider(Provider p) { provider() = std::move(p); }

} // namespace tessaron
