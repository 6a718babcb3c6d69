#include "Tessaron/kit/ElidedLabel.h"
#include "Tessaron/kit/PlainText.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/PaintedTextAccessible.h"
#include "VelkinUI/PaintedText.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

ElidedLabel::ElidedLabel(const QString& text, const QFont& font, const QColor& color, Qt::TextElideMode mode,
                         QWidget* parent)
    : QWidget(parent)
    , m_color(color)
    , m_mode(mode)
{
    PaintedTextAccessible::mark(this);
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setText(text);
}

ElidedLabel* ElidedLabel::filling(const QString& text, const QFont& font, const QColor& color, Qt::TextElideMode mode,
                                  QWidget* parent)
{
    auto* label = new ElidedLabel(text, font, color, mode, parent);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    label->setRoundedHeight(true);
    return label;
}

void ElidedLabel::setText(const QString& text)
{
    if (text == m_text && !m_text.isNull())
        return;
    m_text = text;
    setToolTip(PlainText::toolTip(text));
    setAccessibleName(text);
    updateGeometry();
    update();
}

void ElidedLabel::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void ElidedLabel::setStruck(const QColor& strike)
{
    m_strike = strike;
    update();
}

QString ElidedLabel::shownText() const
{
    QString oneLine = m_text;
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return fontMetrics().elidedText(oneLine, m_mode, width());
}

void ElidedLabel::setAlignment(Qt::Alignment horizontal)
{
    m_alignment = horizontal;
    update();
}

void ElidedLabel::setRoundedHeight(bool rounded)
{
    m_roundedHeight = rounded;
    updateGeometry();
}

int ElidedLabel::lineHeight() const
{
    return m_roundedHeight ? fontMetrics().height() : int(std::ceil(QFontMetricsF(font()).height()));
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetricsF fm(font());
    return QSize(int(std::ceil(fm.horizontalAdvance(m_text))) + 1, lineHeight());
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QFontMetricsF fm(font());
    return QSize(int(std::ceil(std::min(fm.horizontalAdvance(m_text), fm.horizontalAdvance(QStringLiteral("…")) * 3))),
                 lineHeight());
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QString shown = shownText();
    painter.setPen(TessaronPalette::legible(m_color));
    PaintedText::draw(painter, rect(), Qt::AlignVCenter | m_alignment, shown, m_text);
    if (m_strike) {
        const double y = height() / 2.0;
        painter.setPen(QPen(*m_strike, 1.0));
        painter.drawLine(QPointF(0, y),
                         QPointF(std::min<double>(width(), QFontMetricsF(font()).horizontalAdvance(shown)), y));
    }
}

} // namespace tessaron
