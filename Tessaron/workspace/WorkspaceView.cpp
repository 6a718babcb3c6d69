#include "Tessaron/workspace/WorkspaceView.h"
#include "Tessaron/kit/FocusReturn.h"

#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/workspace/LostConnectionBanner.h"
#include "Tessaron/workspace/SidebarDivider.h"
#include "Tessaron/workspace/SidebarLogic.h"
#include "Tessaron/workspace/TopicListView.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace tessaron {

namespace {

// Tags a sheet with its action and the workspace presenting it.
const char* const sheetAction = "tessaronSheetAction";
const char* const sheetHolder = "tessaronSheetHolder";

} // namespace

WorkspaceView::WorkspaceView(AppState* app, BrokerSession* session, const ViewFactories& views, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_session(session)
    , m_actionSheet(views.actionSheet)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_banner = new LostConnectionBanner(session, session->lostConnection().value_or(QString()), this);
    column->addWidget(m_banner);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_sidebar = new TopicListView(app, session, this);
    row->addWidget(m_sidebar);
    m_line = new QWidget(this);
    m_line->setFixedWidth(1);
    m_line->setAutoFillBackground(true);
    QPalette lp = m_line->palette();
    lp.setColor(QPalette::Window, TessaronPalette::white(0.06));
    m_line->setPalette(lp);
    row->addWidget(m_line);
    m_detail = new QStackedWidget(this);
    m_browserPane = views.messageBrowser(app, session, m_detail);
    m_groupPane = views.groupScreen(app, session, m_detail);
    m_detail->addWidget(m_browserPane);
    m_detail->addWidget(m_groupPane);
    row->addWidget(m_detail, 1);
    column->addLayout(row, 1);

    // The grip lies over the line, reaching 5 points into the sidebar and the detail pane.
    m_divider = new SidebarDivider(UserDefaults::standard(), this);
    m_line->installEventFilter(this);
    m_divider->raise();

    connect(session, &BrokerSession::lostConnectionChanged, this, &WorkspaceView::followLostConnection);
    connect(session, &BrokerSession::selectedGroupChanged, this, &WorkspaceView::followSelectedGroup);
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == Sidebar::widthKey)
            followWidth();
    });
    if (app)
        connect(app, &AppState::actionChanged, this, &WorkspaceView::presentAction);

    followLostConnection();
    followSelectedGroup();
    followWidth();
    presentAction();
}

WorkspaceView::~WorkspaceView()
{
    // A sheet closing with the workspace is not the user closing it: the action stays for the
    // next workspace to present. A sheet the next workspace already holds stays open.
    if (!m_sheet)
        return;
    m_sheet->disconnect(this);
    if (m_sheet->property(sheetHolder).value<QObject*>() == this) {
        m_sheet->hide();
        m_sheet->deleteLater();
    }
}

QWidget* WorkspaceView::detailPane() const { return m_detail->currentWidget(); }

int WorkspaceView::sidebarWidth() const { return m_sidebar->width(); }

void WorkspaceView::followLostConnection()
{
    if (!m_session)
        return;
    const std::optional<QString>& reason = m_session->lostConnection();
    if (reason)
        m_banner->setReason(*reason);
    m_banner->setVisible(reason.has_value());
}

void WorkspaceView::followSelectedGroup()
{
    if (m_session)
        m_detail->setCurrentWidget(m_session->selectedGroup() ? m_groupPane : m_browserPane);
}

void WorkspaceView::followWidth()
{
    // The stored width, unless the window is too narrow to leave the detail pane its room: then
    // the sidebar gives way (down to its narrowest) while the stored width stays as it is.
    const int stored = int(std::lround(Sidebar::storedWidth(UserDefaults::standard())));
    const int room = std::max(int(Sidebar::minimumWidth), width() - detailMinimumWidth - 1);
    // Not on screen yet, the workspace has no width of its own to judge by.
    const int shown = isVisible() ? std::min(stored, room) : stored;
    if (m_sidebar->minimumWidth() == shown && m_sidebar->maximumWidth() == shown)
        return placeGrip();
    m_sidebar->setFixedWidth(shown);
    // The sidebar follows the pointer now, not at the next turn of the event loop.
    layout()->activate();
    placeGrip();
}

void WorkspaceView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    followWidth();
}

void WorkspaceView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A size given before the first show reached resizeEvent while still hidden.
    followWidth();
}

bool WorkspaceView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_line && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeGrip();
    return QWidget::eventFilter(watched, event);
}

void WorkspaceView::placeGrip()
{
    const QRect line = m_line->geometry();
    m_divider->setGeometry(line.center().x() - SidebarDivider::gripWidth / 2, line.top(), SidebarDivider::gripWidth,
                           line.height());
    m_divider->raise();
}

void WorkspaceView::presentAction()
{
    if (!m_app)
        return;
    const std::optional<AppState::Action>& action = m_app->action();
    if (m_sheet && action && action->id() == m_sheetId)
        return;
    if (m_sheet) {
        // Replaced or withdrawn: the old sheet goes without touching the action.
        QPointer<QDialog> old = m_sheet;
        m_sheet = nullptr;
        m_sheetId.clear();
        old->disconnect(this);
        old->close();
    }
    if (!action)
        return;
    // The window is rebuilt (on a language change) while the sheet is open: the new workspace
    // takes the open sheet over, with all it holds.
    if (QDialog* open = openSheet(action->id())) {
        hold(open, action->id());
        return;
    }
    // Owned by the window, so that it outlives a rebuild of the window's content.
    QDialog* sheet = m_actionSheet(*action, m_app, m_session, window());
    if (!sheet) {
        // Nothing to present: the action ends as if its sheet had closed at once.
        QPointer<AppState> app(m_app);
        const QString id = action->id();
        QTimer::singleShot(0, this, [app, id] {
            if (app && app->action() && app->action()->id() == id)
                app->setAction(std::nullopt);
        });
        return;
    }
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setProperty(sheetAction, action->id());
    hold(sheet, action->id());
    FocusReturn::track(sheet);
    sheet->open();
}

QDialog* WorkspaceView::openSheet(const QString& actionId) const
{
    for (QDialog* dialog : window()->findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (dialog->isVisible() && dialog->property(sheetAction).toString() == actionId)
            return dialog;
    }
    return nullptr;
}

void WorkspaceView::hold(QDialog* sheet, const QString& actionId)
{
    if (auto* previous = sheet->property(sheetHolder).value<QObject*>())
        sheet->disconnect(previous);
    sheet->setProperty(sheetHolder, QVariant::fromValue<QObject*>(this));
    m_sheet = sheet;
    m_sheetId = actionId;
    connect(sheet, &QDialog::finished, this, [this, sheet] {
        if (m_sheet != sheet)
            return;
        m_sheet = nullptr;
        m_sheetId.clear();
        if (m_app)
            m_app->setAction(std::nullopt);
    });
}

} // namespace tessaron
