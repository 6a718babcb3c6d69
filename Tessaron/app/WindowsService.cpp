#include "Tessaron/app/WindowsService.h"

#include "TessaronCore/l10n/L10n.h"

#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include <mutex>

namespace tessaron {

namespace {

const char* const secondaryWindow = "tessaronSecondaryWindow";

// A plain widget window reads to assistive technology as a nameless pane: these read as windows,
// named by their title in the interface's language.
QAccessibleInterface* secondaryWindowAccessible(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWindow() || !widget->property(secondaryWindow).toBool())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

void entitle(WindowsService::Window which, QWidget* window)
{
    const QString title =
        which == WindowsService::Window::settings ? L10n::t("Settings") : L10n::t("About Tessaron MQ");
    window->setWindowTitle(title);
    window->setAccessibleName(title);
}

} // namespace

WindowsService::WindowsService(AppState* app, const ViewFactories& views, QObject* parent)
    : QObject(parent)
    , m_app(app)
    , m_views(views)
{ }

WindowsService::~WindowsService()
{
    delete m_settings.data();
    delete m_about.data();
}

QPointer<QWidget>& WindowsService::slot(Window which) { return which == Window::settings ? m_settings : m_about; }

QWidget* WindowsService::window(Window which) const { return which == Window::settings ? m_settings : m_about; }

QWidget* WindowsService::makeView(Window which)
{
    if (which == Window::about)
        return m_views.about(m_app);
    QPointer<WindowsService> self(this);
    return m_views.settings(m_app, [self] {
        if (self)
            self->show(Window::about);
    });
}

void WindowsService::fill(Window which, QWidget* window)
{
    entitle(which, window);
    auto* layout = static_cast<QVBoxLayout*>(window->layout());
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    layout->addWidget(makeView(which));
}

void WindowsService::show(Window which)
{
    QPointer<QWidget>& open = slot(which);
    if (!open) {
        QWidget* view = makeView(which);
        // No parent: the window stands on its own and keeps the process alive while it is open.
        static std::once_flag installed;
        std::call_once(installed, [] { QAccessible::installFactory(secondaryWindowAccessible); });
        auto* window = new QWidget(nullptr, Qt::Window);
        window->setProperty(secondaryWindow, true);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setObjectName(which == Window::settings ? QStringLiteral("settingsWindow")
                                                        : QStringLiteral("aboutWindow"));
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
        entitle(which, window);
        // Escape and Ctrl+W close a secondary window, as they close a sheet.
        for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            auto* shortcut = new QShortcut(keys, window);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, window, &QWidget::close);
        }
        open = window;
        if (which == Window::settings) {
            // At its ideal size, not the part of the screen Qt would otherwise allow a new window,
            // which would leave the section bodies below the fold.
            window->resize(view->sizeHint().expandedTo(view->minimumSize()));
        } else {
            // Sized by its content only, and first shown in the middle of the screen.
            layout->setSizeConstraint(QLayout::SetFixedSize);
            window->adjustSize();
            if (QScreen* screen = QGuiApplication::primaryScreen())
                window->move(screen->availableGeometry().center() - window->rect().center());
        }
    }
    open->show();
    open->raise();
    open->activateWindow();
}

void WindowsService::rebuild()
{
    for (Window which : {Window::settings, Window::about}) {
        if (QWidget* open = slot(which))
            fill(which, open);
    }
}

} // namespace tessaron
