#pragma once

#include <QStringList>

class QWidget;

namespace tessaron {

// The visible buttons under `root` that assistive technology would read without a name: no text,
// no accessible name, nothing shown on a tile. Each is described by its class and the object names
// on its way up to `root`.
QStringList unnamedButtons(QWidget* root);

} // namespace tessaron
