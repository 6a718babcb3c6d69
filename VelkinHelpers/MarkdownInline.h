#pragma once

#include <QColor>
#include <QString>

namespace tessaron::MarkdownInline {

// Rich text for inline Markdown: *emphasis*, **strong emphasis** (also with "_"), `code spans`,
// [links](address) and backslash escapes. White space is kept as written and anything that does
// not close properly stays literal text, so no input fails. Only http, https and mailto
// addresses become clickable; other links keep their look without a target.
QString html(const QString& text, const QColor& linkColour, const QString& monospaceFamily);

} // namespace tessaron::MarkdownInline
