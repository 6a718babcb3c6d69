#pragma once

#include <QDialog>
#include <QWidget>

#include <functional>

namespace tessaron {

class AppState;
class BrokerSession;

// Where views of other families plug into the window. An empty slot shows nothing: no
// placeholder stands in for a view that is not there yet.
struct ViewSlots {
    // The workspace of the active session, below the tab bar.
    std::function<QWidget*(AppState*, BrokerSession*, QWidget* parent)> workspace;
    // The first-run introduction, a sheet over the main window while not onboarded.
    std::function<QDialog*(AppState*, QWidget* parent)> introduction;
    // The notes of the running version when they have not been seen, else nullptr. Asked once
    // when the root view is first shown.
    std::function<QDialog*(AppState*, QWidget* parent)> whatsNew;
    // The contents of the settings and about windows.
    std::function<QWidget*(AppState*)> settings;
    std::function<QWidget*(AppState*)> about;

    // The slots the application fills at start; tests may fill or clear them.
    static ViewSlots& installed();
};

} // namespace tessaron
