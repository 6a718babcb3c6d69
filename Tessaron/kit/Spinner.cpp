#include "Tessaron/kit/Spinner.h"

#include "Tessaron/kit/ViewMotion.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

namespace tessaron {

namespace {

int frameCount(SpinnerLook look) { return look == SpinnerLook::spokes ? 8 : 12; }

// The ring look keeps a point clear on every side so its stroke is never clipped.
double margin(SpinnerLook look) { return look == SpinnerLook::ring ? 1.0 : 0.0; }

void paintArc(QPainter& painter, const QRectF& box, const QColor& color, int frame)
{
    QPen pen(color, std::max(1.2, box.width() / 8));
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF arc = box.adjusted(pen.widthF(), pen.widthF(), -pen.widthF(), -pen.widthF());
    painter.drawArc(arc, -frame * 30 * 16, 270 * 16);
}

void paintRing(QPainter& painter, const QRectF& box, const QColor& color, int frame)
{
    const double pen = std::max(1.0, box.width() / 8);
    const QRectF ring = box.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    QColor faint = color;
    faint.setAlphaF(color.alphaF() * 0.25f);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(faint, pen));
    painter.drawEllipse(ring);
    painter.setPen(QPen(color, pen, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(ring, -frame * 30 * 16, 100 * 16);
}

void paintSpokes(QPainter& painter, const QRectF& box, const QColor& color, int frame)
{
    const double outer = box.width() / 2.0;
    for (int i = 0; i < 8; ++i) {
        QColor c = color;
        c.setAlphaF(float(0.2 + 0.8 * ((i - frame + 8) % 8) / 7.0));
        painter.save();
        painter.translate(box.center());
        painter.rotate(45.0 * i);
        painter.setPen(QPen(c, std::max(1.5, box.width() / 9.0), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -outer * 0.45), QPointF(0, -outer * 0.9));
        painter.restore();
    }
}

} // namespace

SpinnerMotion::SpinnerMotion(QWidget* host, SpinnerLook look)
    : QObject(host)
    , m_host(host)
    , m_look(look)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(1000 / 12);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % frameCount(m_look);
        m_host->update();
    });
}

void SpinnerMotion::setRunning(bool running)
{
    m_running = running;
    if (running && !motionReduced())
        m_timer->start();
    else
        m_timer->stop();
}

void SpinnerMotion::paint(QPainter& painter, const QRectF& box, const QColor& color) const
{
    paint(painter, box, color, m_look, m_frame);
}

void SpinnerMotion::paint(QPainter& painter, const QRectF& box, const QColor& color, SpinnerLook look, int frame)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (look) {
    case SpinnerLook::arc:
        paintArc(painter, box, color, frame);
        break;
    case SpinnerLook::ring:
        paintRing(painter, box, color, frame);
        break;
    case SpinnerLook::spokes:
        paintSpokes(painter, box, color, frame);
        break;
    }
    painter.restore();
}

Spinner::Spinner(double diameter, const QColor& color, SpinnerLook look, QWidget* parent)
    : QWidget(parent)
    , m_diameter(diameter)
    , m_color(color)
    , m_motion(new SpinnerMotion(this, look))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(sizeHint());
}

void Spinner::setColor(const QColor& color)
{
    m_color = color;
    update();
}

QSize Spinner::sizeHint() const
{
    const int side = int(std::ceil(m_diameter + 2 * margin(look())));
    return {side, side};
}

bool Spinner::event(QEvent* event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        m_motion->setRunning(event->type() == QEvent::Show);
    return QWidget::event(event);
}

void Spinner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPointF centre = QRectF(rect()).center();
    const QRectF box(centre - QPointF(m_diameter / 2, m_diameter / 2), QSizeF(m_diameter, m_diameter));
    m_motion->paint(painter, box, m_color);
}

} // namespace tessaron
