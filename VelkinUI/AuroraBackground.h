#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

class QTimer;

namespace tessaron {

// A dark full-bleed background on which five large blurred blobs in the theme's colours drift on
// slow closed paths, with grain and a breathing vignette. Positions depend on wall-clock time only.
// It redraws 60 times a second while the application is active and 10 times otherwise; it does not
// consult reduced motion.
class AuroraBackground : public QWidget {
    Q_OBJECT
public:
    explicit AuroraBackground(double intensity, QWidget* parent = nullptr);

    struct Blob {
        QPointF offset; // from the centre, in points
        double scale;
        double opacity;
        double diameter;
    };

    // Seconds since 1 January 2001, 00:00 UTC: the clock the blobs follow.
    static double referenceSeconds();
    static Blob blob(int index, double t);
    // One frame of `size` at time `t`, drawn at `intensity`, into `painter`.
    static void paintFrame(QPainter& painter, const QSize& size, double t, double intensity);

    double intensity() const { return m_intensity; }
    void setIntensity(double intensity);
    bool isActive() const { return m_active; }
    int frameInterval() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setActive(bool active);

    double m_intensity;
    bool m_active;
    QTimer* m_timer;
};

} // namespace tessaron
