#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QTimer;

namespace tessaron {

class TessaronMascot;

// The mascot over a caption that grows more apologetic every `step` seconds, up to the fourth.
class TessaronWorking : public QWidget {
    Q_OBJECT
public:
    explicit TessaronWorking(double stepSeconds, QWidget* parent = nullptr);

    // The caption index after `elapsed` seconds: 0 to 3.
    static int stage(double elapsedSeconds, double stepSeconds);
    static QString caption(int stage);
    QString currentCaption() const;
    // Starts the captions again from the first.
    void restart();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void tick();

    double m_step;
    QElapsedTimer m_started;
    TessaronMascot* m_mascot;
    QLabel* m_caption;
    QTimer* m_timer;
};

} // namespace tessaron
