#pragma once

#include "Tessaron/browser/PayloadLines.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QWidget>

#include <utility>

class QScrollBar;

namespace tessaron {

// A payload as a numbered document: one row per line, each line coloured by the JSON
// highlighter, the lines that carry a suspect field tinted and marked with an arrow. Long lines
// wrap at the width; characters are laid out by the width of each user-perceived character, so
// an emoji or a letter with a combining accent takes the room it is drawn in. A document taller
// than its view height scrolls inside itself with a scroll bar counted in rows, so any number of
// lines stays reachable (a widget cannot be taller than 16,777,215 pixels). Only the rows in view
// are drawn; text is selectable with the pointer and copied with the standard shortcut.
// Assistive technology reads it as read-only text, all of it, not only the rows in view.
class PayloadDocument : public QWidget {
    Q_OBJECT
public:
    explicit PayloadDocument(QWidget* parent = nullptr);
    PayloadDocument(const QString& text, const QSet<QString>& suspects, QWidget* parent = nullptr);

    void setDocument(const QString& text, const QSet<QString>& suspects);
    // The document's lines, built on request (tests and callers that want them whole).
    QList<PayloadLine> lines() const;
    const QString& text() const { return m_text; }
    qsizetype lineCount() const { return m_spans.size(); }

    // The most the document grows to; beyond it, it scrolls by rows with its own scroll bar.
    void setViewHeight(int height);
    int viewHeight() const { return m_viewHeight; }
    bool scrolls() const;
    QScrollBar* scrollBar() const { return m_bar; }
    // Brings a line to the top of the view (as far as the scroll range allows).
    void scrollToLine(qsizetype line);
    // The first and the last line at least partly inside the widget's own rectangle.
    std::pair<qsizetype, qsizetype> linesInView() const;

    QString selectedText() const;
    void selectAll();
    void copySelection() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Layout, for tests: the height of one row, the x where the text starts, the width of the
    // line-number gutter, and how far into its line (unwrapped) a column is drawn.
    double rowHeight() const { return m_rowHeight; }
    double textLeft() const;
    double numberWidth() const { return m_numberWidth; }
    double columnX(qsizetype line, qsizetype column) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Spot {
        qsizetype line = 0;
        qsizetype column = 0;
        friend auto operator<=>(const Spot&, const Spot&) = default;
    };
    // A line with characters other than ASCII: its user-perceived characters' boundaries (in
    // UTF-16 units, the line's length last) and the x of each boundary from the line's start.
    struct Shape {
        QList<qsizetype> bounds;
        QList<double> xs;
    };

    double textRoom(int width, bool withBar) const;
    // First row of every line, plus the total at the end, for a width; decides the scroll bar.
    void layoutFor(int width) const;
    void layoutRows(int width, bool withBar) const;
    qsizetype rowsOf(qsizetype line) const;
    std::pair<qsizetype, qsizetype> rowRange(qsizetype line, qsizetype row) const;
    double xOf(qsizetype line, qsizetype column) const;
    qsizetype lineOfRow(qsizetype row) const;
    double scrollY() const;
    void syncBar() const;
    Spot spotAt(const QPointF& point) const;

    QStringView lineText(qsizetype line) const;

    QString m_text;
    QList<LineSpan> m_spans;
    QHash<qsizetype, Shape> m_shapes;
    double m_charWidth = 7;
    double m_rowHeight = 17;
    double m_numberWidth = 20;
    int m_viewHeight = 1 << 20;
    QScrollBar* m_bar;
    mutable int m_layoutWidth = -1;
    mutable bool m_layoutBar = false;
    mutable qsizetype m_layoutChars = 1;
    mutable double m_layoutRoom = 0;
    mutable QList<qsizetype> m_rowStart;
    // Row starts (in UTF-16 units) of the shaped lines that wrap.
    mutable QHash<qsizetype, QList<qsizetype>> m_breaks;
    Spot m_anchor;
    Spot m_cursor;
};

} // namespace tessaron
