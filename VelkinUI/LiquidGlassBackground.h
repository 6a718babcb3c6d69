#pragma once

#include <QWidget>

namespace tessaron {

// A frosted-glass panel behind content. Qt widgets cannot blur what lies behind them, so the glass
// is approximated by a translucent light fill, a faint top sheen and fine static grain over
// whatever the parent painted; the corner radius is kept exactly.
class LiquidGlassBackground : public QWidget {
    Q_OBJECT
public:
    explicit LiquidGlassBackground(double cornerRadius, QWidget* parent = nullptr);

    double cornerRadius() const { return m_radius; }
    void setCornerRadius(double radius);

    static void paintGlass(QPainter& painter, const QRectF& rect, double cornerRadius);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_radius;
};

// Puts `content` on a glass panel of the given radius and returns the panel, which owns it.
QWidget* liquidGlass(QWidget* content, double cornerRadius);

} // namespace tessaron
