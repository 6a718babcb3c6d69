#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringView>

namespace tessaron {

// One line of a payload document.
struct PayloadLine {
    qsizetype index = 0; // 0-based
    QString content;     // without its line break
    bool suspect = false;
    friend bool operator==(const PayloadLine&, const PayloadLine&) = default;
};

// Where one line of a payload text stands in it, without its line break.
struct LineSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    bool suspect = false;
};

// Splitting a payload text into the numbered lines of its document, and marking the lines on
// which a field named by the shape comparison stands. No widgets.
namespace PayloadLines {

// Split at every "\n", keeping empty pieces (an empty text is one empty line, a final newline
// gives a last empty line). A "\r" right before a "\n" belongs to the break, so CR LF text reads
// one line per line.
QList<PayloadLine> split(const QString& text, const QSet<QString>& suspects);
// The same lines as spans of the text, for documents too long to copy line by line.
QList<LineSpan> spans(const QString& text, const QSet<QString>& suspects);

// A line is suspect when some path stands on it in double quotes ("total", not "subtotal") and
// the line has a colon anywhere. Plain, case-sensitive substring tests.
bool isSuspect(QStringView content, const QSet<QString>& suspects);

} // namespace PayloadLines
} // namespace tessaron
