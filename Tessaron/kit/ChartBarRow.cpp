#include "Tessaron/kit/ChartBarRow.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/l10n/InterfaceLocale.h"
#include "TessaronCore/l10n/L10n.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitFont.h"

#include <QAccessibleWidget>
#include <QLocale>
#include <QPainter>

#include <cmath>
#include <mutex>

namespace tessaron {

namespace {
QFont labelFont() { return KitFont::font(11.5, QFont::Normal, FontDesign::rounded); }
QFont valueFont() { return KitFont::font(11, QFont::DemiBold, FontDesign::monospaced); }
// Medium: at this size a regular stroke is too thin for its colour to show whole.
QFont noteFont() { return KitFont::font(9.5, QFont::Medium, FontDesign::rounded); }

// A row reads as the texts it draws: label, value and note; the bar only repeats the value.
class BarRowAccessible : public QAccessibleWidget {
public:
    explicit BarRowAccessible(ChartBarRow* row)
        : QAccessibleWidget(row, QAccessible::StaticText)
    { }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const auto* row = static_cast<const ChartBarRow*>(widget());
        QString name = row->labelText() + QStringLiteral(", ") + row->valueText();
        if (row->bar().note)
            name += QLatin1Char(' ') + L10n::t(*row->bar().note);
        return name;
    }
};

QAccessibleInterface* barRowAccessible(const QString&, QObject* object)
{
    if (auto* row = qobject_cast<ChartBarRow*>(object))
        return new BarRowAccessible(row);
    return nullptr;
}
} // namespace

ChartBarRow::ChartBarRow(const TessaronChart::Bar& bar, double fraction, int position, QWidget* parent)
    : QWidget(parent)
    , m_bar(bar)
    , m_fraction(fraction)
    , m_position(position)
    , m_growth(new AnimatedValue(0.0, this))
    , m_roll(new AnimatedValue(1.0, this))
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(barRowAccessible); });
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_growth, &AnimatedValue::valueChanged, this, qOverload<>(&QWidget::update));
    connect(m_roll, &AnimatedValue::valueChanged, this, qOverload<>(&QWidget::update));
}

void ChartBarRow::setBar(const TessaronChart::Bar& bar, double fraction)
{
    const QString before = valueText();
    m_bar = bar;
    m_fraction = fraction;
    if (valueText() != before && motionAllowed(this)) {
        // The new number rolls in from below while the old one leaves upwards.
        m_previousValue = before;
        m_roll->setImmediately(0.0);
        m_roll->animateTo(1.0, Motion::withSpring(Spring{0.35, 0.9, 0.0}));
    }
    update();
}

bool ChartBarRow::isRolling() const { return m_roll->isAnimating(); }

void ChartBarRow::setDrawn(bool drawn, bool animated)
{
    const bool still = !animated || !motionAllowed(this);
    const Motion motion = still ? Motion::none() : Motion::withSpring(Spring{0.6, 0.8, 0.0}).delayed(0.06 * m_position);
    m_growth->animateTo(drawn ? 1.0 : 0.0, motion);
}

QRectF ChartBarRow::trackRect() const
{
    const double left = labelWidth + columnSpacing;
    const double right = width() - valueWidth - columnSpacing;
    return QRectF(left, (height() - trackHeight) / 2.0, std::max(0.0, right - left), trackHeight);
}

double ChartBarRow::barLength() const
{
    const double full = std::max(stub, m_fraction * trackRect().width());
    return stub + (full - stub) * m_growth->value();
}

// As the interface's language writes it ("95,312", "95.312"), not the system's.
QString ChartBarRow::valueText() const { return L10n::interfaceLocale().toString(m_bar.value, 'f', 0); }

QString ChartBarRow::labelText() const { return L10n::t(m_bar.label); }

QSize ChartBarRow::sizeHint() const
{
    const double h = std::max({QFontMetricsF(labelFont()).height(), QFontMetricsF(valueFont()).height(), trackHeight});
    return QSize(int(labelWidth + valueWidth + 2 * columnSpacing + 160), int(std::ceil(h)) + 2);
}

QSize ChartBarRow::minimumSizeHint() const
{
    const QSize s = sizeHint();
    return QSize(int(labelWidth + valueWidth + 2 * columnSpacing + 40), s.height());
}

void ChartBarRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const bool zero = m_bar.value == 0;

    painter.setFont(labelFont());
    painter.setPen(TessaronPalette::withOpacity(TessaronPalette::ink(), 0.85));
    const QString label = QFontMetricsF(labelFont()).elidedText(labelText(), Qt::ElideMiddle, labelWidth);
    PaintedText::draw(painter, QRectF(0, 0, labelWidth, height()), Qt::AlignVCenter | Qt::AlignLeft, label,
                      labelText());

    const QRectF track = trackRect();
    const double r = trackHeight / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(TessaronPalette::chartTrack());
    painter.drawRoundedRect(track, r, r);
    painter.setBrush(zero ? TessaronPalette::withOpacity(TessaronPalette::muted(), 0.5) : Brand::palette().at(2));
    painter.drawRoundedRect(
        QRectF(track.left(), track.top(), std::min(barLength(), std::max(stub, track.width())), trackHeight), r, r);

    // Value column: value and note, 4 points apart, at the trailing edge.
    const QRectF column(width() - valueWidth, 0, valueWidth, height());
    double x = column.right();
    if (m_bar.note) {
        const QString note = L10n::t(*m_bar.note);
        const double w = QFontMetricsF(noteFont()).horizontalAdvance(note);
        painter.setFont(noteFont());
        painter.setPen(TessaronPalette::lavender());
        PaintedText::draw(painter, QRectF(x - w - 1, 0, w + 1, height()), Qt::AlignVCenter | Qt::AlignRight, note);
        x -= w + 4;
    }
    painter.setFont(valueFont());
    const QColor valueColour = zero ? TessaronPalette::muted() : TessaronPalette::ink();
    const QRectF valueBox(column.left(), 0, x - column.left(), height());
    const double roll = std::clamp(m_roll->value(), 0.0, 1.0);
    if (roll < 1.0 && !m_previousValue.isEmpty()) {
        painter.save();
        painter.setClipRect(valueBox);
        painter.setPen(TessaronPalette::withOpacity(valueColour, 1.0 - roll));
        PaintedText::draw(painter, valueBox.translated(0, -height() * roll), Qt::AlignVCenter | Qt::AlignRight,
                          m_previousValue);
        painter.setPen(TessaronPalette::withOpacity(valueColour, roll));
        PaintedText::draw(painter, valueBox.translated(0, height() * (1.0 - m_roll->value())),
                          Qt::AlignVCenter | Qt::AlignRight, valueText());
        painter.restore();
    } else {
        painter.setPen(valueColour);
        PaintedText::draw(painter, valueBox, Qt::AlignVCenter | Qt::AlignRight, valueText());
    }
}

} // namespace tessaron
