#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// Date and time styles derived from the locale's own patterns. QLocale offers a long and a short
// form only; these give the forms in between that the views show.
namespace tessaron::MomentStyles {

// The date with the month by its short name and no weekday ("Dec 9, 2026", "9 de dez. de 2026").
QString abbreviatedDateFormat(const QLocale& locale);
// The time with seconds and no time zone ("4:20:28 PM", "16:20:28").
QString standardTimeFormat(const QLocale& locale);
// The time with hours and minutes only, whatever the locale's short form holds ("4:20 PM").
QString shortTimeFormat(const QLocale& locale);

// A moment in local time as abbreviated date and standard time, or abbreviated date and short time.
QString standard(const QDateTime& moment, const QLocale& locale);
QString shortened(const QDateTime& moment, const QLocale& locale);

} // namespace tessaron::MomentStyles
