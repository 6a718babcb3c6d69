#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QTextLayout>

#include <optional>

namespace tessaron {

// Text made of runs, each with an optional foreground and background colour. The runs' texts
// joined in order are exactly the text.
struct AttributedText {
    struct Run {
        QString text;
        std::optional<QColor> foreground;
        std::optional<QColor> background;
        friend bool operator==(const Run&, const Run&) = default;
    };

    QList<Run> runs;

    QString text() const;
    bool isEmpty() const { return runs.isEmpty(); }
    // Character formats for a QTextLayout or QTextEdit over text().
    QList<QTextLayout::FormatRange> formats() const;
    // Rich text (HTML) for a QLabel.
    QString toHtml() const;
};

} // namespace tessaron
