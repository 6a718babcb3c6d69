#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QVariant>

namespace tessaron::L10nFormat {

// Fills a format text with its arguments, left to right:
//   %d %i %ld %lld (and %u %lu %llu): the next argument as a whole 64-bit number;
//   %@: the next argument as text;  %%: a percent sign.
// Anything else after a % is copied as it stands, and a placeholder without an argument stays
// in the text, so translated texts can never misread memory the way printf would.
QString apply(QStringView format, const QList<QVariant>& args);

} // namespace tessaron::L10nFormat
