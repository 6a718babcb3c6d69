#pragma once

class QWidget;

namespace tessaron {

// The browser's working state: a spinner with the reading caption, centred. The workspace's
// animated indicator can take this spot once both live in one module.
QWidget* makeWorkingIndicator(QWidget* parent = nullptr);

} // namespace tessaron
