#include "Tessaron/casework/CaseworkStyle.h"
#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace tessaron {

namespace CaseworkStyle {

QColor warningOrange() { return TessaronPalette::amber(); }
QColor allClearGreen() { return TessaronPalette::jade(); }
QColor muted() { return TessaronPalette::muted(); }
QColor ink() { return TessaronPalette::ink(); }
QColor lavender() { return TessaronPalette::lavender(); }
QColor neutral() { return TessaronPalette::accent(); }
QColor accent() { return Brand::accent(); }
QColor white(double opacity) { return TessaronPalette::white(opacity); }
QColor withOpacity(const QColor& color, double opacity)
{
    QColor c = color;
    c.setAlphaF(float(opacity));
    return c;
}

QColor toneColor(CaseworkLogic::Tone tone)
{
    using CaseworkLogic::Tone;
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
    QLabel* l = PlainText::label(text, font, color, nullptr, wrap);
    if (wrap) {
        l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    return l;
}

} // namespace CaseworkStyle

CaseCard::CaseCard(const QString& eyebrow, const QColor& tint, double padding, QWidget* parent)
    : PanelSurface(tint, parent)
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
    // Not Maximum: a cap at the size hint would clamp the height its wrapped lines need when the
    // card is narrower than the hint assumed.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void CaseCard::addWidget(QWidget* widget) { m_body->addWidget(widget); }

CaseLink::CaseLink(QWidget* parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    new FocusRing(this);
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
    if (!FocusRing::shownOn(this))
        return;
    QPainter painter(this);
    FocusRing::draw(painter, QRectF(rect()), 4);
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
