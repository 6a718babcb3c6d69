#pragma once

#include <QColor>
#include <QObject>
#include <QWidget>

class QPainter;
class QTimer;

namespace tessaron {

// The drawings of the turning progress indicator.
enum class SpinnerLook {
    arc,    // a three-quarter arc
    ring,   // a short arc over a faint ring, with a one-point margin
    spokes, // eight spokes fading behind the brightest
};

// The pace of a spinner drawn by a host widget: twelve frames a second while running, repainting
// the host each frame; it stands still when motion is reduced.
class SpinnerMotion : public QObject {
    Q_OBJECT
public:
    SpinnerMotion(QWidget* host, SpinnerLook look);

    // Whether the spinner is shown as running; under reduced motion it then stands still.
    void setRunning(bool running);
    bool isRunning() const { return m_running; }
    int frame() const { return m_frame; }
    SpinnerLook look() const { return m_look; }
    // The current frame in `box`.
    void paint(QPainter& painter, const QRectF& box, const QColor& color) const;

    // One frame of `look` in `box`.
    static void paint(QPainter& painter, const QRectF& box, const QColor& color, SpinnerLook look, int frame);

private:
    QWidget* m_host;
    SpinnerLook m_look;
    QTimer* m_timer;
    bool m_running = false;
    int m_frame = 0;
};

// The progress indicator as a widget of its own: `diameter` across, turning only while shown.
class Spinner : public QWidget {
    Q_OBJECT
public:
    Spinner(double diameter, const QColor& color, SpinnerLook look, QWidget* parent = nullptr);

    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    SpinnerLook look() const { return m_motion->look(); }
    QSize sizeHint() const override;

protected:
    // Runs the motion from show to hide.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    double m_diameter;
    QColor m_color;
    SpinnerMotion* m_motion;
};

} // namespace tessaron
