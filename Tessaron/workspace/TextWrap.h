#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace tessaron::TextWrap {

// Up to `maxLines` lines of `text` broken at spaces to fit `width` in `font`; the last line is cut
// where `elide` says when the rest does not fit. A word wider than the width is broken inside.
QStringList lines(const QString& text, const QFont& font, double width, int maxLines, Qt::TextElideMode elide);

} // namespace tessaron::TextWrap
