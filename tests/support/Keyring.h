#pragma once

// Whether the tests can reach a keyring: a Secret Service on the session bus, which
// scripts/services/run-with-services.sh starts. Cases that need one skip themselves without it.

#include <QtTest>

namespace tessaron::testing {

// Stores, reads back and removes a probe secret.
bool keyringReachable();

} // namespace tessaron::testing

#define REQUIRE_KEYRING()                                                                                              \
    if (!tessaron::testing::keyringReachable())                                                                        \
    QSKIP("no Secret Service on the session bus (run the tests through scripts/services/run-with-services.sh)")
