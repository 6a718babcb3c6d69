#pragma once

#include "Tessaron/app/MainWindow.h"
#include "Tessaron/state/ClientFactory.h"
#include "Tessaron/workspace/ViewFactories.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QApplication;

namespace tessaron {

class AppCommands;
class AppState;
class WindowsService;

// The application object: the one AppState, the menu commands, the windows service and the main
// window. A change of the language preference rebuilds every open window's contents at once. It is
// the composition root: the views every window builds come from the ViewFactories it is given.
class TessaronApplication : public QObject {
    Q_OBJECT
public:
    // Process-wide set-up, once, before any window: names and desktop entry, the application
    // style, the brand and the icon.
    static void prepare(QApplication& app);

    // Every family's real views.
    static ViewFactories standardViews();

    explicit TessaronApplication(std::shared_ptr<ClientFactory> clients = ClientFactory::live(),
                                 const ViewFactories& views = standardViews(), QObject* parent = nullptr);
    ~TessaronApplication() override;

    AppState* state() const { return m_state; }
    AppCommands* commands() const { return m_commands; }
    WindowsService* windows() const { return m_windows; }
    MainWindow* mainWindow() const { return m_main; }

    // Rebuilds the windows in the language in force (also done on its own after a change of the
    // language preference).
    void relocalize();

private:
    AppState* m_state;
    WindowsService* m_windows;
    AppCommands* m_commands;
    QPointer<MainWindow> m_main;
    bool m_relocalizeQueued = false;
};

} // namespace tessaron
