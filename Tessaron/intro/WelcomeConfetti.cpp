#include "Tessaron/intro/WelcomeConfetti.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AccessibilitySettings.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <cmath>

namespace tessaron {

WelcomeConfetti::WelcomeConfetti(QWidget* parent)
    : QWidget(parent)
    , m_clear(new QTimer(this))
    , m_tick(new QTimer(this))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    m_clear->setSingleShot(true);
    m_clear->setTimerType(Qt::PreciseTimer);
    m_clear->setInterval(clearAfterMs);
    connect(m_clear, &QTimer::timeout, this, [this] {
        m_started.reset();
        updateTicking();
        update();
    });
    m_tick->setInterval(1000 / 30);
    connect(m_tick, &QTimer::timeout, this, [this] {
        update();
        updateTicking();
    });
    connect(&AccessibilitySettings::instance(), &AccessibilitySettings::changed, this, &WelcomeConfetti::updateTicking);
}

void WelcomeConfetti::setTrigger(int trigger)
{
    if (trigger == m_trigger)
        return;
    m_trigger = trigger;
    // A new value cancels the previous run; the new run sets its own start.
    m_clear->stop();
    if (trigger < 1 || motionReduced()) {
        updateTicking();
        return;
    }
    QElapsedTimer now;
    now.start();
    m_started = now;
    m_clear->start();
    updateTicking();
    update();
}

bool WelcomeConfetti::isTicking() const { return m_tick->isActive(); }

void WelcomeConfetti::updateTicking()
{
    // A burst whose run was cancelled by a trigger that plays nothing is never cleared; once its
    // 1.6 s are over there is nothing left to draw, so it costs no more frames.
    const bool visible = m_started && m_started->elapsed() < qint64(visibleSeconds * 1000);
    const bool run = visible && motionAllowed(this);
    if (run && !m_tick->isActive())
        m_tick->start();
    else if (!run)
        m_tick->stop();
}

void WelcomeConfetti::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        updateTicking();
    QWidget::changeEvent(event);
}

QList<WelcomeConfetti::Piece> WelcomeConfetti::pieces(double t, const QSizeF& size)
{
    QList<Piece> out;
    if (!(t >= 0 && t < visibleSeconds))
        return out;
    const double cx = 0.55 * size.width();
    const double cy = 0.38 * size.height();
    for (int i = 0; i < pieceCount; ++i) {
        const double s = 100.0 + double((13 * i) % 180);
        const double a = 2.39996 * i;
        out.append(Piece{QPointF(cx + t * s * std::cos(a), cy + t * s * std::sin(a) + 155.0 * t * t),
                         160.0 * t + 31.0 * i, std::max(0.0, 1.0 - t / visibleSeconds), i % 3});
    }
    return out;
}

void WelcomeConfetti::freezeAt(double t)
{
    m_frozen = t;
    update();
}

void WelcomeConfetti::paintEvent(QPaintEvent*)
{
    double t;
    if (m_frozen) {
        t = *m_frozen;
    } else {
        if (!m_started || motionReduced())
            return;
        t = m_started->elapsed() / 1000.0;
    }
    const QColor colors[3] = {TessaronPalette::introAccent(), TessaronPalette::mint(), TessaronPalette::lavender()};
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QPainterPath piece;
    piece.addRoundedRect(QRectF(-3, -5, 6, 10), 2, 2);
    for (const Piece& p : pieces(t, QSizeF(size()))) {
        painter.save();
        painter.setOpacity(p.opacity);
        painter.translate(p.position);
        painter.rotate(p.rotation);
        painter.fillPath(piece, colors[p.colorIndex]);
        painter.restore();
    }
}

} // namespace tessaron
