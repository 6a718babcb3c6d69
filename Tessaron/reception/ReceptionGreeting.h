#pragma once

#include <QDateTime>
#include <QString>

namespace tessaron::ReceptionGreeting {

// The mascot's greeting for the hour of `moment` in local time; the night one names the time.
QString greetingForHour(const QDateTime& moment);
// The line in the speech bubble after `boops` boops (the greeting before the first).
QString boopReaction(int boops, const QDateTime& moment);

} // namespace tessaron::ReceptionGreeting
