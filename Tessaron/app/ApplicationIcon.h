#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tessaron::ApplicationIcon {

// The resource the icon is drawn from.
inline const QString resource = QStringLiteral(":/tessaron/AppIcon.svg");

// The application icon, drawn from `path` (an SVG) at whatever size is asked for. A missing or
// unreadable drawing gives a null icon: the program then runs without one rather than stopping.
QIcon load(const QString& path = resource);
// One size of it, drawn at once; null when there is no drawing.
QPixmap pixmap(int size, const QString& path = resource);

} // namespace tessaron::ApplicationIcon
