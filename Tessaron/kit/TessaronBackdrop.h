#pragma once

#include <QColor>
#include <QWidget>

namespace tessaron {

// The full-window backdrop of the action sheets: canvas, a tinted glow from the top-right corner
// and the dot grid; `quiet` makes the glow and the dots fainter and the glow wider.
class TessaronBackdrop : public QWidget {
    Q_OBJECT
public:
    TessaronBackdrop(const QColor& tint, bool quiet, QWidget* parent = nullptr);

    QColor tint() const { return m_tint; }
    bool quiet() const { return m_quiet; }

    static void paintBackdrop(QPainter& painter, const QRectF& rect, const QColor& tint, bool quiet);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_tint;
    bool m_quiet;
};

} // namespace tessaron
