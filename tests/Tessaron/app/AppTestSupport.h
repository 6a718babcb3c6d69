#pragma once

// Shared by the window tests: an application over fake clients, and ways to bring sessions into
// the states the window reacts to.

#include "Tessaron/state/AppState.h"
#include "Tessaron/workspace/ViewFactories.h"
#include "support/SessionFakes.h"

#include <QDeadlineTimer>
#include <QDialog>
#include <QTest>
#include <QWidget>

namespace tessaron::apptest {

// Bare stand-ins for every view: an empty workspace and windows, no sheet (a sheet that builds
// nothing counts as closed at once). Tests put their own views in where they look.
inline ViewFactories plainViews()
{
    ViewFactories views;
    views.workspace = [](AppState*, BrokerSession*, QWidget* parent) { return new QWidget(parent); };
    views.messageBrowser = views.workspace;
    views.groupScreen = views.workspace;
    views.actionSheet = [](const AppState::Action&, AppState*, BrokerSession*, QWidget*) -> QDialog* {
        return nullptr;
    };
    views.introduction = [](AppState*, QWidget*) -> QDialog* { return nullptr; };
    views.whatsNew = views.introduction;
    views.brokerForm = views.introduction;
    views.settings = [](AppState*, std::function<void()>) { return new QWidget; };
    views.about = [](AppState*) { return new QWidget; };
    return views;
}

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
