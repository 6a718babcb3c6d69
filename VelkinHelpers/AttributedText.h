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
    // Owns the characters that runs made from one large text point into (see `viewing`), so that
    // a megabyte payload does not cost one allocation per run.
    QString storage;

    // A run's text as a view into `storage`; valid for as long as this value (or a copy) lives.
    QString viewing(qsizetype start, qsizetype length) const
    {
        return QString::fromRawData(storage.constData() + start, length);
    }

    QString text() const;
    bool isEmpty() const { return runs.isEmpty(); }
    // Character formats for a QTextLayout or QTextEdit over text().
    QList<QTextLayout::FormatRange> formats() const;
    // Rich text (HTML) for a QLabel.
    QString toHtml() const;
};

} // namespace tessaron
