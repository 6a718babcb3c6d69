#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace tessaron {

class AppState;
class BrokerSession;
class WindowsService;

// The menu commands of the main window and their enabling rules. One QAction per shortcut: the
// tab bar's "+" triggers the same "Open another broker" action, so Ctrl+N fires once.
class AppCommands : public QObject {
    Q_OBJECT
public:
    AppCommands(AppState* app, WindowsService* windows, QObject* parent = nullptr);
    ~AppCommands() override;

    QAction* about() const { return m_about; }
    QAction* checkForUpdates() const { return m_checkForUpdates; }
    QAction* settings() const { return m_settings; }
    QAction* quit() const { return m_quit; }
    QAction* openAnother() const { return m_openAnother; }
    QAction* closeBroker() const { return m_closeBroker; }
    QAction* refreshTopics() const { return m_refreshTopics; }
    QAction* rereadMessages() const { return m_rereadMessages; }

    // Fills a menu bar with the application and "Broker" menus; `window` gets the actions too, so
    // their shortcuts work wherever the focus is inside it.
    void populate(QMenuBar* bar, QWidget* window);
    // Every text again in the language in force.
    void retranslate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(BrokerSession* session);
    void updateEnabling();

    AppState* m_app;
    WindowsService* m_windows;
    QAction* m_about;
    QAction* m_checkForUpdates;
    QAction* m_settings;
    QAction* m_quit;
    QAction* m_openAnother;
    QAction* m_closeBroker;
    QAction* m_refreshTopics;
    QAction* m_rereadMessages;
    QPointer<QMenu> m_appMenu;
    QPointer<QMenu> m_brokerMenu;
    QPointer<BrokerSession> m_followed;
    QList<QMetaObject::Connection> m_sessionConnections;
};

} // namespace tessaron
