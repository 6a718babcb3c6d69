#include "VelkinUI/TransformEffect.h"

#include "VelkinUI/ImageBlur.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

TransformEffect::TransformEffect(QObject* parent)
    : QGraphicsEffect(parent)
{ }

void TransformEffect::setTransform(const QTransform& transform)
{
    if (transform == m_transform)
        return;
    m_transform = transform;
    updateBoundingRect();
    update();
}

void TransformEffect::setOpacity(double opacity)
{
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    update();
}

void TransformEffect::setBlurRadius(double radius)
{
    if (radius == m_blur)
        return;
    m_blur = radius;
    m_composed = false;
    updateBoundingRect();
    update();
}

void TransformEffect::setShadow(const Shadow& shadow)
{
    if (shadow == m_shadow)
        return;
    m_shadow = shadow;
    m_composed = false;
    updateBoundingRect();
    update();
}

void TransformEffect::setMargin(double margin)
{
    m_margin = margin;
    updateBoundingRect();
}

void TransformEffect::setKeepsSource(bool keeps)
{
    m_keepsSource = keeps;
    m_composed = false;
}

void TransformEffect::sourceChanged()
{
    m_composed = false;
    update();
}

QRectF TransformEffect::boundingRectFor(const QRectF& rect) const
{
    // `rect` is the widget's rectangle in whatever system Qt chose; the transform is about its origin.
    const QPointF o = rect.topLeft();
    QRectF r = (QTransform::fromTranslate(-o.x(), -o.y()) * m_transform * QTransform::fromTranslate(o.x(), o.y()))
                   .mapRect(rect);
    if (m_shadow.color.alpha() > 0) {
        const double s = m_shadow.radius * 1.5;
        r = r.united(r.translated(m_shadow.offset).adjusted(-s, -s, s, s));
    }
    const double extra = m_margin + m_blur * 1.5;
    return r.adjusted(-extra, -extra, extra, extra);
}

void TransformEffect::draw(QPainter* painter)
{
    if (m_opacity <= 0.0)
        return;
    const bool plain = m_transform.isIdentity() && m_opacity >= 1.0 && m_blur <= 0.0 && m_shadow.color.alpha() == 0;
    if (plain) {
        drawSource(painter);
        return;
    }
    const int pad = int(std::ceil(m_blur * 1.5));
    const int spad = int(std::ceil(m_shadow.radius * 1.5));
    const QRectF bounds = sourceBoundingRect(Qt::LogicalCoordinates);
    if (!m_composed || bounds != m_bounds || m_content.devicePixelRatio() != painter->device()->devicePixelRatio()) {
        const QPixmap source = sourcePixmap(Qt::LogicalCoordinates, &m_offset, QGraphicsEffect::NoPad);
        if (source.isNull())
            return;
        const double dpr = source.devicePixelRatio();
        m_content = QImage(source.size() + QSize(2 * pad, 2 * pad) * dpr, QImage::Format_ARGB32_Premultiplied);
        m_content.setDevicePixelRatio(dpr);
        m_content.fill(Qt::transparent);
        {
            QPainter p(&m_content);
            p.drawPixmap(QPointF(pad, pad), source);
        }
        if (m_blur > 0.0)
            ImageBlur::blur(m_content, m_blur * dpr);
        m_shade = QImage();
        if (m_shadow.color.alpha() > 0) {
            m_shade = QImage(m_content.size() + QSize(2 * spad, 2 * spad) * dpr, QImage::Format_ARGB32_Premultiplied);
            m_shade.setDevicePixelRatio(dpr);
            m_shade.fill(Qt::transparent);
            {
                QPainter p(&m_shade);
                p.drawImage(QPointF(spad, spad), m_content);
                p.setCompositionMode(QPainter::CompositionMode_SourceIn);
                p.fillRect(QRectF(QPointF(0, 0), QSizeF(m_shade.size()) / dpr), m_shadow.color);
            }
            ImageBlur::blur(m_shade, m_shadow.radius * dpr);
        }
        m_bounds = bounds;
        m_composed = m_keepsSource;
    }
    const QPoint offset = m_offset;
    const QPointF origin(offset.x() - pad, offset.y() - pad);

    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    // The painter is not in the widget's own coordinates: the source's offset says where the widget
    // stands, and the transform is about the widget's own origin.
    const QPointF at(offset);
    painter->setTransform(
        QTransform::fromTranslate(-at.x(), -at.y()) * m_transform * QTransform::fromTranslate(at.x(), at.y()), true);
    painter->setOpacity(painter->opacity() * m_opacity);
    if (!m_shade.isNull())
        painter->drawImage(origin + m_shadow.offset - QPointF(spad, spad), m_shade);
    painter->drawImage(origin, m_content);
    painter->restore();
}

namespace Transforms {

QTransform scaleAbout(double sx, double sy, const QPointF& a)
{
    return QTransform::fromTranslate(-a.x(), -a.y()) * QTransform::fromScale(sx, sy)
        * QTransform::fromTranslate(a.x(), a.y());
}

QTransform rotateAbout(double degrees, const QPointF& a)
{
    QTransform r;
    r.rotate(degrees);
    return QTransform::fromTranslate(-a.x(), -a.y()) * r * QTransform::fromTranslate(a.x(), a.y());
}

QTransform translate(double dx, double dy) { return QTransform::fromTranslate(dx, dy); }

} // namespace Transforms

} // namespace tessaron
