#pragma once

#include <QColor>
#include <QWidget>

namespace tessaron {

// The small progress spinner of a working button: an arc that turns while shown (still under
// reduced motion).
class SheetSpinner : public QWidget {
    Q_OBJECT
public:
    explicit SheetSpinner(const QColor& color, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {12, 12}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    QColor m_color;
    int m_timer = 0;
    int m_angle = 0;
};

} // namespace tessaron
