#pragma once

#include "Tessaron/kit/KeyframedDecoration.h"

#include <QColor>

namespace tessaron {

// A large rubber stamp tilted -11 degrees that slams onto the page each time `trigger` changes:
// it appears at 2.2 times its size, fades in while falling just below its size and springs back.
// At rest, and always under reduced motion, it sits at full size and full opacity.
class SlamStamp : public KeyframedDecoration {
    Q_OBJECT
public:
    static constexpr double tilt = -11.0;

    struct Slam {
        double scale = 1.0;
        double opacity = 1.0;
    };

    SlamStamp(const QString& text, const QColor& color, int trigger, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setTrigger(int trigger);
    int trigger() const { return triggerCount(); }
    Slam current() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

    void apply() override;

private:
    QString m_text;
    QColor m_color;
};

} // namespace tessaron
