#pragma once

#include "TessaronCore/l10n/AppLanguage.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace tessaron::RelativeTime {

// How long ago (or how far ahead) a moment is, in short units: "3 min ago", "in 2 hr", "há 3 min".
// One formatter for every view that shows an age; the clock is injectable so tests and screens
// are deterministic.
using Clock = std::function<QDateTime()>;

// Replaces the clock; an empty function brings back the system clock.
void setClock(Clock clock);
QDateTime now();

// `moment` relative to `reference`, in the given language (English unless it is Portuguese).
QString format(const QDateTime& moment, const QDateTime& reference, AppLanguage language);
// `moment` relative to now(), in the language in force.
QString sinceNow(const QDateTime& moment);

} // namespace tessaron::RelativeTime
