#pragma once

#include "Tessaron/kit/TessaronChart.h"

#include <QWidget>

namespace tessaron {

class AnimatedValue;

// One row of a chart card: label (shortened in the middle), track with its bar, value and note.
// The bar grows from a 3-point stub to its length while `drawn` turns true.
class ChartBarRow : public QWidget {
    Q_OBJECT
public:
    static constexpr double labelWidth = 190.0;
    // Three digits and the longest note beside them.
    static constexpr double valueWidth = 102.0;
    static constexpr double columnSpacing = 12.0;
    static constexpr double trackHeight = 8.0;
    static constexpr double stub = 3.0;

    ChartBarRow(const TessaronChart::Bar& bar, double fraction, int position, QWidget* parent = nullptr);

    void setBar(const TessaronChart::Bar& bar, double fraction);
    // Grows (or shrinks) the bar; without animation under reduced motion or when `animated` is false.
    void setDrawn(bool drawn, bool animated);
    double barLength() const;
    QRectF trackRect() const;
    QString valueText() const;
    bool isRolling() const;
    QString labelText() const;
    const TessaronChart::Bar& bar() const { return m_bar; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TessaronChart::Bar m_bar;
    double m_fraction;
    int m_position;
    AnimatedValue* m_growth;
    AnimatedValue* m_roll; // 0 to 1 while a changed value rolls in
    QString m_previousValue;
};

} // namespace tessaron
