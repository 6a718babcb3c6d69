#include "Tessaron/casework/CaseworkStyle.h"

#include "Tessaron/kit/SettingsPalette.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace tessaron {

namespace CaseworkStyle {

QColor warningOrange() { return QColor::fromRgbF(0.98f, 0.58f, 0.26f); }
QColor allClearGreen() { return QColor::fromRgbF(0.33f, 0.80f, 0.56f); }
QColor muted() { return QColor::fromRgbF(0.64f, 0.63f, 0.66f); }
QColor ink() { return QColor::fromRgbF(0.95f, 0.94f, 0.91f); }
QColor lavender() { return QColor::fromRgbF(0.75f, 0.70f, 0.88f); }
QColor neutral()
{
    const QList<QColor> palette = Brand::palette();
    return palette.size() > 2 ? palette.at(2) : muted();
}
QColor accent() { return Brand::accent(); }
QColor white(double opacity) { return QColor::fromRgbF(1, 1, 1, float(opacity)); }
QColor withOpacity(const QColor& color, double opacity)
{
    QColor c = color;
    c.setAlphaF(float(opacity));
    return c;
}

QColor toneColor(CaseworkText::Tone tone)
{
    using CaseworkText::Tone;
    switch (tone) {
    case Tone::warning:
        return warningOrange();
    case Tone::allClear:
        return allClearGreen();
    case Tone::muted:
        return muted();
    case Tone::ink:
        return ink();
    case Tone::neutral:
        return neutral();
    case Tone::accent:
        return accent();
    case Tone::lavender:
        return lavender();
    }
    return ink();
}

QLabel* label(const QString& text, const QFont& font, const QColor& color, bool wrap)
{
    auto* l = new QLabel(text);
    l->setTextFormat(Qt::PlainText);
    l->setFont(font);
    QPalette p = l->palette();
    // Inside a link the label inherits the button's foreground role, so every text role is set.
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::ButtonText, color);
    p.setColor(QPalette::Text, color);
    l->setPalette(p);
    l->setWordWrap(wrap);
    if (wrap) {
        l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    return l;
}

} // namespace CaseworkStyle

ElidedLabel::ElidedLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
    , m_color(color)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(text);
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

QSize ElidedLabel::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return QSize(int(std::ceil(metrics.horizontalAdvance(m_text))) + 1, int(std::ceil(metrics.height())));
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QFontMetricsF metrics(font());
    return QSize(int(std::min(metrics.horizontalAdvance(m_text), metrics.averageCharWidth() * 6)) + 1,
                 int(std::ceil(metrics.height())));
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFontMetricsF metrics(font());
    const QString shown = metrics.elidedText(m_text, Qt::ElideMiddle, width());
    painter.setPen(m_color);
    painter.drawText(rect(), Qt::AlignVCenter | Qt::AlignLeft, shown);
    if (m_strike) {
        const double y = height() / 2.0;
        painter.setPen(QPen(*m_strike, 1.0));
        painter.drawLine(QPointF(0, y), QPointF(std::min<double>(width(), metrics.horizontalAdvance(shown)), y));
    }
}

CaseCard::CaseCard(const QString& eyebrow, const QColor& tint, double padding, QWidget* parent)
    : SettingsSurface(tint, parent)
    , m_eyebrow(eyebrow)
{
    auto* column = new QVBoxLayout(this);
    const int pad = int(padding);
    column->setContentsMargins(pad, pad, pad, pad);
    column->setSpacing(9);
    column->addWidget(
        CaseworkStyle::label(eyebrow, KitFont::font(9, QFont::DemiBold, FontDesign::monospaced, 1.5), tint));
    m_body = new QVBoxLayout();
    m_body->setContentsMargins(0, 0, 0, 0);
    m_body->setSpacing(9);
    column->addLayout(m_body);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
}

void CaseCard::addWidget(QWidget* widget) { m_body->addWidget(widget); }

CaseLink::CaseLink(QWidget* parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(8);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CaseLink::onHover(std::function<void(bool)> react)
{
    m_react = std::move(react);
    if (m_react)
        m_react(m_hovering);
}

QSize CaseLink::sizeHint() const { return m_row->sizeHint(); }
QSize CaseLink::minimumSizeHint() const { return m_row->minimumSize(); }

void CaseLink::seal()
{
    for (QWidget* child : findChildren<QWidget*>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CaseLink::paintEvent(QPaintEvent*)
{
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(CaseworkStyle::withOpacity(CaseworkStyle::neutral(), 0.6), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

void CaseLink::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    setHovering(true);
}

void CaseLink::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    setHovering(false);
}

void CaseLink::setHovering(bool hovering)
{
    if (m_hovering == hovering)
        return;
    m_hovering = hovering;
    if (m_react)
        m_react(hovering);
}

} // namespace tessaron
