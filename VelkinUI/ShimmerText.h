#pragma once

#include "VelkinUI/KitFont.h"

#include <QWidget>

class QTimer;

namespace tessaron {

// A heading whose letters show the theme gradient with a light band sweeping across every
// 3 seconds. Keeps the layout size of its plain text; redraws at most 30 times a second.
class ShimmerText : public QWidget {
    Q_OBJECT
public:
    ShimmerText(const QString& text, double size, QFont::Weight weight, FontDesign design, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setFontSize(double size);
    void setWeight(QFont::Weight weight);
    void setDesign(FontDesign design);
    QFont textFont() const;

    // Where the band stands at time t (seconds): from -0.3 to 1.3 once every 3 seconds.
    static double bandPosition(double t);
    void paintAt(QPainter& painter, double t) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    double m_size;
    QFont::Weight m_weight;
    FontDesign m_design;
    QTimer* m_timer;
};

} // namespace tessaron
