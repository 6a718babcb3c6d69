#pragma once

#include <QAccessible>

class QWidget;

namespace tessaron::PaintedTextAccessible {

// A widget that paints its own text reads to assistive technology as text (or a heading), named
// by its accessible name; a plain QWidget would read as a nameless container whatever its name.
// Mark it before its accessible name is set: the first query for its interface fixes the role.
void mark(QWidget* widget, QAccessible::Role role = QAccessible::StaticText);

} // namespace tessaron::PaintedTextAccessible
