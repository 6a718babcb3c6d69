#include "Tessaron/browser/TruncatedLabel.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

TruncatedLabel::TruncatedLabel(const QString& text, const QFont& font, const QColor& color, Qt::TextElideMode mode,
                               QWidget* parent)
    : QWidget(parent)
    , m_color(color)
    , m_mode(mode)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setText(text);
}

void TruncatedLabel::setText(const QString& text)
{
    if (text == m_text && !m_text.isNull())
        return;
    m_text = text;
    setToolTip(text);
    setAccessibleName(text);
    updateGeometry();
    update();
}

void TruncatedLabel::setColor(const QColor& color)
{
    m_color = color;
    update();
}

QString TruncatedLabel::shownText() const
{
    QString oneLine = m_text;
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return fontMetrics().elidedText(oneLine, m_mode, width());
}

QSize TruncatedLabel::sizeHint() const
{
    const QFontMetricsF fm(font());
    return QSize(int(std::ceil(fm.horizontalAdvance(m_text))) + 1, int(std::ceil(fm.height())));
}

QSize TruncatedLabel::minimumSizeHint() const
{
    const QFontMetricsF fm(font());
    return QSize(int(std::ceil(std::min(fm.horizontalAdvance(m_text), fm.horizontalAdvance(QStringLiteral("…")) * 3))),
                 int(std::ceil(fm.height())));
}

void TruncatedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(m_color);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignVCenter | Qt::AlignLeft, shownText());
}

} // namespace tessaron
