#include "Tessaron/app/TessaronApplication.h"

#include "Tessaron/app/AppCommands.h"
#include "Tessaron/app/AppStyle.h"
#include "Tessaron/app/ApplicationIcon.h"
#include "Tessaron/app/MainWindow.h"
#include "Tessaron/app/WindowsService.h"
#include "Tessaron/actions/ActionSheets.h"
#include "Tessaron/browser/MessageListView.h"
#include "Tessaron/casework/ConsumerGroupView.h"
#include "Tessaron/intro/OnboardingView.h"
#include "Tessaron/kit/BuildInfo.h"
#include "Tessaron/reception/BrokerFormSheet.h"
#include "Tessaron/settings/AboutView.h"
#include "Tessaron/settings/SettingsView.h"
#include "Tessaron/settings/WhatsNewEntry.h"
#include "Tessaron/settings/WhatsNewView.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/workspace/WorkspaceView.h"
#include "TessaronCore/prefs/Prefs.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinKit/VelkinKit.h"
#include "VelkinUI/KitConfigurator.h"

#include <QApplication>
#include <QTimer>

namespace tessaron {

void TessaronApplication::prepare(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("tessaron-mq"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaron MQ"));
    QApplication::setApplicationVersion(BuildInfo::version());
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSARON_DESKTOP_FILE_NAME));
    // Closing the last window ends the process; an open settings or about window keeps it.
    QApplication::setQuitOnLastWindowClosed(true);
    // The desktop's own file dialogs would bring light chrome into a dark program; Qt's own take
    // the application style.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The brand first: the style's accent comes from it. One icon serves as the logo and the
    // windows' icon, each size drawn when first shown.
    const QIcon icon = ApplicationIcon::load();
    installBrandAsKitConfigurator();
    VelkinKit::configure(QStringLiteral("tessaron"), icon.isNull() ? QVariant() : QVariant(icon),
                         QStringLiteral("tray.full.fill"), QStringLiteral("sunset"));

    AppStyle::install(app);
    if (!icon.isNull())
        QApplication::setWindowIcon(icon);
}

ViewFactories TessaronApplication::standardViews()
{
    ViewFactories views;
    views.messageBrowser = [](AppState* app, BrokerSession* session, QWidget* parent) -> QWidget* {
        return new MessageListView(app, session, parent);
    };
    views.groupScreen = [](AppState* app, BrokerSession* session, QWidget* parent) -> QWidget* {
        return new ConsumerGroupView(app, session, parent);
    };
    views.actionSheet = ActionSheets::make;
    // The workspace hosts the panes and sheets above.
    views.workspace = [panes = views](AppState* app, BrokerSession* session, QWidget* parent) -> QWidget* {
        return new WorkspaceView(app, session, panes, parent);
    };
    views.introduction = [](AppState* app, QWidget* parent) -> QDialog* { return new OnboardingView(app, parent); };
    views.whatsNew = [](AppState*, QWidget* parent) -> QDialog* {
        const bool onboarded = UserDefaults::standard().boolean(Prefs::onboarded).value_or(false);
        const std::optional<WhatsNewEntry> entry = WhatsNewEntry::unseen(onboarded);
        return entry ? new WhatsNewView(*entry, parent) : nullptr;
    };
    views.brokerForm = [](AppState* app, QWidget* parent) -> QDialog* { return new BrokerFormSheet(app, parent); };
    views.settings = [](AppState* app, std::function<void()> openAbout) -> QWidget* {
        auto* view = new SettingsView(app);
        QObject::connect(view, &SettingsView::aboutRequested, view, std::move(openAbout));
        return view;
    };
    views.about = [](AppState* app) -> QWidget* { return new AboutView(app); };
    return views;
}

TessaronApplication::TessaronApplication(std::shared_ptr<ClientFactory> clients, const ViewFactories& views,
                                         QObject* parent)
    : QObject(parent)
    , m_state(new AppState(std::move(clients), this))
    , m_windows(new WindowsService(m_state, views, this))
    , m_commands(new AppCommands(m_state, m_windows, this))
{
    // No parent: the main window is a window of its own, and it must not outlive the state.
    m_main = new MainWindow(m_state, m_commands, views);
    m_main->setAttribute(Qt::WA_DeleteOnClose, false);

    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key != L10n::key || m_relocalizeQueued)
            return;
        // After the lookup has followed the change, and outside the handler that made it.
        m_relocalizeQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_relocalizeQueued = false;
            relocalize();
        });
    });
}

TessaronApplication::~TessaronApplication()
{
    // Every window goes before the state its views draw.
    delete m_main.data();
    delete m_windows;
    delete m_commands;
    delete m_state;
}

void TessaronApplication::relocalize()
{
    m_commands->retranslate();
    if (m_main)
        m_main->rebuild();
    m_windows->rebuild();
}

} // namespace tessaron
