#include "support/Keyring.h"

#include "VelkinInfra/keychain/Keychain.h"

namespace tessaron::testing {

bool keyringReachable()
{
    Keychain probe(QStringLiteral("tessaron.velkin.test.probe"));
    const bool ok = probe.set(QStringLiteral("x"), QStringLiteral("probe"))
        && probe.get(QStringLiteral("probe")) == QStringLiteral("x");
    probe.remove(QStringLiteral("probe"));
    return ok;
}

} // namespace tessaron::testing
