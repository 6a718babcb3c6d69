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

// The main of a test that may use the keyring: outside the services' private session bus no test
// may reach the user's own keyring, so the bus then points nowhere.
#define TESSARON_KEYRING_TEST_MAIN(Application, TestObject)                                                            \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        if (qEnvironmentVariableIsEmpty("TESSARON_SERVICES_DIR"))                                                      \
            qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");                                         \
        Application app(argc, argv);                                                                                   \
        TestObject test;                                                                                               \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
