#include "Tessaron/kit/SecuritySentence.h"

#include "TessaronCore/l10n/L10n.h"

namespace tessaron {

QString securitySentence(const Broker& broker)
{
    if (broker.kind == BrokerKind::rabbitmq)
        return L10n::t("Charges to read. I'll warn you first.");
    if (broker.usesClientCertificate())
        return L10n::t("Wants my certificate. I brought it.");
    if (broker.security.needsCredentials())
        return L10n::t("Wants a password. It's in your keyring.");
    if (broker.security == BrokerSecurity::plaintext)
        return L10n::t("No password. Trusting. I respect that.");
    return L10n::t("Encrypted. Nobody reads over my shoulder.");
}

} // namespace tessaron
