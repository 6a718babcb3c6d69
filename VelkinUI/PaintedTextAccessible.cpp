#include "VelkinUI/PaintedTextAccessible.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

#include <mutex>

namespace tessaron::PaintedTextAccessible {

namespace {

constexpr const char* roleProperty = "tessaronPaintedTextRole";

QAccessibleInterface* factory(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(roleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Role(role.toInt()));
}

} // namespace

void mark(QWidget* widget, QAccessible::Role role)
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(factory); });
    widget->setProperty(roleProperty, int(role));
}

} // namespace tessaron::PaintedTextAccessible
