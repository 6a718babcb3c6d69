#include "VelkinUI/AuroraBackground.h"

#include "VelkinUI/Brand.h"
#include "VelkinUI/NoiseOverlay.h"
#include "VelkinUI/VelkinPalette.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

#include <cmath>
#include <numbers>

namespace tessaron {

namespace {

struct Row {
    double period, phase, amplitude, cx, cy, diameter;
};

constexpr Row rows[5] = {
    {11, 0.0, 80, -200, -150, 600}, {14, 1.3, 70, 220, -60, 540}, {9, 2.7, 90, 100, 220, 460},
    {17, 4.1, 60, -160, 200, 520},  {21, 5.6, 50, 280, 260, 380},
};

constexpr double blurRadius = 110.0;
// The blobs are so soft that a quarter of the resolution loses nothing and saves most of the work.
constexpr int blobScale = 4;

} // namespace

AuroraBackground::AuroraBackground(double intensity, QWidget* parent)
    : QWidget(parent)
    , m_intensity(intensity)
    , m_active(!QGuiApplication::instance() || QGuiApplication::applicationState() == Qt::ApplicationActive)
    , m_timer(new QTimer(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent, intensity >= 1.0);
    connect(m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) { setActive(state == Qt::ApplicationActive); });
    }
    m_timer->start(frameInterval());
}

void AuroraBackground::setIntensity(double intensity)
{
    m_intensity = intensity;
    setAttribute(Qt::WA_OpaquePaintEvent, intensity >= 1.0);
    update();
}

int AuroraBackground::frameInterval() const { return m_active ? 1000 / 60 : 100; }

void AuroraBackground::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    // Never paused: only slower while another application is in front.
    m_timer->setInterval(frameInterval());
}

double AuroraBackground::referenceSeconds()
{
    constexpr qint64 referenceEpochMs = 978307200000LL; // 2001-01-01T00:00:00Z
    return double(QDateTime::currentMSecsSinceEpoch() - referenceEpochMs) / 1000.0;
}

AuroraBackground::Blob AuroraBackground::blob(int index, double t)
{
    const Row& r = rows[index];
    const double p = std::fmod(t / r.period + r.phase, 1.0); // keeps the sign of the dividend
    const double a = 2.0 * std::numbers::pi * p;
    return Blob{QPointF(r.amplitude * std::cos(a) + r.cx, r.amplitude * std::sin(1.3 * a) + r.cy),
                1.0 + 0.15 * std::sin(2.0 * a), 0.42 + 0.1 * std::sin(1.7 * a), r.diameter};
}

void AuroraBackground::paintFrame(QPainter& painter, const QSize& size, double t, double intensity)
{
    if (intensity <= 0.0 || size.isEmpty())
        return;
    // Blobs on black, at a quarter of the resolution.
    const QSize small((size.width() + blobScale - 1) / blobScale, (size.height() + blobScale - 1) / blobScale);
    QImage blobs(small, QImage::Format_RGB32);
    blobs.fill(Qt::black);
    {
        QPainter p(&blobs);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(1.0 / blobScale, 1.0 / blobScale);
        p.setCompositionMode(QPainter::CompositionMode_Screen);
        p.setPen(Qt::NoPen);
        const QPointF centre(size.width() / 2.0, size.height() / 2.0);
        const QList<QColor> palette = Brand::palette(); // read afresh every frame
        for (int i = 0; i < 5; ++i) {
            const Blob b = blob(i, t);
            const double radius = b.diameter * b.scale / 2.0;
            const double outer = radius + blurRadius;
            // A blurred disc: solid in its core, fading out over twice the blur radius.
            QRadialGradient g(centre + b.offset, outer);
            QColor c = palette.at(i);
            const double core = std::max(0.0, (radius - blurRadius) / outer);
            g.setColorAt(0.0, c);
            g.setColorAt(core, c);
            for (int k = 1; k <= 4; ++k) {
                const double f = core + (1.0 - core) * k / 5.0;
                QColor step = c;
                step.setAlphaF(float(0.5 * (1.0 + std::cos(std::numbers::pi * k / 5.0))));
                g.setColorAt(f, step);
            }
            QColor clear = c;
            clear.setAlphaF(0.0f);
            g.setColorAt(1.0, clear);
            p.setOpacity(b.opacity);
            p.setBrush(g);
            p.drawEllipse(centre + b.offset, outer, outer);
        }

        // The vignette is as smooth as the blobs, so it is laid at the same low resolution.
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setOpacity(1.0);
        QRadialGradient vignette(centre, 900);
        const float dark = float(0.55 + 0.06 * std::sin(t / 6.0));
        vignette.setColorAt(0.0, Qt::transparent);
        vignette.setColorAt(220.0 / 900.0, Qt::transparent);
        vignette.setColorAt(1.0, VelkinPalette::shade(dark));
        p.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), vignette);
    }

    const QRectF full(QPointF(0, 0), QSizeF(size));
    auto compose = [&](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(full, blobs);
        p.setCompositionMode(QPainter::CompositionMode_SoftLight);
        p.setOpacity(p.opacity() * 0.18);
        // Soft light over the 600 dots only: blending a whole grain image would cost far more.
        NoiseOverlay::paintGrain(p, full);
    };
    painter.save();
    if (intensity >= 1.0) {
        compose(painter);
    } else {
        // The whole stack is one group, drawn at `intensity`.
        QImage frame(size, QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::transparent);
        {
            QPainter p(&frame);
            compose(p);
        }
        painter.setOpacity(painter.opacity() * intensity);
        painter.drawImage(QPointF(0, 0), frame);
    }
    painter.restore();
}

void AuroraBackground::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintFrame(painter, size(), referenceSeconds(), m_intensity);
}

} // namespace tessaron
