#pragma once

#include <QList>
#include <QWidget>

namespace tessaron {

class MotionAnimation;

// A placeholder bar for a row still loading: a rounded bar with a light band sweeping across it
// from left to right, over and over, from the moment it is first shown.
class SkeletonRow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double phase READ phase NOTIFY phaseChanged)
public:
    static constexpr double startPhase = -0.5;
    static constexpr double endPhase = 1.5;
    static constexpr int sweepMs = 1400;

    SkeletonRow(double width, double height, QWidget* parent = nullptr);

    double barWidth() const { return m_width; }
    double barHeight() const { return m_height; }
    // Where the band stands: its gradient runs from `phase` to `phase` + 1 of the bar's width.
    double phase() const { return m_phase; }
    // The repeating sweep; it runs only while the bar is shown.
    MotionAnimation* sweep() const { return m_sweep; }

    QSize sizeHint() const override;

signals:
    void phaseChanged(double phase);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    double m_width;
    double m_height;
    double m_phase = startPhase;
    MotionAnimation* m_sweep;
};

// A column of placeholder bars, 10 points high, their widths taken from `widths` in turn.
class SkeletonList : public QWidget {
    Q_OBJECT
public:
    SkeletonList(int rows, const QList<double>& widths, QWidget* parent = nullptr);

    int rows() const { return m_rows; }
    QList<double> widths() const { return m_widths; }
    // The bars shown, in order; none for a negative count or when no width is given.
    QList<SkeletonRow*> bars() const { return m_bars; }

private:
    int m_rows;
    QList<double> m_widths;
    QList<SkeletonRow*> m_bars;
};

} // namespace tessaron
