#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QVBoxLayout;

namespace tessaron {

// A short text in a small subset of Markdown (headings of three levels, bulleted and numbered
// lists, fenced code, paragraphs; inline emphasis, code and links), drawn one block under the
// other in light text for the kit's dark panels. Unrecognised syntax shows as paragraph text.
class MarkdownText : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    struct Kind {
        enum Case { heading, paragraph, list, code };

        Case tag = paragraph;
        int level = 0;        // heading
        QString text;         // heading, paragraph, code
        QStringList items;    // list
        bool ordered = false; // list

        static Kind makeHeading(int level, const QString& text) { return {heading, level, text, {}, false}; }
        static Kind makeParagraph(const QString& text) { return {paragraph, 0, text, {}, false}; }
        static Kind makeList(const QStringList& items, bool ordered) { return {list, 0, {}, items, ordered}; }
        static Kind makeCode(const QString& text) { return {code, 0, text, {}, false}; }

        friend bool operator==(const Kind&, const Kind&) = default;
    };

    struct Block {
        int id = 0; // position in the parse result, from 0
        Kind kind;
        friend bool operator==(const Block&, const Block&) = default;
    };

    explicit MarkdownText(const QString& text = {}, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

    // Cuts `text` into blocks; never fails. Lines end at a line feed, and a carriage return just
    // before it belongs to the break, not to the line.
    static QList<Block> parse(const QString& text);

    // Rich text for one heading, paragraph or list item: inline emphasis, strong emphasis, code
    // spans and links; everything else, white space included, stays as written.
    static QString inlineHtml(const QString& text);

private:
    void rebuild();
    QWidget* viewFor(const Kind& kind);

    QString m_text;
    QVBoxLayout* m_column;
};

} // namespace tessaron
