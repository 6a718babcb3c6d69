#pragma once

#include <QColor>
#include <QWidget>

namespace tessaron {

// The panel surface: glass (opaque canvas when transparency is reduced) in a 16-point rounded
// rectangle with a hairline border in the tint, stronger when contrast is increased. It adds no
// padding: callers pad their own content. Put content in its layout, or wrap a widget with
// panelSurface().
class PanelSurface : public QWidget {
    Q_OBJECT
public:
    static constexpr double cornerRadius = 16.0;

    explicit PanelSurface(const QColor& tint, QWidget* parent = nullptr);

    QColor tint() const { return m_tint; }
    void setTint(const QColor& tint);

    static void paintSurface(QPainter& painter, const QRectF& rect, const QColor& tint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_tint;
};

// Wraps `content` in a PanelSurface tinted `tint` and returns the surface, which owns it.
PanelSurface* panelSurface(QWidget* content, const QColor& tint);

} // namespace tessaron
