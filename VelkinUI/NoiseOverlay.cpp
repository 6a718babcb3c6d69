#include "VelkinUI/NoiseOverlay.h"

#include "VelkinUI/SplitMix64.h"

#include <QPainter>

#include <array>

namespace tessaron {

namespace {

struct Dot {
    double x, y, d, alpha; // x and y as fractions of the canvas
};

const std::array<Dot, NoiseOverlay::dotCount>& dots()
{
    static const std::array<Dot, NoiseOverlay::dotCount> all = [] {
        std::array<Dot, NoiseOverlay::dotCount> a{};
        SplitMix64 rng;
        for (Dot& dot : a) {
            dot.x = rng.nextUnit();
            dot.y = rng.nextUnit();
            dot.d = 0.8 * rng.nextUnit() + 0.5;
            dot.alpha = 0.1 * rng.nextUnit() + 0.04;
        }
        return a;
    }();
    return all;
}

} // namespace

NoiseOverlay::NoiseOverlay(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
}

void NoiseOverlay::paintGrain(QPainter& painter, const QRectF& rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double base = painter.opacity();
    for (const Dot& dot : dots()) {
        painter.setOpacity(base * dot.alpha);
        painter.setBrush(Qt::white);
        painter.drawEllipse(
            QRectF(rect.left() + dot.x * rect.width(), rect.top() + dot.y * rect.height(), dot.d, dot.d));
    }
    painter.restore();
}

void NoiseOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintGrain(painter, QRectF(rect()));
}

} // namespace tessaron
