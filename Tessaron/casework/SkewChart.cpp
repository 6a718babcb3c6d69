#include "Tessaron/casework/SkewChart.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/casework/CaseworkStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/casework/HoverTip.h"
#include "Tessaron/casework/SkewLogic.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/Symbols.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>

#include <cmath>
#include <mutex>

namespace tessaron {

using namespace CaseworkStyle;

namespace {

constexpr double insetX = 12, insetY = 10, rowSpacing = 7, barsHeight = 52, barWidth = 26, barSpacing = 4;
constexpr double lineSymbolWidth = 12, numberSpacing = 3;

QFont lineFont() { return KitFont::font(11, QFont::Normal, FontDesign::rounded); }
QFont headFont() { return KitFont::font(11.5, QFont::DemiBold, FontDesign::rounded); }
QFont captionFont() { return KitFont::font(9.5, QFont::Normal, FontDesign::rounded); }
QFont numberFont(bool flagged)
{
    return KitFont::font(8, flagged ? QFont::Bold : QFont::Normal, FontDesign::monospaced);
}

QString caption() { return loc("Retained right now — not what was produced."); }

// Read as what it draws: the sentence, then each bar as its hover help says it, then the caption.
class SkewChartAccessible : public QAccessibleWidget {
public:
    explicit SkewChartAccessible(SkewChart* chart)
        : QAccessibleWidget(chart, QAccessible::Chart)
    { }

    QString text(QAccessible::Text t) const override
    {
        const auto* chart = static_cast<const SkewChart*>(widget());
        if (t == QAccessible::Name)
            return chart->sentence();
        if (t != QAccessible::Description || SkewLogic::shows(chart->verdict()) != SkewLogic::Shows::chart)
            return QAccessibleWidget::text(t);
        QStringList parts;
        for (const SkewVerdict::Bar& bar : chart->verdict().bars())
            parts << SkewLogic::barTip(bar);
        parts << caption();
        return parts.join(QStringLiteral("; "));
    }
};

QAccessibleInterface* skewChartAccessible(const QString&, QObject* object)
{
    if (auto* chart = qobject_cast<SkewChart*>(object))
        return new SkewChartAccessible(chart);
    return nullptr;
}

} // namespace

SkewChart::SkewChart(const SkewVerdict& verdict, QWidget* parent)
    : QWidget(parent)
    , m_verdict(verdict)
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(skewChartAccessible); });
    // Its height follows its width (the sentence wraps): layouts ask for it at the width they give.
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setVerdict(verdict);
    LanguageChange::onChange(this, [this] { setVerdict(m_verdict); });
}

void SkewChart::setVerdict(const SkewVerdict& verdict)
{
    m_verdict = verdict;
    m_flagged = SkewLogic::flagged(verdict);
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    updateGeometry();
    update();
}

bool SkewChart::isChart() const { return SkewLogic::shows(m_verdict) == SkewLogic::Shows::chart; }

QString SkewChart::sentence() const { return SkewLogic::sentence(m_verdict).value_or(QString()); }

SkewChart::Geometry SkewChart::geometryFor(double width) const
{
    Geometry g;
    const QString text = sentence();
    if (text.isEmpty())
        return g;
    if (!isChart()) {
        const double textWidth = std::max(40.0, width - lineSymbolWidth - 6);
        const QRectF r = QFontMetricsF(lineFont()).boundingRect(QRectF(0, 0, textWidth, 1e6), Qt::TextWordWrap, text);
        g.sentence = QRectF(lineSymbolWidth + 6, 0, textWidth, std::ceil(r.height()));
        g.height = g.sentence.height();
        return g;
    }
    const double inner = std::max(40.0, width - 2 * insetX);
    const double textWidth = std::max(20.0, inner - lineSymbolWidth - 8);
    const QRectF r = QFontMetricsF(headFont()).boundingRect(QRectF(0, 0, textWidth, 1e6), Qt::TextWordWrap, text);
    double y = insetY;
    g.sentence = QRectF(insetX + lineSymbolWidth + 8, y, textWidth, std::ceil(r.height()));
    y += g.sentence.height() + rowSpacing;
    g.bars = QRectF(insetX, y, inner, barsHeight);
    y += barsHeight + rowSpacing;
    g.caption = QRectF(insetX, y, inner, std::ceil(QFontMetricsF(captionFont()).height()));
    y += g.caption.height() + insetY;
    g.height = y;
    return g;
}

QRectF SkewChart::barRect(qsizetype index) const
{
    const QList<SkewVerdict::Bar>& bars = m_verdict.bars();
    if (!isChart() || index < 0 || index >= bars.size())
        return {};
    const Geometry g = geometryFor(width());
    const double n = double(bars.size());
    const double w = std::max(2.0, std::min(barWidth, (g.bars.width() - barSpacing * (n - 1)) / n));
    const double numberHeight = QFontMetricsF(numberFont(true)).height();
    const double area = barsHeight - numberHeight - numberSpacing;
    const int64_t tallest = SkewLogic::tallest(m_verdict);
    const double fraction = tallest < 1 ? 0.0 : double(bars[index].retained) / double(tallest);
    const double h = std::max(2.0, area * fraction);
    const double x = g.bars.left() + index * (w + barSpacing);
    return QRectF(x, g.bars.top() + area - h, w, h);
}

QString SkewChart::tipAt(const QPoint& point) const
{
    const QList<SkewVerdict::Bar>& bars = m_verdict.bars();
    if (!isChart())
        return {};
    const Geometry g = geometryFor(width());
    for (qsizetype i = 0; i < bars.size(); ++i) {
        const QRectF bar = barRect(i);
        // The whole column of the bar answers, number included, not only its painted height.
        const QRectF column(bar.left(), g.bars.top(), bar.width(), g.bars.height());
        if (column.contains(point))
            return SkewLogic::barTip(bars[i]);
    }
    return {};
}

QSize SkewChart::sizeHint() const { return QSize(360, heightForWidth(360)); }
QSize SkewChart::minimumSizeHint() const { return QSize(120, heightForWidth(std::max(width(), 120))); }
int SkewChart::heightForWidth(int width) const { return int(std::ceil(geometryFor(width).height)); }

bool SkewChart::event(QEvent* event)
{
    if (answerToolTip(this, event, [this](const QPoint& point) { return tipAt(point); }))
        return true;
    if (event->type() == QEvent::Resize)
        updateGeometry();
    return QWidget::event(event);
}

void SkewChart::paintEvent(QPaintEvent*)
{
    const QString text = sentence();
    if (text.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const Geometry g = geometryFor(width());

    if (!isChart()) {
        const double lineHeight = QFontMetricsF(lineFont()).height();
        Symbols::paint(painter, QStringLiteral("chart.bar"),
                       Symbols::boxForSize(QPointF(lineSymbolWidth / 2, lineHeight / 2), 10), white(0.35));
        painter.setFont(lineFont());
        painter.setPen(TessaronPalette::legible(white(0.5)));
        PaintedText::draw(painter, g.sentence, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
        return;
    }

    const bool anyFlagged = !m_flagged.isEmpty();
    const QColor tint = anyFlagged ? warningOrange() : allClearGreen();
    const QRectF box = QRectF(0, 0, width(), g.height).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(withOpacity(tint, anyFlagged ? 0.25 : 0.16), 1.0));
    painter.setBrush(withOpacity(tint, anyFlagged ? 0.07 : 0.05));
    painter.drawRoundedRect(box, 12, 12);

    const double headHeight = QFontMetricsF(headFont()).height();
    Symbols::paint(painter, QStringLiteral("chart.bar.fill"),
                   Symbols::boxForSize(QPointF(insetX + lineSymbolWidth / 2, g.sentence.top() + headHeight / 2), 10),
                   tint);
    painter.setFont(headFont());
    painter.setPen(white(0.82));
    PaintedText::draw(painter, g.sentence, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);

    const QList<SkewVerdict::Bar>& bars = m_verdict.bars();
    for (qsizetype i = 0; i < bars.size(); ++i) {
        const bool flagged = m_flagged.contains(bars[i].partition);
        const QRectF bar = barRect(i);
        painter.setPen(Qt::NoPen);
        painter.setBrush(flagged ? tint : withOpacity(tint, 0.42));
        painter.drawRoundedRect(bar, 2, 2);
        painter.setFont(numberFont(flagged));
        painter.setPen(flagged ? white(0.75) : TessaronPalette::legible(white(0.35)));
        const double numberHeight = QFontMetricsF(numberFont(true)).height();
        const QRectF number(bar.left() - barSpacing / 2, g.bars.bottom() - numberHeight, bar.width() + barSpacing,
                            numberHeight);
        PaintedText::draw(painter, number, Qt::AlignHCenter | Qt::AlignBottom, QString::number(bars[i].partition));
    }

    painter.setFont(captionFont());
    painter.setPen(TessaronPalette::legible(white(0.35)));
    PaintedText::draw(painter, g.caption, Qt::AlignLeft | Qt::AlignVCenter, caption());
}

} // namespace tessaron
