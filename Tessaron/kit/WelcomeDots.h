#pragma once

#include <QWidget>

namespace tessaron {

// A decorative grid of tiny white dots that fades in from the left edge. Hidden from
// accessibility; clicks pass through.
class WelcomeDots : public QWidget {
    Q_OBJECT
public:
    explicit WelcomeDots(QWidget* parent = nullptr);

    // Dot centres' boxes for a canvas of `size`: columns from x = 18 and rows from y = 15, every 24.
    static QList<QRectF> dotRects(const QSizeF& size);
    static void paintDots(QPainter& painter, const QSizeF& size);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tessaron
