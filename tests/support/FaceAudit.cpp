#include "support/FaceAudit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QWidget>

#include "VelkinUI/PaintedText.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tessaron::testing {

namespace {

// Rounding of layouts and fractional scales: a pixel either way is no fault.
constexpr int slack = 1;

constexpr Qt::WhiteSpaceMode escapes[] = {Qt::WhiteSpaceNormal, Qt::WhiteSpacePre, Qt::WhiteSpaceNoWrap};

QString textOf(const QWidget* w)
{
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(w))
        return edit->toPlainText();
    if (auto* edit = qobject_cast<const QTextEdit*>(w))
        return edit->toPlainText();
    const QVariant text = w->property("text");
    return text.isValid() ? text.toString() : QString();
}

bool holdsText(const QWidget* w) { return !textOf(w).trimmed().isEmpty(); }

QString describe(const QWidget* w, const QString& text = {})
{
    QString name = QString::fromLatin1(w->metaObject()->className());
    if (!w->objectName().isEmpty())
        name += QLatin1Char('#') + w->objectName();
    QString shown = text.isNull() ? textOf(w) : text;
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (shown.size() > 60)
        shown = shown.left(57) + QStringLiteral("...");
    if (!shown.isEmpty())
        name += QStringLiteral(" \"") + shown + QLatin1Char('"');
    return name;
}

QRect rectIn(const QWidget* w, const QWidget* root) { return QRect(w->mapTo(root, QPoint(0, 0)), w->size()); }

// What of `w` its ancestors up to `root` let show, in root's coordinates.
QRect shownRect(const QWidget* w, const QWidget* root)
{
    QRect r = rectIn(w, root);
    for (const QWidget* p = w->parentWidget(); p && p != root->parentWidget(); p = p->parentWidget()) {
        r &= rectIn(p, root);
        if (p == root)
            break;
    }
    return r;
}

bool visibleIn(const QWidget* w, const QWidget* root) { return w == root || (w->isVisibleTo(root) && w->isVisible()); }

bool within(const QRect& inner, const QRect& outer)
{
    return outer.adjusted(-slack, -slack, slack, slack).contains(inner);
}

bool isLarge(const QFont& font)
{
    double points = font.pointSizeF();
    if (points <= 0)
        points = font.pixelSize() * 0.75;
    return points >= 18.0 || (points >= 14.0 && font.weight() >= QFont::Bold);
}

// Whether the tooltip carries `text` whole, as it stands or escaped into rich text. Compared as
// strings: parsing the tooltip as a document could have Qt load what it names.
bool tooltipCarries(const QWidget* w, const QString& text)
{
    const QString tip = w->toolTip();
    if (tip.isEmpty())
        return false;
    return tip == text || std::any_of(std::begin(escapes), std::end(escapes), [&](Qt::WhiteSpaceMode mode) {
               return tip == Qt::convertFromPlainText(text, mode);
           });
}

bool containsHostile(const QString& text)
{
    for (const QString& marker : FaceAudit::hostileTexts()) {
        if (marker.startsWith(QLatin1Char('<')) && text.contains(marker))
            return true;
    }
    return false;
}

// Whether a person can scroll `area` along `orientation`. Across, only a bar that is on, shown and
// enabled reaches anything, whatever range a bar switched off still holds. Down a page, a common
// wheel and the keyboard's focus (SheetFit::keepFocusInView) scroll a hidden bar too.
bool usable(const QAbstractScrollArea* area, Qt::Orientation orientation)
{
    const bool across = orientation == Qt::Horizontal;
    const QScrollBar* bar = across ? area->horizontalScrollBar() : area->verticalScrollBar();
    if (bar->maximum() <= bar->minimum() || !bar->isEnabled())
        return false;
    return !across || (area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff && bar->isVisibleTo(area));
}

// Whether Qt draws the label's text as rich text: decided from its format and text alone.
bool drawnRich(const QLabel* label)
{
    const Qt::TextFormat format = label->textFormat();
    return format == Qt::RichText || format == Qt::MarkdownText
        || (format == Qt::AutoText && Qt::mightBeRichText(label->text()));
}

// A rich label that names an image or a background: laying it out (to paint it or to ask its size)
// has Qt load what it names, which may be endless (/dev/zero), so the audit never does either.
bool mayLoad(const QLabel* label)
{
    static const QRegularExpression naming(QStringLiteral(R"(<img|background|!\[)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return drawnRich(label) && (containsHostile(label->text()) || label->text().contains(naming));
}

// Swallows the paint events of the labels the audit must not lay out while it renders the tree.
class PaintFence : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Paint; }
};

class Auditor {
public:
    Auditor(QWidget* root, QString where, int scale)
        : m_root(root)
        , m_where(std::move(where))
        , m_scale(scale)
    {
        PaintFence fence;
        for (QLabel* label : root->findChildren<QLabel*>()) {
            if (mayLoad(label)) {
                m_fenced << label;
                label->installEventFilter(&fence);
            }
        }
        m_image = QImage(root->size() * scale, QImage::Format_ARGB32_Premultiplied);
        m_image.setDevicePixelRatio(scale);
        m_image.fill(Qt::black);
        PaintedText::Recording recording;
        QPainter painter(&m_image);
        root->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        painter.end();
        keepPainted(recording.drawn());
        for (QLabel* label : std::as_const(m_fenced))
            label->removeEventFilter(&fence);
        // TESSARON_FACE_DUMP=DIR keeps the picture each audit measured, to look at what it flags.
        if (const QString dump = qEnvironmentVariable("TESSARON_FACE_DUMP"); !dump.isEmpty())
            m_image.save(dump + QLatin1Char('/') + QString(m_where).replace(QLatin1Char(' '), QLatin1Char('_'))
                         + ".png");
    }

    QList<FaceViolation> run()
    {
        const QList<QWidget*> all = m_root->findChildren<QWidget*>();
        QList<QWidget*> shown{m_root};
        for (QWidget* w : all) {
            // What lies in another window (a sheet over this one) is that window's picture.
            if (w->window() == m_root->window() && visibleIn(w, m_root))
                shown << w;
        }
        for (QWidget* w : shown) {
            checkTooltip(w);
            if (auto* view = qobject_cast<QAbstractItemView*>(w); view && !m_painted.contains(view->viewport()))
                checkRows(view); // a view whose delegate paints its texts has each checked as painted
            if (auto* button = qobject_cast<QAbstractButton*>(w))
                checkNamed(button);
            if (!holdsText(w))
                continue;
            checkCut(w);
            checkRich(w);
            if (fences(w))
                continue; // what it would draw, or the room it would ask for, is never laid out
            if (!m_painted.contains(w))
                checkContrast(w);
            checkRoom(w);
        }
        checkOverlaps(shown);
        checkPainted(shown);
        return m_found;
    }

private:
    void report(const QString& rule, const QString& widget, const QString& detail)
    {
        m_found << FaceViolation{m_where, rule, widget, detail};
    }

    QImage crop(const QRect& inRoot) const
    {
        const QRect r = inRoot & m_root->rect();
        return m_image.copy(QRect(r.topLeft() * m_scale, r.size() * m_scale));
    }

    void measure(const QWidget* w, const QRect& inRoot, const QFont& font, const QString& text)
    {
        // A text mostly scrolled or clipped away is measured where it shows whole.
        if (inRoot.width() < 4 || inRoot.height() < std::max(4, QFontMetrics(font).height() * 3 / 4))
            return;
        const double ratio = FaceAudit::drawnContrast(crop(inRoot));
        const double needed = isLarge(font) ? 3.0 : 4.5;
        if (ratio + 0.05 < needed)
            report(QStringLiteral("contrast"), describe(w, text),
                   QStringLiteral("%1:1, needs %2:1 (at %3,%4 %5x%6)")
                       .arg(ratio, 0, 'f', 2)
                       .arg(needed, 0, 'f', 1)
                       .arg(inRoot.x())
                       .arg(inRoot.y())
                       .arg(inRoot.width())
                       .arg(inRoot.height()));
    }

    void checkContrast(QWidget* w)
    {
        if (!w->isEnabled())
            return;
        // A separator ("•", "·", "/") is decoration, not text to read.
        const QString text = textOf(w);
        if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); }))
            return;
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->echoMode() != QLineEdit::Normal)
            return;
        if (qobject_cast<QAbstractSpinBox*>(w))
            return; // its line edit draws the text and is measured where the text lies
        QRect area = rectIn(w, m_root);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            // Where the text itself lies: a wide label with a short text over a gradient would
            // otherwise measure the gradient.
            const QRect box =
                label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
            const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
            const QRect text =
                label->fontMetrics().boundingRect(box, flags, label->text()).adjusted(-2, -2, 2, 2) & box;
            area = QRect(w->mapTo(m_root, text.topLeft()), text.size());
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            // The typed text from the field's left, not the whole field.
            const QRect box = edit->contentsRect().marginsRemoved(edit->textMargins());
            const int advance = edit->fontMetrics().horizontalAdvance(edit->text()) + 16;
            area = QRect(w->mapTo(m_root, box.topLeft()), QSize(std::min(box.width(), advance), box.height()));
        }
        if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
            area = typedArea(edit);
        else if (auto* edit = qobject_cast<QTextEdit*>(w))
            area = typedArea(edit);
        const QRect shown = area & shownRect(w, m_root);
        measure(w, shown, w->font(), QString());
    }

    // Where a multi-line field's text lies: from its top to its last line, in root's coordinates.
    template <typename Edit> QRect typedArea(const Edit* edit) const
    {
        QTextCursor end(edit->document());
        end.movePosition(QTextCursor::End);
        const QRect port = edit->viewport()->rect();
        const QRect text(port.topLeft(), QPoint(port.right(), std::min(port.bottom(), edit->cursorRect(end).bottom())));
        return QRect(edit->viewport()->mapTo(m_root, text.topLeft()), text.size());
    }

    void checkRows(QAbstractItemView* view)
    {
        const QAbstractItemModel* model = view->model();
        if (!model)
            return;
        const QRect port = view->viewport()->rect();
        const int rows = std::min(model->rowCount(view->rootIndex()), 400);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex index = model->index(row, 0, view->rootIndex());
            const QString text = index.data(Qt::DisplayRole).toString();
            const QRect r = view->visualRect(index) & port;
            if (text.trimmed().isEmpty() || r.isEmpty())
                continue;
            const QRect inRoot(view->viewport()->mapTo(m_root, r.topLeft()), r.size());
            measure(view, inRoot & shownRect(view->viewport(), m_root), view->font(), text);
        }
    }

    void checkNamed(QAbstractButton* button)
    {
        if (!button->text().trimmed().isEmpty() || !button->accessibleName().trimmed().isEmpty())
            return;
        const QList<QWidget*> inside = button->findChildren<QWidget*>();
        if (std::any_of(inside.begin(), inside.end(), [](const QWidget* w) { return holdsText(w); }))
            return;
        report(QStringLiteral("unnamed"), describe(button),
               QStringLiteral("a button without text has no accessible name"));
    }

    // Walks up from the text: each ancestor must show all of it, unless the ancestor is a scroll
    // area's viewport that can scroll to the rest.
    void checkCut(QWidget* w)
    {
        QRect r = w->rect();
        const QWidget* child = w;
        for (const QWidget* p = w->parentWidget(); p; child = p, p = p->parentWidget()) {
            r.translate(child->pos());
            const auto* area = qobject_cast<const QAbstractScrollArea*>(p->parentWidget());
            if (area && area->viewport() == p) {
                const QRect port = p->rect();
                const bool wide = r.left() < port.left() - slack || r.right() > port.right() + slack;
                const bool tall = r.top() < port.top() - slack || r.bottom() > port.bottom() + slack;
                const bool acrossOff = wide && !usable(area, Qt::Horizontal);
                if (acrossOff || (tall && !usable(area, Qt::Vertical))) {
                    report(QStringLiteral("cut"), describe(w),
                           QStringLiteral("runs past the viewport of %1 (%2,%3 %4x%5 in %6x%7), which has no usable "
                                          "%8 scroll bar to reach it")
                               .arg(describe(area))
                               .arg(r.x())
                               .arg(r.y())
                               .arg(r.width())
                               .arg(r.height())
                               .arg(port.width())
                               .arg(port.height())
                               .arg(acrossOff ? QStringLiteral("horizontal") : QStringLiteral("vertical")));
                    return;
                }
                r &= port;
                if (r.isEmpty())
                    return; // scrolled out of view, and reachable
                continue;
            }
            if (!within(r, p->rect())) {
                report(QStringLiteral("cut"), describe(w),
                       QStringLiteral("runs past %1 (%2,%3 %4x%5 in %6x%7)")
                           .arg(describe(p))
                           .arg(r.x())
                           .arg(r.y())
                           .arg(r.width())
                           .arg(r.height())
                           .arg(p->width())
                           .arg(p->height()));
                return;
            }
            if (p == m_root || p->isWindow())
                return;
        }
    }

    void checkRoom(QWidget* w)
    {
        const QString text = textOf(w);
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractScrollArea*>(w))
            return; // a field scrolls its own text
        if (auto* label = qobject_cast<QLabel*>(w); label && label->wordWrap()) {
            const int needed = label->heightForWidth(label->width());
            if (needed > label->height() + slack)
                report(QStringLiteral("room"), describe(w),
                       QStringLiteral("wraps to %1 px in %2 px").arg(needed).arg(label->height()));
            return;
        }
        const QSize hint = w->sizeHint();
        if (!hint.isValid())
            return;
        if (hint.width() <= w->width() + slack && hint.height() <= w->height() + slack)
            return;
        if (tooltipCarries(w, text) && !qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w))
            return; // an elided line whose tooltip holds it whole
        report(QStringLiteral("room"), describe(w),
               QStringLiteral("asks %1x%2, has %3x%4")
                   .arg(hint.width())
                   .arg(hint.height())
                   .arg(w->width())
                   .arg(w->height()));
    }

    // Whether `w` is, or holds, a label that must not be laid out.
    bool fences(const QWidget* w) const
    {
        return std::any_of(m_fenced.begin(), m_fenced.end(),
                           [w](const QLabel* label) { return label == w || w->isAncestorOf(label); });
    }

    void checkRich(QWidget* w)
    {
        auto* label = qobject_cast<QLabel*>(w);
        if (label && containsHostile(label->text()) && drawnRich(label))
            report(QStringLiteral("rich"), describe(w), QStringLiteral("text from data drawn as rich text"));
    }

    void checkTooltip(QWidget* w)
    {
        const QString tip = w->toolTip();
        if (containsHostile(tip) && Qt::mightBeRichText(tip))
            report(QStringLiteral("rich"), describe(w, tip), QStringLiteral("tooltip from data shown as rich text"));
    }

    void checkOverlaps(const QList<QWidget*>& shown)
    {
        QHash<const QWidget*, bool> bearing;
        // Children come after their parents in findChildren's order, so walk backwards.
        for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
            QWidget* w = *it;
            const bool text = holdsText(w) || m_painted.contains(w);
            if (text || bearing.value(w))
                for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
                    if (bearing.value(p))
                        break;
                    bearing[p] = true;
                    if (p == m_root)
                        break;
                }
            if (text)
                bearing[w] = true;
        }
        QHash<const QWidget*, QList<QWidget*>> byParent;
        for (QWidget* w : shown) {
            if (w != m_root && bearing.value(w) && w->parentWidget())
                byParent[w->parentWidget()] << w;
        }
        for (const QList<QWidget*>& siblings : std::as_const(byParent)) {
            for (int i = 0; i < siblings.size(); ++i) {
                for (int j = i + 1; j < siblings.size(); ++j) {
                    const QRect both = siblings[i]->geometry() & siblings[j]->geometry();
                    if (both.width() > slack && both.height() > slack)
                        report(QStringLiteral("overlap"), describe(siblings[i]),
                               QStringLiteral("covers %1 by %2x%3")
                                   .arg(describe(siblings[j]))
                                   .arg(both.width())
                                   .arg(both.height()));
                }
            }
        }
    }

    void keepPainted(const QList<PaintedText::Drawn>& drawn)
    {
        for (const PaintedText::Drawn& d : drawn) {
            if (d.widget)
                m_painted[d.widget] << d;
        }
    }

    // Each text a widget or a delegate painted, read as a label's: contrast of its pixels, room in
    // its box and its widget, an elided text whose tooltip does not carry it whole, two texts over
    // each other; and the widget's reach.
    void checkPainted(const QList<QWidget*>& shown)
    {
        for (QWidget* w : shown) {
            const auto texts = m_painted.constFind(w);
            if (texts == m_painted.cend())
                continue;
            auto* area = qobject_cast<QAbstractScrollArea*>(w->parentWidget());
            const bool rows = area && area->viewport() == w; // a delegate's, scrolled by its view
            QWidget* owner = rows ? area : w;
            if (!rows && !holdsText(w))
                checkCut(w);
            const QRect port = w->rect() & shownRect(w, m_root).translated(-w->mapTo(m_root, QPoint(0, 0)));
            for (qsizetype i = 0; i < texts->size(); ++i) {
                const PaintedText::Drawn& d = texts->at(i);
                const QRect bounds = d.bounds.toAlignedRect();
                if (!port.intersects(bounds))
                    continue; // scrolled out of view
                const bool letters =
                    std::any_of(d.shown.begin(), d.shown.end(), [](QChar c) { return c.isLetterOrNumber(); });
                if (w->isEnabled() && letters) {
                    const QRect around = bounds.adjusted(-2, -2, 2, 2) & w->rect();
                    measure(owner, QRect(w->mapTo(m_root, around.topLeft()), around.size()) & shownRect(w, m_root),
                            d.font, d.shown);
                }
                checkPaintedRoom(w, owner, d, rows);
                for (qsizetype j = i + 1; j < texts->size(); ++j) {
                    const QRectF both = d.bounds & texts->at(j).bounds;
                    if (both.width() > slack && both.height() > slack)
                        report(QStringLiteral("overlap"), describe(owner, d.shown),
                               QStringLiteral("covers \"%1\" by %2x%3")
                                   .arg(texts->at(j).shown)
                                   .arg(both.width())
                                   .arg(both.height()));
                }
            }
        }
    }

    void checkPaintedRoom(const QWidget* w, const QWidget* owner, const PaintedText::Drawn& d, bool rows)
    {
        const bool wraps = d.flags & Qt::TextWordWrap;
        QString fault;
        if (wraps ? d.bounds.height() > d.box.height() + slack : d.bounds.width() > d.box.width() + slack)
            fault = QStringLiteral("takes %1x%2 in a box of %3x%4")
                        .arg(std::ceil(d.bounds.width()))
                        .arg(std::ceil(d.bounds.height()))
                        .arg(std::floor(d.box.width()))
                        .arg(std::floor(d.box.height()));
        else if (const QRectF own = QRectF(w->rect()).adjusted(-slack, rows ? -1e6 : -slack, slack, rows ? 1e6 : slack);
                 !own.contains(d.bounds))
            fault = QStringLiteral("runs past its widget (%1,%2 %3x%4 in %5x%6)")
                        .arg(d.bounds.x())
                        .arg(d.bounds.y())
                        .arg(d.bounds.width())
                        .arg(d.bounds.height())
                        .arg(w->width())
                        .arg(w->height());
        else if (!d.whole.isEmpty() && !tooltipCarries(owner, d.whole))
            fault = QStringLiteral("elided from \"%1\" with no tooltip carrying it").arg(d.whole);
        if (!fault.isEmpty())
            report(QStringLiteral("room"), describe(owner, d.shown), fault);
    }

    QWidget* m_root;
    QString m_where;
    int m_scale;
    QImage m_image;
    QList<QLabel*> m_fenced;
    QHash<const QWidget*, QList<PaintedText::Drawn>> m_painted;
    QList<FaceViolation> m_found;
};

double luminance(QRgb c)
{
    // Every pixel measured asks this: the sRGB curve is looked up, not raised to a power each time.
    static const std::array<double, 256> linear = [] {
        std::array<double, 256> table{};
        for (int v = 0; v < 256; ++v) {
            const double s = v / 255.0;
            table[v] = s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        }
        return table;
    }();
    return 0.2126 * linear[qRed(c)] + 0.7152 * linear[qGreen(c)] + 0.0722 * linear[qBlue(c)];
}

} // namespace

QString FaceViolation::toString() const
{
    // " :: " between widget and detail: both may hold ": " of their own.
    return where + QLatin1Char(' ') + rule + QStringLiteral(": ") + widget + QStringLiteral(" :: ") + detail;
}

const QStringList& FaceAudit::hostileTexts()
{
    static const QStringList texts{QStringLiteral("<img src=\"/dev/zero\">"), QStringLiteral("<b>bold</b>"),
                                   QStringLiteral("\u202Egnp.exe")};
    return texts;
}

double FaceAudit::contrast(QRgb a, QRgb b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double FaceAudit::drawnContrast(const QImage& crop)
{
    const QImage image = crop.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return 1.0;
    QHash<quint32, int> buckets;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++buckets[((qRed(line[x]) >> 3) << 10) | ((qGreen(line[x]) >> 3) << 5) | (qBlue(line[x]) >> 3)];
    }
    quint32 common = 0;
    int most = -1;
    for (auto it = buckets.cbegin(); it != buckets.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            common = it.key();
        }
    }
    qint64 r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            if (quint32(((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3)) == common) {
                r += qRed(c);
                g += qGreen(c);
                b += qBlue(c);
                ++n;
            }
        }
    }
    const QRgb ground = qRgb(int(r / n), int(g / n), int(b / n));
    // The text's own colour shows in the cores of its strokes: the strongest few pixels, not the
    // single strongest (a stray edge of something else).
    QList<double> ratios;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double c = contrast(line[x], ground);
            if (c > 1.05)
                ratios << c;
        }
    }
    if (ratios.isEmpty())
        return 1.0;
    const qsizetype k = std::min<qsizetype>(ratios.size() - 1, 2 + ratios.size() / 50);
    std::nth_element(ratios.begin(), ratios.begin() + k, ratios.end(), std::greater<>());
    return ratios[k];
}

QList<FaceViolation> FaceAudit::audit(QWidget* root, const QString& where, int scale)
{
    return Auditor(root, where, scale).run();
}

QList<FaceViolation> FaceAudit::outcomeInView(QWidget* sheet, QWidget* outcome, const QString& where)
{
    if (!outcome || !outcome->isVisible())
        return {FaceViolation{where, QStringLiteral("outcome"), QStringLiteral("(none)"),
                              QStringLiteral("no outcome is shown")}};
    const QRect whole = rectIn(outcome, sheet);
    const QRect shown = shownRect(outcome, sheet);
    if (within(whole, shown))
        return {};
    return {FaceViolation{where, QStringLiteral("outcome"), describe(outcome),
                          QStringLiteral("only %1x%2 of %3x%4 is in view")
                              .arg(shown.width())
                              .arg(shown.height())
                              .arg(whole.width())
                              .arg(whole.height())}};
}

QList<FaceViolation> FaceAudit::focusRings(QWidget* window, const QString& where)
{
    QList<FaceViolation> found;
    auto around = [window](const QWidget* w) {
        return QRect(w->mapTo(window, QPoint(0, 0)), w->size()).adjusted(-4, -4, 4, 4) & window->rect();
    };
    auto picture = [window](const QRect& r) { return window->grab(r).toImage().convertToFormat(QImage::Format_RGB32); };
    // Layouts, and a scroll area bringing the focused control into view, settle over a few rounds.
    auto settle = [] {
        for (int i = 0; i < 4; ++i)
            QApplication::processEvents();
    };
    // The way a person goes: Tab from the first stop until the focus comes round again. Each stop is
    // pictured focused, then without the focus where it now stands (a scrolled form has brought it
    // into view), and given the focus back by Tab to go on from.
    if (!window->focusWidget())
        QTest::keyClick(window, Qt::Key_Tab);
    QList<QWidget*> seen;
    QWidget* now = window->focusWidget();
    for (int step = 0; now && step < 60; ++step) {
        // A control that takes Tab between its own fields (a date's day, month, year) lets it go
        // after the last: Tab on, as a person would. Any other that keeps the focus (an editor that
        // takes Tab as text) ends the walk, and is typed into only once.
        QWidget* from = now;
        const int presses = qobject_cast<QAbstractSpinBox*>(from) ? 12 : 1;
        for (int press = 0; press < presses && now == from; ++press) {
            QTest::keyClick(from, Qt::Key_Tab);
            settle();
            now = window->focusWidget();
        }
        if (!now || seen.contains(now))
            break;
        seen << now;
        if (!now->isVisible()) {
            found << FaceViolation{where, QStringLiteral("focus"), describe(now),
                                   QStringLiteral("a Tab stop that is not shown")};
            continue;
        }
        const QRect area = around(now);
        const QImage after = picture(area);
        now->clearFocus();
        settle();
        const QImage before = picture(area);
        now->setFocus(Qt::TabFocusReason);
        settle();
        qsizetype changed = 0;
        for (int y = 0; y < std::min(before.height(), after.height()); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
            // A ring shows where it stands out from what was there: 3:1, as for any non-text mark.
            for (int x = 0; x < std::min(before.width(), after.width()); ++x)
                changed += a[x] != b[x] && contrast(a[x], b[x]) >= 3.0;
        }
        // A list rings the row that has the focus: half that row's outline is enough.
        QSize ringed = now->size();
        if (const auto* view = qobject_cast<const QAbstractItemView*>(now); view && view->currentIndex().isValid()) {
            const QRect row = view->visualRect(view->currentIndex()) & view->viewport()->rect();
            if (!row.isEmpty())
                ringed = row.size();
        }
        const qsizetype outline = (ringed.width() + ringed.height()) * window->devicePixelRatio();
        if (const QString dump = qEnvironmentVariable("TESSARON_FACE_DUMP"); !dump.isEmpty() && changed < outline) {
            before.save(dump + QStringLiteral("/focus-%1-%2-before.png").arg(where).arg(step));
            after.save(dump + QStringLiteral("/focus-%1-%2-after.png").arg(where).arg(step));
        }
        if (changed < outline)
            found << FaceViolation{
                where, QStringLiteral("focus"), describe(now),
                QStringLiteral("%1 px change visibly when focused, a ring needs %2").arg(changed).arg(outline)};
    }
    return found;
}

QList<FaceViolation> FaceAudit::excuse(const QList<FaceViolation>& found, const QList<FaceException>& exceptions)
{
    QList<FaceViolation> left;
    for (const FaceViolation& v : found) {
        const bool excused = std::any_of(exceptions.begin(), exceptions.end(), [&](const FaceException& e) {
            return (e.rule.isEmpty() || e.rule == v.rule) && QRegularExpression(e.where).match(v.where).hasMatch()
                && QRegularExpression(e.widget).match(v.widget).hasMatch();
        });
        if (!excused)
            left << v;
    }
    return left;
}

} // namespace tessaron::testing
