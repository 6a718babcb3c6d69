#pragma once

#include <QWidget>

namespace tessaron {

class TransformEffect;

// The brand mark in a square of `size` points: the configured logo, or else the fallback symbol
// filled with the brand gradient; with a soft accent glow around it.
class LogoMark : public QWidget {
    Q_OBJECT
public:
    explicit LogoMark(double size, QWidget* parent = nullptr);

    double markSize() const { return m_size; }
    void setMarkSize(double size);
    QSize sizeHint() const override;

    // The mark alone, without its glow, fitted into `rect`; resolves the brand afresh.
    static void paintMark(QPainter& painter, const QRectF& rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateGlow();

    double m_size;
    TransformEffect* m_effect;
};

} // namespace tessaron
