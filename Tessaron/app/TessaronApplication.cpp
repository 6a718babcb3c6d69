#include "Tessaron/app/TessaronApplication.h"

#include "Tessaron/app/AppCommands.h"
#include "Tessaron/app/AppStyle.h"
#include "Tessaron/app/ApplicationIcon.h"
#include "Tessaron/app/MainWindow.h"
#include "Tessaron/app/ViewSlots.h"
#include "Tessaron/app/WindowsService.h"
#include "Tessaron/intro/OnboardingView.h"
#include "Tessaron/kit/BuildInfo.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/workspace/WorkspaceView.h"
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
    ViewSlots& views = ViewSlots::installed();
    views.workspace = [](AppState* state, BrokerSession* session, QWidget* parent) -> QWidget* {
        return new WorkspaceView(state, session, parent);
    };
    views.introduction = [](AppState* state, QWidget* parent) -> QDialog* { return new OnboardingView(state, parent); };

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

TessaronApplication::TessaronApplication(std::shared_ptr<ClientFactory> clients, QObject* parent)
    : QObject(parent)
    , m_state(new AppState(std::move(clients), this))
    , m_windows(new WindowsService(m_state, this))
    , m_commands(new AppCommands(m_state, m_windows, this))
{
    // No parent: the main window is a window of its own, and it must not outlive the state.
    m_main = new MainWindow(m_state, m_commands);
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
