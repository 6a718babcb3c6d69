#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

namespace tessaron {

// A small indeterminate progress indicator: an arc that turns while the spinner is visible.
class MiniSpinner : public QWidget {
    Q_OBJECT
public:
    explicit MiniSpinner(double diameter, QWidget* parent = nullptr);

    void setColor(const QColor& color);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    double m_diameter;
    QColor m_color;
    int m_step = 0;
    QTimer m_timer;
};

} // namespace tessaron
