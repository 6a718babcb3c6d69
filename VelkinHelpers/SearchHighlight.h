#pragma once

#include "VelkinHelpers/AttributedText.h"

#include <QString>

namespace tessaron::SearchHighlight {

// `text` as runs, every occurrence of `query` (trimmed of blanks and tabs, compared with full case
// folding, so "STRASSE" marks "Straße") marked with the accent behind white letters. The runs join back to `text`.
AttributedText attributed(const QString& text, const QString& query);

// A duration in seconds for display: "<1ms", "2.5ms", "250ms", "1.50s". Always "." as the decimal
// mark, whatever the locale.
QString elapsed(double seconds);

} // namespace tessaron::SearchHighlight
