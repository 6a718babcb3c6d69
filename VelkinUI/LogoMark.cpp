#include "VelkinUI/LogoMark.h"

#include "VelkinUI/Brand.h"
#include "VelkinUI/Symbols.h"
#include "VelkinUI/TransformEffect.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

LogoMark::LogoMark(double size, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
    , m_effect(new TransformEffect(this))
{
    setGraphicsEffect(m_effect);
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TranslucentBackground);
    updateGlow();
}

void LogoMark::setMarkSize(double size)
{
    m_size = size;
    setFixedSize(sizeHint());
    updateGlow();
    update();
}

QSize LogoMark::sizeHint() const
{
    const int side = int(std::ceil(m_size));
    return {side, side};
}

void LogoMark::updateGlow()
{
    QColor glow = Brand::accent();
    glow.setAlphaF(0.5f);
    m_effect->setShadow({glow, m_size * 0.25, QPointF(0, 0)});
}

void LogoMark::paintMark(QPainter& painter, const QRectF& rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QIcon logo = Brand::logo();
    if (!logo.isNull()) {
        // Scaled to fit, up as well as down, keeping its aspect.
        const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        const QPixmap pixmap = logo.pixmap((rect.size() * dpr).toSize());
        if (!pixmap.isNull()) {
            QSizeF fitted = QSizeF(pixmap.size()).scaled(rect.size(), Qt::KeepAspectRatio);
            const QRectF target(rect.center().x() - fitted.width() / 2, rect.center().y() - fitted.height() / 2,
                                fitted.width(), fitted.height());
            painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
        }
    } else {
        const QRectF box = rect;
        Symbols::paint(painter, Brand::fallbackSymbol(), box, Brand::gradient(box));
    }
    painter.restore();
}

void LogoMark::paintEvent(QPaintEvent*)
{
    updateGlow(); // the accent may have changed since the last paint
    QPainter painter(this);
    const QRectF square((width() - m_size) / 2, (height() - m_size) / 2, m_size, m_size);
    paintMark(painter, square);
}

} // namespace tessaron
