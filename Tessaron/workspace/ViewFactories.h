#pragma once

#include "Tessaron/state/AppState.h"

#include <functional>

class QDialog;
class QWidget;

namespace tessaron {

class BrokerSession;

// Every view one family builds for another, in one place: the application fills it once at start
// (TessaronApplication::standardViews) and hands it down by constructor; tests hand down their
// own. Each factory builds a view owned by `parent` (the windows' contents have none).
struct ViewFactories {
    using Pane = std::function<QWidget*(AppState* app, BrokerSession* session, QWidget* parent)>;
    using Sheet = std::function<QDialog*(AppState* app, QWidget* parent)>;

    // The workspace of the active session, below the tab bar.
    Pane workspace;
    // In the workspace's detail pane: the message browser while no group is selected, the
    // consumer-group screen while one is.
    Pane messageBrowser;
    Pane groupScreen;
    // The window-modal sheet of an action (produce, reset offsets, ask); nullptr when the action
    // has no sheet, and it then ends as if its sheet had closed.
    std::function<QDialog*(const AppState::Action& action, AppState* app, BrokerSession* session, QWidget* parent)>
        actionSheet;
    // The first-run introduction, a sheet over the main window while not onboarded.
    Sheet introduction;
    // The notes of the running version when they have not been seen, else nullptr. Asked once
    // when the root view is first shown.
    Sheet whatsNew;
    // The broker form, over the main window while AppState has a broker under edit.
    Sheet brokerForm;
    // The contents of the settings window; its "The badge" calls `openAbout`.
    std::function<QWidget*(AppState* app, std::function<void()> openAbout)> settings;
    // The contents of the about window.
    std::function<QWidget*(AppState* app)> about;
};

} // namespace tessaron
