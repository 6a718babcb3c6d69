#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include <optional>

class QTimer;

namespace tessaron {

// A confetti burst over the whole widget each time the trigger changes to 1 or more. Nothing is
// drawn, and no frame is scheduled, while idle, under reduced motion or while the window is inactive.
class WelcomeConfetti : public QWidget {
    Q_OBJECT
public:
    static constexpr int pieceCount = 34;
    static constexpr double visibleSeconds = 1.6;
    static constexpr int clearAfterMs = 1700;

    explicit WelcomeConfetti(QWidget* parent = nullptr);

    int trigger() const { return m_trigger; }
    void setTrigger(int trigger);
    bool isBursting() const { return m_started.has_value(); }
    bool isTicking() const;

    struct Piece {
        QPointF position;
        double rotation; // degrees
        double opacity;
        int colorIndex; // into accent, mint, lavender
    };
    // Where every piece stands `t` seconds into a burst in a canvas of `size`; empty outside 0 <= t < 1.6.
    static QList<Piece> pieces(double t, const QSizeF& size);

    // For the gallery: draw the burst frozen at `t` seconds.
    void freezeAt(double t);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateTicking();

    int m_trigger = 0;
    std::optional<QElapsedTimer> m_started;
    std::optional<double> m_frozen;
    QTimer* m_clear;
    QTimer* m_tick;
};

} // namespace tessaron
