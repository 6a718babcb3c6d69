#pragma once

#include "VelkinHelpers/AttributedText.h"

#include <QList>
#include <QString>

namespace tessaron {

// Colours payload text token by token without validating it: any text, JSON or not, cut off or
// whole, comes back character for character. Also recognises and pretty-prints JSON.
namespace JSONHighlighter {

enum class TokenClass { key, stringValue, number, keyword, punctuation, other };

struct Token {
    qsizetype start = 0; // in UTF-16 code units
    qsizetype length = 0;
    TokenClass kind = TokenClass::other;
    friend bool operator==(const Token&, const Token&) = default;
};

// The tokens of `text`, in order, covering it exactly.
QList<Token> tokens(const QString& text);
// The text in runs coloured by token class (keys and keywords from the current brand palette);
// neighbouring tokens of one colour share a run.
AttributedText highlight(const QString& text);
QColor color(TokenClass kind);

// Laid out again with sorted keys when `text` is a JSON object or array; otherwise `text` unchanged.
// Numbers keep their exact digits.
QString prettyPrint(const QString& text);
// Whether `text`, without surrounding whitespace, is one JSON object or array.
bool isJSON(const QString& text);

} // namespace JSONHighlighter
} // namespace tessaron
