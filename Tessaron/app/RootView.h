#pragma once

#include "Tessaron/app/SheetController.h"
#include "Tessaron/workspace/ViewFactories.h"

#include <QPointer>
#include <QUuid>
#include <QWidget>

class QAction;
class QStackedLayout;
class QVBoxLayout;

namespace tessaron {

class AppState;
class SheetController;
class TabBar;

// The content of the main window: the backdrop, then either the tab bar over the workspace of the
// selected session (while sessions are open and the reception is not asked for) or the reception;
// over it, the sheets. Follows AppState's published fields at once.
class RootView : public QWidget {
    Q_OBJECT
public:
    enum class Content { reception, workspace };

    // `openAnother` is the menu's Ctrl+N action, which the tab bar's "+" shares. The workspace and
    // the sheets come from `views`.
    RootView(AppState* app, const ViewFactories& views, QAction* openAnother = nullptr, QWidget* parent = nullptr);
    ~RootView() override;

    Content content() const;
    TabBar* tabBar() const { return m_tabBar; }
    // The reception, built the first time it shows.
    QWidget* reception() const { return m_reception; }
    // The workspace of the active session; nullptr while none is shown.
    QWidget* workspace() const { return m_workspace; }
    SheetController* sheets() const { return m_sheets; }
    // Stops following AppState and closes the sheets without writing anything back; the view is
    // being replaced.
    void retire();
    // Gives this view's sheets, the one on screen included, to `next`, which replaces this view.
    void handSheetsTo(RootView* next);

signals:
    void contentChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startOnce();
    void follow();
    void rebuildWorkspace();

    AppState* m_app;
    ViewFactories::Pane m_makeWorkspace;
    QStackedLayout* m_stack;
    QWidget* m_receptionPage;
    QWidget* m_workspacePage;
    TabBar* m_tabBar;
    QWidget* m_workspaceArea;
    QVBoxLayout* m_workspaceLayout;
    QPointer<QWidget> m_reception;
    QPointer<QWidget> m_workspace;
    QUuid m_workspaceFor;
    QPointer<SheetController> m_sheets;
    bool m_shown = false;
    bool m_started = false;
};

} // namespace tessaron
