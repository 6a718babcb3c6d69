#include "VelkinUI/GlassCard.h"

#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/Animation.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/EffectSlot.h"
#include "VelkinUI/LiquidGlassBackground.h"
#include "VelkinUI/VelkinPalette.h"

#include <QEnterEvent>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <optional>

namespace tessaron {

GlassCard::GlassCard(double padding, bool interactive, Qt::Alignment alignment, bool fillsWidth, QWidget* content,
                     QWidget* parent)
    : QWidget(parent)
    , m_content(content)
    , m_padding(padding)
    , m_interactive(interactive)
    , m_alignment(alignment)
    , m_fillsWidth(fillsWidth)
    , m_lift(new AnimatedValue(0.0, this))
    , m_mouseX(new AnimatedValue(0.5, this))
    , m_mouseY(new AnimatedValue(0.5, this))
    , m_effect(std::make_unique<EffectSlot>(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(content, 0, 0, alignment);
    relayout();
    for (AnimatedValue* v : {m_lift, m_mouseX, m_mouseY})
        connect(v, &AnimatedValue::valueChanged, this, &GlassCard::apply);
    apply();
}

GlassCard::~GlassCard() = default;

void GlassCard::relayout()
{
    auto* grid = static_cast<QGridLayout*>(layout());
    const int p = int(std::lround(m_padding));
    grid->setContentsMargins(p, p, p, p);
    grid->setAlignment(m_content, m_alignment);
    setSizePolicy(m_fillsWidth ? QSizePolicy::Expanding : QSizePolicy::Maximum, QSizePolicy::Maximum);
    updateGeometry();
}

void GlassCard::setPadding(double padding)
{
    m_padding = padding;
    relayout();
}

void GlassCard::setInteractive(bool interactive)
{
    m_interactive = interactive;
    if (!interactive)
        setPointer(std::nullopt);
    apply();
}

void GlassCard::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    relayout();
}

void GlassCard::setFillsWidth(bool fillsWidth)
{
    m_fillsWidth = fillsWidth;
    relayout();
}

QPointF GlassCard::tiltFor(const QPointF& local, const QSizeF& size)
{
    const double aboutX = size.height() > 0 ? -3.0 * (local.y() / size.height() - 0.5) : 0.0;
    const double aboutY = size.width() > 0 ? 3.0 * (local.x() / size.width() - 0.5) : 0.0;
    return {aboutX, aboutY};
}

QPointF GlassCard::currentTilt() const
{
    if (!m_interactive)
        return {0, 0};
    const QSizeF s(size());
    return tiltFor(QPointF(m_mouseX->value() * s.width(), m_mouseY->value() * s.height()), s);
}

double GlassCard::currentScale() const { return m_interactive ? 1.0 + 0.012 * m_lift->value() : 1.0; }

void GlassCard::setPointer(const std::optional<QPointF>& local)
{
    const Motion motion = Motion::withSpring(Animation::velkin::standard());
    if (local && m_interactive) {
        const bool entering = !m_hover;
        m_hover = true;
        m_mouse = *local;
        const double fx = width() > 0 ? local->x() / width() : 0.5;
        const double fy = height() > 0 ? local->y() / height() : 0.5;
        // The pointer is followed at once; only the change of hover itself animates.
        if (entering) {
            m_mouseX->animateTo(fx, motion);
            m_mouseY->animateTo(fy, motion);
        } else {
            m_mouseX->setImmediately(fx);
            m_mouseY->setImmediately(fy);
        }
        m_lift->animateTo(1.0, motion);
    } else {
        m_hover = false;
        // Resting flat: the tilt returns to the centre instead of keeping the last pointer position.
        m_mouseX->animateTo(0.5, motion);
        m_mouseY->animateTo(0.5, motion);
        m_lift->animateTo(0.0, motion);
    }
    apply();
    update();
}

void GlassCard::apply()
{
    const QPointF tilt = currentTilt();
    const double k = currentScale();
    const QPointF c = QRectF(rect()).center();
    QTransform t = Transforms::scaleAbout(k, k, c);
    if (tilt.x() != 0.0 || tilt.y() != 0.0) {
        QTransform rot;
        rot.rotate(tilt.x(), Qt::XAxis);
        rot.rotate(tilt.y(), Qt::YAxis);
        t = t * QTransform::fromTranslate(-c.x(), -c.y()) * rot * QTransform::fromTranslate(c.x(), c.y());
    }
    const double h = m_interactive ? m_lift->value() : 0.0;
    QColor accent = Brand::accent();
    accent.setAlphaF(0.3f);
    const QColor black = VelkinPalette::glassShadow();
    const QColor shade =
        QColor::fromRgbF(float(black.redF() + (accent.redF() - black.redF()) * h),
                         float(black.greenF() + (accent.greenF() - black.greenF()) * h),
                         float(black.blueF() + (accent.blueF() - black.blueF()) * h), float(0.18 + (0.3 - 0.18) * h));
    m_effect->apply(t, 1.0, {shade, 14.0 + 10.0 * h, QPointF(0, 8.0 + 6.0 * h)}, 0.0, 40.0);
}

void GlassCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF r(rect());
    LiquidGlassBackground::paintGlass(painter, r, cornerRadius);
    if (m_interactive && m_lift->value() > 0.0) {
        // The light spot under the pointer, added onto the glass.
        const QPointF at(width() > 0 ? m_mouse.x() : r.center().x(), height() > 0 ? m_mouse.y() : r.center().y());
        QRadialGradient spot(at, 240);
        QColor light = Brand::accent();
        light.setAlphaF(float(0.2 * m_lift->value()));
        QColor clear = light;
        clear.setAlphaF(0.0f);
        spot.setColorAt(1.0 / 240.0, light);
        spot.setColorAt(1.0, clear);
        QPainterPath shape;
        shape.addRoundedRect(r, cornerRadius, cornerRadius);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        painter.fillPath(shape, spot);
    }
}

void GlassCard::mouseMoveEvent(QMouseEvent* event)
{
    if (m_interactive)
        setPointer(event->position());
    QWidget::mouseMoveEvent(event);
}

void GlassCard::enterEvent(QEnterEvent* event)
{
    if (m_interactive)
        setPointer(event->position());
    QWidget::enterEvent(event);
}

void GlassCard::leaveEvent(QEvent* event)
{
    if (m_interactive)
        setPointer(std::nullopt);
    QWidget::leaveEvent(event);
}

void GlassCard::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    apply();
}

} // namespace tessaron
