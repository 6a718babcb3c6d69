#pragma once

#include "Tessaron/app/RootView.h"
#include "Tessaron/workspace/ViewFactories.h"

#include <QMainWindow>
#include <QPointer>

namespace tessaron {

class AppCommands;
class AppState;
class RootView;

// The main window "Tessaron MQ": the menu bar and the root view. A change of language builds the
// root view afresh; AppState and its sessions are untouched.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Of the content under the menu bar.
    static constexpr QSize defaultSize{1020, 660};
    static constexpr QSize minimumContentSize{820, 520};

    MainWindow(AppState* app, AppCommands* commands, const ViewFactories& views, QWidget* parent = nullptr);
    ~MainWindow() override;

    RootView* rootView() const { return m_root; }
    // Replaces the root view with a fresh one in the language in force.
    void rebuild();

signals:
    void rebuilt();

private:
    AppState* m_app;
    AppCommands* m_commands;
    ViewFactories m_views;
    QPointer<RootView> m_root;
};

} // namespace tessaron
