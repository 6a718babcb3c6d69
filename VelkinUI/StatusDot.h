#pragma once

#include <QColor>
#include <QWidget>

class QTimer;

namespace tessaron {

// A dot with a softly pulsing halo three times its size; redraws at most 30 times a second.
class StatusDot : public QWidget {
    Q_OBJECT
public:
    StatusDot(const QColor& color, double size, QWidget* parent = nullptr);

    // Between 0.4 and 1; one pulse every pi seconds.
    static double pulse(double t);
    void paintAt(QPainter& painter, double t) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
    double m_size;
    QTimer* m_timer;
};

} // namespace tessaron
