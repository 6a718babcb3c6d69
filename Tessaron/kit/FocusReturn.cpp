#include "Tessaron/kit/FocusReturn.h"

#include <QApplication>
#include <QEvent>

namespace tessaron {

namespace {

QString keyOf(const QWidget* widget)
{
    return widget->objectName().isEmpty()
        ? QString()
        : widget->objectName() + QLatin1Char('\n') + widget->property("topic").toString();
}

bool takes(const QWidget* widget)
{
    return widget && widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus);
}

} // namespace

void FocusReturn::track(QWidget* window, QWidget* opener)
{
    if (!window)
        return;
    if (!opener)
        opener = QApplication::focusWidget();
    // The window's own controls are never where the focus goes back to.
    if (opener && (opener == window || window->isAncestorOf(opener)))
        opener = nullptr;
    if (auto* existing = window->findChild<FocusReturn*>(QString(), Qt::FindDirectChildrenOnly)) {
        existing->m_opener = remembered(opener);
        return;
    }
    new FocusReturn(window, opener);
}

FocusReturn::FocusReturn(QWidget* window, QWidget* opener)
    : QObject(window)
    , m_window(window)
    , m_opener(remembered(opener))
{
    window->installEventFilter(this);
}

FocusReturn::Opener FocusReturn::remembered(QWidget* control)
{
    Opener opener;
    if (!control)
        return opener;
    opener.control = control;
    opener.window = control->window();
    opener.key = keyOf(control);
    for (QWidget* w = control->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        opener.ancestors << w;
    return opener;
}

bool FocusReturn::eventFilter(QObject* watched, QEvent* event)
{
    // After Qt has activated the window beneath again and put back what it could; the sheet may be
    // deleted by then, so what is needed goes along.
    if (watched == m_window && event->type() == QEvent::Hide && m_opener.window) {
        QMetaObject::invokeMethod(
            m_opener.window, [opener = m_opener, closed = QPointer<QWidget>(m_window)] { giveBack(opener, closed); },
            Qt::QueuedConnection);
    }
    return false;
}

void FocusReturn::giveBack(const Opener& opener, const QWidget* closed)
{
    if (!opener.window || !opener.window->isVisible() || (closed && closed->isVisible()))
        return;
    // Another window took the focus meanwhile (the next sheet): it keeps it.
    const QWidget* focused = QApplication::focusWidget();
    if (focused && focused->window() != opener.window && focused->window() != closed)
        return;
    QWidget* target = takes(opener.control) ? opener.control.data() : replacement(opener);
    if (target && target != focused)
        target->setFocus(Qt::OtherFocusReason);
}

QWidget* FocusReturn::replacement(const Opener& opener)
{
    if (!opener.key.isEmpty()) {
        for (QWidget* candidate : opener.window->findChildren<QWidget*>()) {
            if (takes(candidate) && keyOf(candidate) == opener.key)
                return candidate;
        }
    }
    // The first control, in Tab order, inside the nearest ancestor still shown.
    for (const QPointer<QWidget>& ancestor : opener.ancestors) {
        if (!ancestor || !ancestor->isVisible())
            continue;
        if (takes(ancestor))
            return ancestor;
        for (QWidget* w = ancestor->nextInFocusChain(); w && w != ancestor; w = w->nextInFocusChain()) {
            if (ancestor->isAncestorOf(w) && takes(w))
                return w;
        }
    }
    return nullptr;
}

} // namespace tessaron
