#pragma once

#include "Tessaron/state/AppState.h"
#include "Tessaron/workspace/ViewFactories.h"

#include <QPointer>
#include <QWidget>

#include <QDialog>
class QStackedWidget;

namespace tessaron {

class BrokerSession;
class LostConnectionBanner;
class SidebarDivider;
class TopicListView;

// The main window's content for the selected broker session: the lost-connection banner above a
// row of the sidebar, its divider and the detail pane, showing the group screen while a group is
// selected. It presents the sheet of the pending action, clearing the action when the sheet
// closes. It reads nothing: the session reads what its selections need, so a workspace built
// again (another tab, another language) starts no broker work of its own.
class WorkspaceView : public QWidget {
    Q_OBJECT
public:
    // The detail pane's views and the action sheets come from `views`.
    WorkspaceView(AppState* app, BrokerSession* session, const ViewFactories& views, QWidget* parent = nullptr);
    ~WorkspaceView() override;

    BrokerSession* session() const { return m_session; }
    TopicListView* sidebar() const { return m_sidebar; }
    LostConnectionBanner* banner() const { return m_banner; }
    SidebarDivider* divider() const { return m_divider; }
    QWidget* detailPane() const;
    QDialog* sheet() const { return m_sheet; }
    // What the detail pane keeps whatever the sidebar's stored width: the smallest window holds
    // the message list and the exhibit side by side.
    static constexpr int detailMinimumWidth = 530;
    int sidebarWidth() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followLostConnection();
    void followSelectedGroup();
    void followWidth();
    void presentAction();
    // The open sheet of the action, left by the workspace this one replaces.
    QDialog* openSheet(const QString& actionId) const;
    void hold(QDialog* sheet, const QString& actionId);
    void placeGrip();

    QPointer<AppState> m_app;
    QPointer<BrokerSession> m_session;
    std::function<QDialog*(const AppState::Action&, AppState*, BrokerSession*, QWidget*)> m_actionSheet;
    LostConnectionBanner* m_banner = nullptr;
    TopicListView* m_sidebar = nullptr;
    QWidget* m_line = nullptr;
    SidebarDivider* m_divider = nullptr;
    QStackedWidget* m_detail = nullptr;
    QWidget* m_browserPane = nullptr;
    QWidget* m_groupPane = nullptr;
    QPointer<QDialog> m_sheet;
    QString m_sheetId;
};

} // namespace tessaron
