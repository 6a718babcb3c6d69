#pragma once

#include <QString>

namespace tessaron {

// Small text helpers for the answers of AI command-line tools.
class AIText {
public:
    AIText() = delete;

    // Trims the text; when it is wrapped in a fenced block, keeps only the block's inner text.
    static QString stripFences(const QString& text);
    // The first non-empty line that is not a fence, without heading or emphasis marks at its ends.
    static QString firstMeaningfulLine(const QString& text);
    // The first `limit` characters (grapheme clusters) and a marker, when the text is longer.
    static QString truncated(const QString& text, int limit);
};

} // namespace tessaron
