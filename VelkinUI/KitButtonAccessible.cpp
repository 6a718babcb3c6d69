#include "VelkinUI/KitButtonAccessible.h"

#include "VelkinUI/KitButton.h"

#include <QLabel>
#include <QTextDocumentFragment>

#include <mutex>

namespace tessaron {

namespace {

QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (auto* button = qobject_cast<KitButton*>(object))
        return new KitButtonAccessible(button);
    return nullptr;
}

} // namespace

KitButtonAccessible::KitButtonAccessible(KitButton* button)
    : QAccessibleWidget(button, QAccessible::Button)
{ }

KitButton* KitButtonAccessible::button() const { return static_cast<KitButton*>(widget()); }

QAccessible::State KitButtonAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    const KitButton* b = button();
    if (b->isDown())
        s.pressed = true;
    if (b->isSelectable()) {
        s.selectable = true;
        s.checkable = true;
        s.selected = b->isSelected();
        s.checked = b->isSelected();
    }
    return s;
}

QString KitButtonAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    QString name = QAccessibleWidget::text(t);
    if (name.isEmpty())
        name = button()->text();
    if (name.isEmpty() && button()->content()) {
        // A tile whose label is a composition reads as the texts it shows, in order.
        QStringList parts;
        QList<QLabel*> labels = button()->content()->findChildren<QLabel*>();
        if (auto* own = qobject_cast<QLabel*>(button()->content()))
            labels.prepend(own);
        for (const QLabel* label : std::as_const(labels)) {
            if (!label->isVisibleTo(button()))
                continue;
            const QString shown = Qt::mightBeRichText(label->text())
                ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                : label->text();
            if (!shown.trimmed().isEmpty())
                parts << shown.simplified();
        }
        name = parts.join(QStringLiteral(", "));
    }
    return name;
}

QStringList KitButtonAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (button()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void KitButtonAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction() && button()->isEnabled())
        button()->click();
    else
        QAccessibleWidget::doAction(actionName);
}

void KitButtonAccessible::install()
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(factory); });
}

} // namespace tessaron
