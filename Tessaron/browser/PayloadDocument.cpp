#include "Tessaron/browser/PayloadDocument.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinHelpers/JSONHighlighter.h"
#include "VelkinUI/Symbols.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tessaron {

namespace {
constexpr double padTop = 8;
constexpr double padX = 8;
constexpr double padY = 1.5;
constexpr double numberWidth = 20;
constexpr double gap = 8;
constexpr double arrowSize = 9;

QFont contentFont() { return KitFont::font(11.5, QFont::Normal, FontDesign::monospaced); }
QFont numberFont() { return KitFont::font(9, QFont::Normal, FontDesign::monospaced); }
} // namespace

PayloadDocument::PayloadDocument(QWidget* parent)
    : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::IBeamCursor);
    setFont(contentFont());
    const QFontMetricsF fm(contentFont());
    m_charWidth = std::max(1.0, fm.horizontalAdvance(QLatin1Char('M')));
    m_rowHeight = std::ceil(fm.height()) + 2 * padY;
    setDocument(QString(), {});
}

PayloadDocument::PayloadDocument(const QString& text, const QSet<QString>& suspects, QWidget* parent)
    : PayloadDocument(parent)
{
    setDocument(text, suspects);
}

void PayloadDocument::setDocument(const QString& text, const QSet<QString>& suspects)
{
    m_text = text;
    m_spans = PayloadLines::spans(text, suspects);
    m_layoutWidth = -1;
    m_anchor = m_cursor = Spot{};
    updateGeometry();
    update();
}

QList<PayloadLine> PayloadDocument::lines() const
{
    QList<PayloadLine> out;
    out.reserve(m_spans.size());
    for (qsizetype i = 0; i < m_spans.size(); ++i)
        out.append({i, lineText(i).toString(), m_spans[i].suspect});
    return out;
}

QStringView PayloadDocument::lineText(qsizetype line) const
{
    const LineSpan& span = m_spans[line];
    return QStringView(m_text).mid(span.start, span.length);
}

double PayloadDocument::textLeft() const { return padX + numberWidth + gap; }

qsizetype PayloadDocument::charsPerRow(int width) const
{
    const double room = width - textLeft() - gap - arrowSize - padX;
    return std::max<qsizetype>(8, qsizetype(std::floor(room / m_charWidth)));
}

void PayloadDocument::layoutFor(int width) const
{
    if (width == m_layoutWidth)
        return;
    m_layoutWidth = width;
    m_layoutChars = charsPerRow(width);
    m_rowStart.resize(m_spans.size() + 1);
    qsizetype row = 0;
    for (qsizetype i = 0; i < m_spans.size(); ++i) {
        m_rowStart[i] = row;
        const qsizetype length = m_spans[i].length;
        row += std::max<qsizetype>(1, (length + m_layoutChars - 1) / m_layoutChars);
    }
    m_rowStart[m_spans.size()] = row;
}

int PayloadDocument::heightForWidth(int width) const
{
    layoutFor(width);
    return int(std::ceil(2 * padTop + m_rowStart.last() * m_rowHeight));
}

QSize PayloadDocument::sizeHint() const
{
    const int w = std::max(width(), 320);
    return {w, heightForWidth(w)};
}

QSize PayloadDocument::minimumSizeHint() const { return {160, int(2 * padTop + m_rowHeight)}; }

void PayloadDocument::resizeEvent(QResizeEvent*) { layoutFor(width()); }

void PayloadDocument::paintEvent(QPaintEvent* event)
{
    layoutFor(width());
    QPainter painter(this);
    const QRect dirty = event->rect();
    const qsizetype firstRow = std::max<qsizetype>(0, qsizetype((dirty.top() - padTop) / m_rowHeight));
    const qsizetype lastRow = qsizetype((dirty.bottom() - padTop) / m_rowHeight) + 1;
    auto lineOfRow = [&](qsizetype row) {
        return qsizetype(std::upper_bound(m_rowStart.begin(), m_rowStart.end() - 1, row) - m_rowStart.begin()) - 1;
    };
    const QFont content = contentFont();
    const QFont number = numberFont();
    const double x0 = textLeft();
    const Spot selFrom = std::min(m_anchor, m_cursor);
    const Spot selTo = std::max(m_anchor, m_cursor);
    const bool selecting = selFrom != selTo;
    const QColor selection = BrowserStyle::withOpacity(Brand::accent(), 0.3);

    for (qsizetype li = std::max<qsizetype>(0, lineOfRow(firstRow)); li < m_spans.size(); ++li) {
        if (m_rowStart[li] > lastRow)
            break;
        const PayloadLine line{li, lineText(li).toString(), m_spans[li].suspect};
        const qsizetype rows = m_rowStart[li + 1] - m_rowStart[li];
        const double top = padTop + m_rowStart[li] * m_rowHeight;
        const QRectF band(0, top, width(), rows * m_rowHeight);
        if (line.suspect)
            painter.fillRect(band, BrowserStyle::withOpacity(BrowserStyle::warningOrange(), 0.12));

        painter.setFont(number);
        painter.setPen(BrowserStyle::white(line.suspect ? 0.5 : 0.2));
        painter.drawText(QRectF(padX, top, numberWidth, m_rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(qint64(line.index) + 1));

        const QList<JSONHighlighter::Token> tokens = JSONHighlighter::tokens(line.content);
        painter.setFont(content);
        for (qsizetype r = 0; r < rows; ++r) {
            const qsizetype c0 = r * m_layoutChars;
            const qsizetype c1 = std::min(line.content.size(), c0 + m_layoutChars);
            const double y = top + r * m_rowHeight;
            if (selecting && Spot{li, c1} > selFrom && Spot{li, c0} <= selTo) {
                const qsizetype s0 = (li == selFrom.line) ? std::max(c0, selFrom.column) : c0;
                qsizetype s1 = (li == selTo.line) ? std::min(c1, selTo.column) : c1;
                const bool tail = li < selTo.line && r == rows - 1; // the line break is selected too
                if (s1 > s0 || tail)
                    painter.fillRect(
                        QRectF(x0 + (s0 - c0) * m_charWidth, y, (s1 - s0 + (tail ? 1 : 0)) * m_charWidth, m_rowHeight),
                        selection);
            }
            for (const JSONHighlighter::Token& token : tokens) {
                const qsizetype t0 = std::max(token.start, c0);
                const qsizetype t1 = std::min(token.start + token.length, c1);
                if (t1 <= t0)
                    continue;
                QString piece = line.content.mid(t0, t1 - t0);
                piece.replace(QLatin1Char('\t'), QLatin1Char(' '));
                painter.setPen(JSONHighlighter::color(token.kind));
                painter.drawText(
                    QRectF(x0 + (t0 - c0) * m_charWidth, y, (t1 - t0) * m_charWidth + m_charWidth, m_rowHeight),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, piece);
            }
        }
        if (line.suspect) {
            const QRectF box(width() - padX - arrowSize, top + (m_rowHeight - arrowSize) / 2, arrowSize, arrowSize);
            Symbols::paint(painter, QStringLiteral("arrow.left"), box, BrowserStyle::warningOrange());
        }
    }
}

PayloadDocument::Spot PayloadDocument::spotAt(const QPointF& point) const
{
    layoutFor(width());
    if (m_spans.isEmpty())
        return {};
    const qsizetype total = m_rowStart.last();
    const qsizetype row =
        std::clamp<qsizetype>(qsizetype(std::floor((point.y() - padTop) / m_rowHeight)), 0, total - 1);
    const qsizetype line =
        qsizetype(std::upper_bound(m_rowStart.begin(), m_rowStart.end() - 1, row) - m_rowStart.begin()) - 1;
    const qsizetype within = row - m_rowStart[line];
    const qsizetype column =
        std::clamp<qsizetype>(qsizetype(std::lround((point.x() - textLeft()) / m_charWidth)), 0, m_layoutChars);
    return {line, std::min(m_spans[line].length, within * m_layoutChars + column)};
}

void PayloadDocument::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_cursor = spotAt(event->position());
    if (!(event->modifiers() & Qt::ShiftModifier))
        m_anchor = m_cursor;
    update();
}

void PayloadDocument::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    m_cursor = spotAt(event->position());
    update();
}

void PayloadDocument::mouseDoubleClickEvent(QMouseEvent* event)
{
    const Spot at = spotAt(event->position());
    m_anchor = {at.line, 0};
    m_cursor = {at.line, at.line < m_spans.size() ? m_spans[at.line].length : 0};
    update();
}

QString PayloadDocument::selectedText() const
{
    const Spot from = std::min(m_anchor, m_cursor);
    const Spot to = std::max(m_anchor, m_cursor);
    if (from == to)
        return {};
    QStringList parts;
    for (qsizetype li = from.line; li <= to.line && li < m_spans.size(); ++li) {
        const QStringView text = lineText(li);
        const qsizetype a = li == from.line ? from.column : 0;
        const qsizetype b = li == to.line ? to.column : text.size();
        parts << text.mid(a, b - a).toString();
    }
    return parts.join(QLatin1Char('\n'));
}

void PayloadDocument::selectAll()
{
    m_anchor = {};
    m_cursor = m_spans.isEmpty() ? Spot{} : Spot{m_spans.size() - 1, m_spans.last().length};
    update();
}

void PayloadDocument::copySelection() const
{
    const QString text = selectedText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void PayloadDocument::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PayloadDocument::contextMenuEvent(QContextMenuEvent* event)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copy = menu->addAction(loc("Copy"), this, &PayloadDocument::copySelection);
    copy->setEnabled(!selectedText().isEmpty());
    menu->popup(event->globalPos());
}

} // namespace tessaron
