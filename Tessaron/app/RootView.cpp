#include "Tessaron/app/RootView.h"

#include "Tessaron/app/SheetController.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/reception/ReceptionView.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/async/Detached.h"
#include "Tessaron/workspace/TabBar.h"
#include "VelkinUI/Brand.h"

#include <QPainter>
#include <QTimer>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <QWindow>

namespace tessaron {

RootView::RootView(AppState* app, const ViewFactories& views, QAction* openAnother, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_makeWorkspace(views.workspace)
    , m_stack(new QStackedLayout(this))
    , m_receptionPage(new QWidget(this))
    , m_workspacePage(new QWidget(this))
    , m_tabBar(new TabBar(app, openAnother, m_workspacePage))
    , m_workspaceArea(new QWidget(m_workspacePage))
    , m_workspaceLayout(new QVBoxLayout(m_workspaceArea))
    , m_sheets(new SheetController(app, views, this))
{
    setObjectName(QStringLiteral("rootView"));
    auto* receptionLayout = new QVBoxLayout(m_receptionPage);
    receptionLayout->setContentsMargins(0, 0, 0, 0);
    receptionLayout->setSpacing(0);
    // The tab bar sits directly on the workspace.
    auto* pageLayout = new QVBoxLayout(m_workspacePage);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(m_tabBar);
    pageLayout->addWidget(m_workspaceArea, 1);
    m_workspaceLayout->setContentsMargins(0, 0, 0, 0);
    m_workspaceLayout->setSpacing(0);
    m_stack->addWidget(m_receptionPage);
    m_stack->addWidget(m_workspacePage);

    connect(m_app, &AppState::sessionsChanged, this, &RootView::follow);
    connect(m_app, &AppState::selectedChanged, this, &RootView::follow);
    connect(m_app, &AppState::showingPickerChanged, this, &RootView::follow);
    follow();
}

RootView::~RootView() = default;

RootView::Content RootView::content() const
{
    return m_stack->currentWidget() == m_workspacePage ? Content::workspace : Content::reception;
}

void RootView::follow()
{
    const Content before = content();
    const bool workspace = !m_app->sessions().isEmpty() && !m_app->showingPicker();
    if (workspace) {
        rebuildWorkspace();
        m_stack->setCurrentWidget(m_workspacePage);
    } else {
        // The reception comes back as a view newly shown: its boops, chart and scroll start afresh.
        if (m_reception && before != Content::reception) {
            m_receptionPage->layout()->removeWidget(m_reception);
            m_reception->hide();
            m_reception->deleteLater();
            m_reception = nullptr;
        }
        if (!m_reception) {
            m_reception = new ReceptionView(m_app, m_receptionPage);
            m_receptionPage->layout()->addWidget(m_reception);
        }
        m_stack->setCurrentWidget(m_receptionPage);
    }
    // The backdrop quietens while sessions are open.
    update();
    if (content() != before)
        emit contentChanged();
}

void RootView::rebuildWorkspace()
{
    BrokerSession* session = m_app->activeSession();
    const QUuid id = session ? session->id() : QUuid();
    if (m_workspace && id == m_workspaceFor)
        return;
    // Every change of tab builds a fresh workspace for the other session.
    if (m_workspace) {
        m_workspaceLayout->removeWidget(m_workspace);
        m_workspace->hide();
        m_workspace->deleteLater();
    }
    m_workspace = nullptr;
    m_workspaceFor = id;
    // A selection that matches no session leaves the area empty.
    if (QWidget* view = session ? m_makeWorkspace(m_app, session, m_workspaceArea) : nullptr) {
        view->setParent(m_workspaceArea);
        m_workspace = view;
        m_workspaceLayout->addWidget(view);
        view->show();
    }
}

void RootView::retire()
{
    disconnect(m_app, nullptr, this, nullptr);
    delete m_sheets.data();
    hide();
}

void RootView::handSheetsTo(RootView* next)
{
    if (!m_sheets || !next)
        return;
    delete next->m_sheets.data();
    m_sheets->moveTo(next);
    next->m_sheets = m_sheets;
    m_sheets = nullptr;
}

void RootView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TessaronBackdrop::paintBackdrop(painter, QRectF(rect()), Brand::palette().value(2, Brand::accent()),
                                    !m_app->sessions().isEmpty());
}

void RootView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // Once, when first shown, and only after the window's first frame: a sheet is a window of its
    // own with its own backing store and effects, and the look for an AI command-line tool starts
    // processes; neither is in that frame, so neither holds it up. The window paints while its
    // expose event is handled, so the start is queued behind that event.
    QWindow* handle = window()->windowHandle();
    if (!handle || handle->isExposed())
        QTimer::singleShot(0, this, &RootView::startOnce);
    else
        handle->installEventFilter(this);
}

bool RootView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose && watched == window()->windowHandle()) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, &RootView::startOnce);
    }
    return QWidget::eventFilter(watched, event);
}

void RootView::startOnce()
{
    if (m_started)
        return;
    m_started = true;
    if (m_sheets)
        m_sheets->start();
    // The view does not wait for the look.
    startDetached(m_app->refreshAIAvailability());
}

} // namespace tessaron
