#pragma once

// Shared by the window tests: an application over fake clients, and ways to bring sessions into
// the states the window reacts to.

#include "Tessaron/state/AppState.h"
#include "support/SessionFakes.h"

#include <QDeadlineTimer>
#include <QTest>

namespace tessaron::apptest {

inline Topic orders() { return fakes::topic(QStringLiteral("orders"), {{0, 5}}); }

// Opens a broker and waits until its session has connected (or failed) and listed its topics.
inline BrokerSession* openSettled(AppState& app, const Broker& broker)
{
    app.open(broker);
    BrokerSession* session = app.activeSession();
    if (!session)
        return nullptr;
    QDeadlineTimer deadline(5000);
    while (session->isConnecting() && !deadline.hasExpired())
        QTest::qWait(5);
    return session->isConnecting() ? nullptr : session;
}

} // namespace tessaron::apptest
