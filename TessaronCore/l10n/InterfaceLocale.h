#pragma once

#include <QLocale>

namespace tessaron::L10n {

// The locale of the language in force (English, or Brazilian Portuguese), so numbers shown in a
// text read as that language writes them ("1,000", "1.000"), whatever the system's own locale.
QLocale interfaceLocale();

} // namespace tessaron::L10n
