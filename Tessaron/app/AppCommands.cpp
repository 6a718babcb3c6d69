#include "Tessaron/app/AppCommands.h"

#include "Tessaron/app/WindowsService.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>

namespace tessaron {

AppCommands::AppCommands(AppState* app, WindowsService* windows, QObject* parent)
    : QObject(parent)
    , m_app(app)
    , m_windows(windows)
    , m_about(new QAction(this))
    , m_checkForUpdates(new QAction(this))
    , m_settings(new QAction(this))
    , m_quit(new QAction(this))
    , m_openAnother(new QAction(this))
    , m_closeBroker(new QAction(this))
    , m_refreshTopics(new QAction(this))
    , m_rereadMessages(new QAction(this))
{
    m_about->setMenuRole(QAction::AboutRole);
    m_settings->setMenuRole(QAction::PreferencesRole);
    m_settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_quit->setMenuRole(QAction::QuitRole);
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // No updater runs on Linux: the command is shown and never enabled.
    m_checkForUpdates->setEnabled(false);
    m_openAnother->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_closeBroker->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    m_refreshTopics->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    m_rereadMessages->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    // Settings and Quit work from every window of the program; the broker commands act on the main
    // window's tabs and work there only.
    for (QAction* action : {m_settings, m_quit})
        action->setShortcutContext(Qt::ApplicationShortcut);
    for (QAction* action : {m_openAnother, m_closeBroker, m_refreshTopics, m_rereadMessages})
        action->setShortcutContext(Qt::WindowShortcut);

    connect(m_about, &QAction::triggered, this, [this] {
        if (m_windows)
            m_windows->show(WindowsService::Window::about);
    });
    connect(m_settings, &QAction::triggered, this, [this] {
        if (m_windows)
            m_windows->show(WindowsService::Window::settings);
    });
    connect(m_quit, &QAction::triggered, this, [] { QCoreApplication::quit(); });
    connect(m_openAnother, &QAction::triggered, this, [this] { m_app->setShowingPicker(true); });
    connect(m_closeBroker, &QAction::triggered, this, [this] {
        if (m_app->activeSession() && m_app->selected())
            m_app->close(*m_app->selected());
    });
    connect(m_refreshTopics, &QAction::triggered, this, [this] {
        BrokerSession* session = m_app->activeSession();
        if (session && session->connection())
            startDetached(session->refreshTopics());
    });
    connect(m_rereadMessages, &QAction::triggered, this, [this] {
        BrokerSession* session = m_app->activeSession();
        // Always from the newest messages, whatever position the session last read from.
        if (session && session->currentTopic())
            startDetached(session->read(BrokerSession::Position::atTail(), Prefs::messageLimit(), false));
    });

    connect(m_app, &AppState::sessionsChanged, this, [this] { follow(m_app->activeSession()); });
    connect(m_app, &AppState::selectedChanged, this, [this] { follow(m_app->activeSession()); });
    retranslate();
    follow(m_app->activeSession());
    // A window-modal sheet blocks its window's shortcuts: every dialog carries Settings and Quit too.
    qApp->installEventFilter(this);
}

AppCommands::~AppCommands() = default;

bool AppCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        if (auto* dialog = qobject_cast<QDialog*>(watched))
            dialog->addActions({m_settings, m_quit});
    }
    return QObject::eventFilter(watched, event);
}

void AppCommands::populate(QMenuBar* bar, QWidget* window)
{
    // The application's own name heads its menu, as on every desktop; it is not translated.
    m_appMenu = bar->addMenu(QStringLiteral("Tessaron MQ"));
    m_appMenu->setObjectName(QStringLiteral("applicationMenu"));
    m_appMenu->addAction(m_about);
    m_appMenu->addAction(m_checkForUpdates);
    m_appMenu->addSeparator();
    m_appMenu->addAction(m_settings);
    m_appMenu->addSeparator();
    m_appMenu->addAction(m_quit);

    m_brokerMenu = bar->addMenu(QString());
    m_brokerMenu->setObjectName(QStringLiteral("brokerMenu"));
    m_brokerMenu->addAction(m_openAnother);
    m_brokerMenu->addAction(m_closeBroker);
    m_brokerMenu->addSeparator();
    m_brokerMenu->addAction(m_refreshTopics);
    m_brokerMenu->addAction(m_rereadMessages);

    window->addActions({m_settings, m_quit, m_openAnother, m_closeBroker, m_refreshTopics, m_rereadMessages});
    retranslate();
}

void AppCommands::retranslate()
{
    m_about->setText(L10n::t("About Tessaron MQ"));
    m_checkForUpdates->setText(L10n::t("Check for Updates…"));
    m_settings->setText(L10n::t("Settings…"));
    m_quit->setText(L10n::t("Quit Tessaron MQ"));
    m_openAnother->setText(L10n::t("Open another broker"));
    m_closeBroker->setText(L10n::t("Close this broker"));
    m_refreshTopics->setText(L10n::t("Refresh Topics"));
    m_rereadMessages->setText(L10n::t("Reread Messages"));
    // "Broker" is the same word in both languages, as in every text that names one.
    if (m_brokerMenu)
        m_brokerMenu->setTitle(QStringLiteral("Broker"));
}

void AppCommands::follow(BrokerSession* session)
{
    if (session != m_followed) {
        for (const QMetaObject::Connection& c : std::as_const(m_sessionConnections))
            disconnect(c);
        m_sessionConnections.clear();
        m_followed = session;
        if (session) {
            auto update = [this] { updateEnabling(); };
            m_sessionConnections = {
                connect(session, &BrokerSession::connectionChanged, this, update),
                connect(session, &BrokerSession::selectedTopicChanged, this, update),
                connect(session, &BrokerSession::topicsChanged, this, update),
                connect(session, &QObject::destroyed, this, update),
            };
        }
    }
    updateEnabling();
}

void AppCommands::updateEnabling()
{
    BrokerSession* session = m_app->activeSession();
    m_openAnother->setEnabled(true);
    m_closeBroker->setEnabled(session != nullptr);
    m_refreshTopics->setEnabled(session && session->connection().has_value());
    m_rereadMessages->setEnabled(session && session->currentTopic().has_value());
}

} // namespace tessaron
