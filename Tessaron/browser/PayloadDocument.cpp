#include "Tessaron/browser/PayloadDocument.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinHelpers/JSONHighlighter.h"
#include "VelkinUI/Symbols.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

namespace tessaron {

namespace {
constexpr double padTop = 8;
constexpr double padX = 8;
constexpr double padY = 1.5;
constexpr double minNumberWidth = 20;
constexpr double gap = 8;
constexpr double arrowSize = 9;

QFont contentFont() { return KitFont::font(11.5, QFont::Normal, FontDesign::monospaced); }
QFont numberFont() { return KitFont::font(9, QFont::Normal, FontDesign::monospaced); }

int digitsOf(qsizetype n)
{
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}
// The document paints only the rows in view; a screen reader gets the whole text, read-only,
// without positions on screen (it reads and moves by characters, words and lines of the text).
class DocumentAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit DocumentAccessible(PayloadDocument* document)
        : QAccessibleWidget(document, QAccessible::EditableText)
    { }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return loc("The record");
        if (t == QAccessible::Value)
            return document()->text();
        return QAccessibleWidget::text(t);
    }

    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QString text(int start, int end) const override { return document()->text().mid(start, end - start); }
    int characterCount() const override { return int(document()->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int start, int) override
    {
        document()->scrollToLine(document()->text().left(start).count(QLatin1Char('\n')));
    }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    PayloadDocument* document() const { return static_cast<PayloadDocument*>(widget()); }
};

QAccessibleInterface* documentAccessible(const QString&, QObject* object)
{
    if (auto* document = qobject_cast<PayloadDocument*>(object))
        return new DocumentAccessible(document);
    return nullptr;
}

} // namespace

PayloadDocument::PayloadDocument(QWidget* parent)
    : QWidget(parent)
    , m_bar(new QScrollBar(Qt::Vertical, this))
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(documentAccessible); });
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::IBeamCursor);
    setFont(contentFont());
    const QFontMetricsF fm(contentFont());
    m_charWidth = std::max(1.0, fm.horizontalAdvance(QLatin1Char('M')));
    m_rowHeight = std::ceil(fm.height()) + 2 * padY;
    m_bar->hide();
    m_bar->setCursor(Qt::ArrowCursor);
    m_bar->setSingleStep(1);
    connect(m_bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
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
    m_shapes.clear();
    // Lines of plain ASCII are laid out one cell per character; the others by the advance of each
    // user-perceived character in the font (its fallbacks included), measured once per character.
    QHash<QString, double> advances;
    const QFontMetricsF fm(contentFont());
    for (qsizetype li = 0; li < m_spans.size(); ++li) {
        const QStringView line = lineText(li);
        if (QtPrivate::isAscii(line))
            continue;
        Shape shape;
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line.data(), int(line.size()));
        qsizetype at = 0;
        double x = 0;
        shape.bounds << 0;
        shape.xs << 0;
        while (finder.toNextBoundary() >= 0) {
            const qsizetype next = finder.position();
            const QStringView cluster = line.mid(at, next - at);
            double advance = m_charWidth;
            if (!QtPrivate::isAscii(cluster)) {
                const QString key = cluster.toString();
                auto known = advances.constFind(key);
                if (known == advances.constEnd())
                    known = advances.insert(key, std::max(0.0, fm.horizontalAdvance(key)));
                advance = *known;
            }
            x += advance;
            shape.bounds << next;
            shape.xs << x;
            at = next;
        }
        m_shapes.insert(li, std::move(shape));
    }
    const QFontMetricsF numbers(numberFont());
    m_numberWidth =
        std::max(minNumberWidth, std::ceil(digitsOf(m_spans.size()) * numbers.horizontalAdvance(QLatin1Char('0'))));
    m_layoutWidth = -1;
    m_anchor = m_cursor = Spot{};
    m_bar->setValue(0);
    layoutFor(width());
    syncBar();
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

double PayloadDocument::textLeft() const { return padX + m_numberWidth + gap; }

double PayloadDocument::textRoom(int width, bool withBar) const
{
    return width - textLeft() - gap - arrowSize - padX - (withBar ? m_bar->sizeHint().width() : 0);
}

void PayloadDocument::setViewHeight(int height)
{
    height = std::max(height, int(2 * padTop + 4 * m_rowHeight));
    if (height == m_viewHeight)
        return;
    m_viewHeight = height;
    m_layoutWidth = -1;
    layoutFor(width());
    syncBar();
    updateGeometry();
    update();
}

void PayloadDocument::layoutRows(int width, bool withBar) const
{
    m_layoutWidth = width;
    m_layoutBar = withBar;
    m_layoutRoom = std::max(8 * m_charWidth, textRoom(width, withBar));
    m_layoutChars = std::max<qsizetype>(8, qsizetype(std::floor(m_layoutRoom / m_charWidth)));
    m_breaks.clear();
    m_rowStart.resize(m_spans.size() + 1);
    qsizetype row = 0;
    const qsizetype perRow = m_layoutChars;
    for (qsizetype i = 0; i < m_spans.size(); ++i) {
        m_rowStart[i] = row;
        const qsizetype length = m_spans[i].length;
        const auto shape = m_shapes.isEmpty() ? m_shapes.constEnd() : m_shapes.constFind(i);
        if (shape == m_shapes.constEnd()) {
            row += length <= perRow ? 1 : (length + perRow - 1) / perRow;
            continue;
        }
        // Wrap at the last character that still fits the row (at least one character a row).
        QList<qsizetype> starts{0};
        double base = 0;
        for (qsizetype g = 1; g + 1 < shape->bounds.size(); ++g) {
            if (shape->xs[g + 1] - base > m_layoutRoom) {
                starts << shape->bounds[g];
                base = shape->xs[g];
            }
        }
        row += starts.size();
        if (starts.size() > 1)
            m_breaks.insert(i, std::move(starts));
    }
    m_rowStart[m_spans.size()] = row;
}

void PayloadDocument::layoutFor(int width) const
{
    if (width == m_layoutWidth && m_layoutWidth >= 0)
        return;
    layoutRows(width, false);
    // Taller than the view: the document scrolls, and its text gives up the scroll bar's width.
    if (2 * padTop + m_rowStart.last() * m_rowHeight > m_viewHeight)
        layoutRows(width, true);
}

qsizetype PayloadDocument::rowsOf(qsizetype line) const { return m_rowStart[line + 1] - m_rowStart[line]; }

std::pair<qsizetype, qsizetype> PayloadDocument::rowRange(qsizetype line, qsizetype row) const
{
    const qsizetype length = m_spans[line].length;
    const auto breaks = m_breaks.constFind(line);
    if (breaks != m_breaks.constEnd())
        return {breaks->at(row), row + 1 < breaks->size() ? breaks->at(row + 1) : length};
    if (m_shapes.contains(line))
        return {0, length};
    const qsizetype c0 = row * m_layoutChars;
    return {c0, std::min(length, c0 + m_layoutChars)};
}

double PayloadDocument::xOf(qsizetype line, qsizetype column) const
{
    const auto shape = m_shapes.constFind(line);
    if (shape == m_shapes.constEnd())
        return column * m_charWidth;
    const auto at = std::lower_bound(shape->bounds.begin(), shape->bounds.end(), column);
    return at == shape->bounds.end() ? shape->xs.last() : shape->xs[at - shape->bounds.begin()];
}

double PayloadDocument::columnX(qsizetype line, qsizetype column) const
{
    return line >= 0 && line < m_spans.size() ? xOf(line, column) : 0;
}

qsizetype PayloadDocument::lineOfRow(qsizetype row) const
{
    return std::max<qsizetype>(
        0, qsizetype(std::upper_bound(m_rowStart.begin(), m_rowStart.end() - 1, row) - m_rowStart.begin()) - 1);
}

bool PayloadDocument::scrolls() const
{
    layoutFor(width());
    return m_layoutBar;
}

double PayloadDocument::scrollY() const { return m_layoutBar ? m_bar->value() * m_rowHeight : 0; }

void PayloadDocument::syncBar() const
{
    if (!m_layoutBar) {
        m_bar->hide();
        return;
    }
    const qsizetype shown = std::max<qsizetype>(1, qsizetype((height() - 2 * padTop) / m_rowHeight));
    const qsizetype top = std::max<qsizetype>(0, m_rowStart.last() - shown);
    m_bar->setRange(0, int(std::min<qsizetype>(top, std::numeric_limits<int>::max())));
    m_bar->setPageStep(int(shown));
    const int barWidth = m_bar->sizeHint().width();
    m_bar->setGeometry(width() - barWidth, 0, barWidth, height());
    m_bar->show();
}

int PayloadDocument::heightForWidth(int width) const
{
    layoutFor(width);
    return int(std::min<double>(m_viewHeight, std::ceil(2 * padTop + m_rowStart.last() * m_rowHeight)));
}

QSize PayloadDocument::sizeHint() const
{
    const int w = std::max(width(), 320);
    return {w, heightForWidth(w)};
}

QSize PayloadDocument::minimumSizeHint() const { return {160, int(2 * padTop + m_rowHeight)}; }

void PayloadDocument::resizeEvent(QResizeEvent*)
{
    layoutFor(width());
    syncBar();
}

void PayloadDocument::scrollToLine(qsizetype line)
{
    layoutFor(width());
    syncBar();
    if (m_layoutBar && line >= 0 && line < m_spans.size())
        m_bar->setValue(int(std::min<qsizetype>(m_rowStart[line], m_bar->maximum())));
}

std::pair<qsizetype, qsizetype> PayloadDocument::linesInView() const
{
    layoutFor(width());
    const double y = scrollY();
    const qsizetype first = qsizetype(std::floor((y - padTop) / m_rowHeight));
    const qsizetype last = qsizetype(std::floor((y + height() - 1 - padTop) / m_rowHeight));
    return {lineOfRow(std::max<qsizetype>(0, first)), lineOfRow(std::clamp<qsizetype>(last, 0, m_rowStart.last() - 1))};
}

void PayloadDocument::paintEvent(QPaintEvent* event)
{
    layoutFor(width());
    syncBar();
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.setClipRect(dirty.intersected(rect()));
    const double offset = scrollY();
    // Scrolled, the view starts on a whole row: none peeks out of the top margin.
    const qsizetype firstRow = std::max<qsizetype>(
        m_layoutBar ? m_bar->value() : 0, qsizetype(std::floor((dirty.top() + offset - padTop) / m_rowHeight)));
    const qsizetype lastRow = qsizetype((dirty.bottom() + offset - padTop) / m_rowHeight) + 1;
    const QFont content = contentFont();
    const QFont number = numberFont();
    const double x0 = textLeft();
    const double right = width() - (m_layoutBar ? m_bar->width() : 0);
    const Spot selFrom = std::min(m_anchor, m_cursor);
    const Spot selTo = std::max(m_anchor, m_cursor);
    const bool selecting = selFrom != selTo;
    const QColor selection = BrowserStyle::withOpacity(Brand::accent(), 0.3);

    for (qsizetype li = lineOfRow(firstRow); li < m_spans.size(); ++li) {
        if (m_rowStart[li] > lastRow)
            break;
        const QString text = lineText(li).toString();
        const bool suspect = m_spans[li].suspect;
        const qsizetype rows = rowsOf(li);
        const double top = padTop + m_rowStart[li] * m_rowHeight - offset;
        const QRectF band(0, top, right, rows * m_rowHeight);
        if (suspect)
            painter.fillRect(band, BrowserStyle::withOpacity(BrowserStyle::warningOrange(), 0.12));

        painter.setFont(number);
        painter.setPen(TessaronPalette::legible(BrowserStyle::white(suspect ? 0.5 : 0.2)));
        PaintedText::draw(painter, QRectF(padX, top, m_numberWidth, m_rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                          QString::number(qint64(li) + 1));

        const QList<JSONHighlighter::Token> tokens = JSONHighlighter::tokens(text);
        painter.setFont(content);
        for (qsizetype r = 0; r < rows; ++r) {
            const double y = top + r * m_rowHeight;
            if (y + m_rowHeight < dirty.top() || y > dirty.bottom() + 1)
                continue;
            const auto [c0, c1] = rowRange(li, r);
            const double base = xOf(li, c0);
            if (selecting && Spot{li, c1} > selFrom && Spot{li, c0} <= selTo) {
                const qsizetype s0 = (li == selFrom.line) ? std::max(c0, selFrom.column) : c0;
                const qsizetype s1 = (li == selTo.line) ? std::min(c1, selTo.column) : c1;
                const bool tail = li < selTo.line && r == rows - 1; // the line break is selected too
                if (s1 > s0 || tail) {
                    const double a = xOf(li, s0) - base;
                    const double b = xOf(li, std::max(s0, s1)) - base + (tail ? m_charWidth : 0);
                    painter.fillRect(QRectF(x0 + a, y, b - a, m_rowHeight), selection);
                }
            }
            for (const JSONHighlighter::Token& token : tokens) {
                const qsizetype t0 = std::max(token.start, c0);
                const qsizetype t1 = std::min(token.start + token.length, c1);
                if (t1 <= t0)
                    continue;
                QString piece = text.mid(t0, t1 - t0);
                piece.replace(QLatin1Char('\t'), QLatin1Char(' '));
                painter.setPen(JSONHighlighter::color(token.kind));
                const double a = xOf(li, t0) - base;
                PaintedText::draw(painter, QRectF(x0 + a, y, xOf(li, t1) - base - a + m_charWidth, m_rowHeight),
                                  Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, piece);
            }
        }
        if (suspect) {
            const QRectF box(right - padX - arrowSize, top + (m_rowHeight - arrowSize) / 2, arrowSize, arrowSize);
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
        std::clamp<qsizetype>(qsizetype(std::floor((point.y() + scrollY() - padTop) / m_rowHeight)), 0, total - 1);
    const qsizetype line = lineOfRow(row);
    const auto [c0, c1] = rowRange(line, row - m_rowStart[line]);
    const double x = point.x() - textLeft();
    const auto shape = m_shapes.constFind(line);
    if (shape == m_shapes.constEnd()) {
        const qsizetype column = std::clamp<qsizetype>(qsizetype(std::lround(x / m_charWidth)), 0, m_layoutChars);
        return {line, std::min(c1, c0 + column)};
    }
    // The boundary nearest the pointer: past a character's middle is after it.
    const double base = xOf(line, c0);
    const auto first = std::lower_bound(shape->bounds.begin(), shape->bounds.end(), c0) - shape->bounds.begin();
    for (qsizetype g = first; g + 1 < shape->bounds.size() && shape->bounds[g] < c1; ++g) {
        if (x < (shape->xs[g] + shape->xs[g + 1]) / 2 - base)
            return {line, shape->bounds[g]};
    }
    return {line, c1};
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

void PayloadDocument::wheelEvent(QWheelEvent* event)
{
    // At either end of its own range the bar leaves the event unaccepted and the page around
    // the document scrolls on.
    if (scrolls())
        QCoreApplication::sendEvent(m_bar, event);
    else
        event->ignore();
}

void PayloadDocument::keyPressEvent(QKeyEvent* event)
{
    if (scrolls()) {
        const bool control = event->modifiers() & Qt::ControlModifier;
        switch (event->key()) {
        case Qt::Key_PageDown:
            m_bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            return;
        case Qt::Key_PageUp:
            m_bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            return;
        case Qt::Key_Down:
            m_bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return;
        case Qt::Key_Up:
            m_bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return;
        case Qt::Key_End:
            if (control) {
                m_bar->triggerAction(QAbstractSlider::SliderToMaximum);
                return;
            }
            break;
        case Qt::Key_Home:
            if (control) {
                m_bar->triggerAction(QAbstractSlider::SliderToMinimum);
                return;
            }
            break;
        default:
            break;
        }
    }
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
