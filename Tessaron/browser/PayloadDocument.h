#pragma once

#include "Tessaron/browser/PayloadLines.h"

#include <QList>
#include <QSet>
#include <QWidget>

namespace tessaron {

// A payload as a numbered document: one row per line, each line coloured by the JSON
// highlighter, the lines that carry a suspect field tinted and marked with an arrow. Long lines
// wrap at the width. Only the rows in view are drawn, so a megabyte payload opens at once; text is
// selectable with the pointer and copied with the standard shortcut.
class PayloadDocument : public QWidget {
    Q_OBJECT
public:
    explicit PayloadDocument(QWidget* parent = nullptr);
    PayloadDocument(const QString& text, const QSet<QString>& suspects, QWidget* parent = nullptr);

    void setDocument(const QString& text, const QSet<QString>& suspects);
    // The document's lines, built on request (tests and callers that want them whole).
    QList<PayloadLine> lines() const;
    qsizetype lineCount() const { return m_spans.size(); }

    QString selectedText() const;
    void selectAll();
    void copySelection() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Layout, for tests: the height of one row and the x where the text starts.
    double rowHeight() const { return m_rowHeight; }
    double textLeft() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Spot {
        qsizetype line = 0;
        qsizetype column = 0;
        friend auto operator<=>(const Spot&, const Spot&) = default;
    };

    qsizetype charsPerRow(int width) const;
    // First visual row of every line, plus the total at the end, for a width.
    void layoutFor(int width) const;
    Spot spotAt(const QPointF& point) const;

    QStringView lineText(qsizetype line) const;

    QString m_text;
    QList<LineSpan> m_spans;
    double m_charWidth = 7;
    double m_rowHeight = 17;
    mutable int m_layoutWidth = -1;
    mutable qsizetype m_layoutChars = 1;
    mutable QList<qsizetype> m_rowStart;
    Spot m_anchor;
    Spot m_cursor;
};

} // namespace tessaron
