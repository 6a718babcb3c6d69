#include "UnnamedButtons.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QWidget>

namespace tessaron {

namespace {

QString describe(const QWidget* widget, const QWidget* root)
{
    QStringList path;
    for (const QWidget* w = widget; w && w != root; w = w->parentWidget()) {
        if (!w->objectName().isEmpty())
            path.prepend(w->objectName());
    }
    return QString::fromLatin1(widget->metaObject()->className()) + QStringLiteral(" at /")
        + path.join(QLatin1Char('/'));
}

} // namespace

QStringList unnamedButtons(QWidget* root)
{
    QList<QAbstractButton*> buttons = root->findChildren<QAbstractButton*>();
    if (auto* own = qobject_cast<QAbstractButton*>(root))
        buttons.prepend(own);
    QStringList unnamed;
    for (QAbstractButton* button : std::as_const(buttons)) {
        if (button != root && !button->isVisibleTo(root))
            continue;
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(button);
        const QString name = read ? read->text(QAccessible::Name) : button->text();
        if (name.trimmed().isEmpty())
            unnamed << describe(button, root);
    }
    return unnamed;
}

} // namespace tessaron
