#include "Tessaron/settings/TransparentWindowChrome.h"

#include "Tessaron/kit/TessaronPalette.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace tessaron {

namespace {

// Starts a system move when a press on the window's own background reaches it unhandled.
class BackgroundDrag : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            auto* window = qobject_cast<QWidget*>(watched);
            if (window && mouse->button() == Qt::LeftButton && window->childAt(mouse->position().toPoint()) == nullptr
                && window->windowHandle()) {
                window->windowHandle()->startSystemMove();
                return true;
            }
        }
        return false;
    }
};

} // namespace

TransparentWindowChrome::TransparentWindowChrome(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(0, 0);
    schedule();
}

bool TransparentWindowChrome::event(QEvent* event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::ParentChange)
        schedule();
    return QWidget::event(event);
}

void TransparentWindowChrome::schedule()
{
    QPointer<TransparentWindowChrome> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self)
            apply(self);
    });
}

void TransparentWindowChrome::apply(QWidget* view)
{
    if (!view)
        return;
    QWidget* window = view->window();
    if (window == view)
        return; // not placed in a window yet
    QPalette p = window->palette();
    p.setColor(QPalette::Window, TessaronPalette::canvas());
    window->setPalette(p);
    window->setAutoFillBackground(true);
    if (!window->property("tessaronBackgroundDrag").toBool()) {
        window->setProperty("tessaronBackgroundDrag", true);
        window->installEventFilter(new BackgroundDrag(window));
    }
}

} // namespace tessaron
