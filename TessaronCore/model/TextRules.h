#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace tessaron {

// The text rules every analysis shares, so that trimming, ordering, decoding and matching agree
// everywhere.
namespace TextRules {

// Tab and the Unicode space separators (general category Zs). Line breaks are not among them.
bool isTrimmable(char32_t codePoint);

// `text` without leading and trailing tabs and space separators; line breaks are kept.
QString trimmed(QStringView text);

// Plain code-point order of the texts as given (UTF-16 surrogates sort above U+FFFF's neighbours,
// as their code points do): negative, zero or positive.
int compareCodePoints(QStringView a, QStringView b);

// The canonical (NFC) form that ordering compares, for callers that sort many texts and want to
// compute it once per text. Order such keys with compareCodePoints.
QString orderKey(QStringView text);
// The same, sharing the text's storage when it is already canonical.
QString orderKey(const QString& text);

// Code-point order of the canonical forms, so capital letters come before small ones and no locale
// plays a part.
int compare(QStringView a, QStringView b);
inline bool precedes(QStringView a, QStringView b) { return compare(a, b) < 0; }

// Strict UTF-8: invalid bytes, overlong forms and encoded surrogates give nothing. A leading byte
// order mark is kept as a character.
std::optional<QString> strictUtf8(QByteArrayView bytes);

// The form texts are compared in when case is to be ignored: fully case-folded ("Straße" and
// "STRASSE" both become "strasse"), then canonical. Diacritics and width still count.
QString searchForm(QStringView text);

// `text` with full case folding. With `origins`, each unit of the result gets the index in `text`
// of the character it came from, so that a match in the folded text maps back to the original.
QString fullCaseFolded(QStringView text, QList<qsizetype>* origins = nullptr);

// `text` contains `term`, ignoring case. Both are plain texts; callers that test one term against
// many texts should compare searchForm results directly.
bool containsIgnoringCase(QStringView text, QStringView term);

} // namespace TextRules

} // namespace tessaron
