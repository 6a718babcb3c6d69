#include "Tessaron/kit/WelcomeDots.h"

#include "Tessaron/kit/TessaronPalette.h"

#include <QPainter>

namespace tessaron {

WelcomeDots::WelcomeDots(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(QString());
}

QList<QRectF> WelcomeDots::dotRects(const QSizeF& size)
{
    QList<QRectF> rects;
    if (size.width() <= 18 || size.height() <= 15)
        return rects;
    for (double x = 18; x < size.width(); x += 24) {
        for (double y = 15; y < size.height(); y += 24)
            rects.append(QRectF(x, y, 1.3, 1.3));
    }
    return rects;
}

void WelcomeDots::paintDots(QPainter& painter, const QSizeF& size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double base = painter.opacity();
    for (const QRectF& r : dotRects(size)) {
        painter.setOpacity(base * 0.09 * r.x() / size.width());
        painter.setBrush(TessaronPalette::plainWhite());
        painter.drawEllipse(r);
    }
    painter.restore();
}

void WelcomeDots::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintDots(painter, QSizeF(size()));
}

} // namespace tessaron
