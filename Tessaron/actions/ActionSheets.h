#pragma once

#include "Tessaron/state/AppState.h"

class QDialog;
class QWidget;

namespace tessaron {

class BrokerSession;

namespace ActionSheets {

// The window-modal sheet of a pending action, owned by `parent`: the produce sheet, the
// reset-offsets sheet or the Ask sheet. The caller opens it.
QDialog* make(const AppState::Action& action, AppState* app, BrokerSession* session, QWidget* parent);

} // namespace ActionSheets

} // namespace tessaron
