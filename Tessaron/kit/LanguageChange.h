#pragma once

#include <QObject>

#include <functional>

namespace tessaron::LanguageChange {

// Calls `redraw` after the language choice changes, once the lookup follows the new choice;
// the connection ends with `owner`.
void onChange(QObject* owner, std::function<void()> redraw);

} // namespace tessaron::LanguageChange
