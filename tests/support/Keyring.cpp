#include "support/Keyring.h"

#include "VelkinInfra/keychain/Keychain.h"

namespace tessaron::testing {

bool keyringReachable()
{
    // A test run that cannot reach the keyring on purpose says so; otherwise a keyring that is
    // merely slow to wake (a loaded machine) gets a few tries before it counts as absent.
    if (qEnvironmentVariableIsSet("TESSARON_TEST_NO_KEYRING"))
        return false;
    Keychain probe(QStringLiteral("tessaron.velkin.test.probe"));
    for (int attempt = 0; attempt < 3; ++attempt) {
        const bool ok = probe.set(QStringLiteral("x"), QStringLiteral("probe"))
            && probe.get(QStringLiteral("probe")) == QStringLiteral("x");
        probe.remove(QStringLiteral("probe"));
        if (ok)
            return true;
    }
    return false;
}

} // namespace tessaron::testing
