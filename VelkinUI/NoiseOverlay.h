#pragma once

#include <QWidget>

namespace tessaron {

// Static grain: 600 faint white dots from a fixed seed, stretched over the widget. Clicks pass through.
class NoiseOverlay : public QWidget {
    Q_OBJECT
public:
    static constexpr int dotCount = 600;

    explicit NoiseOverlay(QWidget* parent = nullptr);

    // The grain over `rect` with the painter's current composition mode and opacity.
    static void paintGrain(QPainter& painter, const QRectF& rect);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tessaron
