#pragma once

#include <QWidget>

namespace tessaron {

class HopEffect;

// The mascot: the brand mark with its glow, which hops each time the boop count it is given
// changes (never under reduced motion). It keeps no count of its own; the caller counts.
class TessaronMascot : public QWidget {
    Q_OBJECT
public:
    TessaronMascot(double size, int boops, QWidget* parent = nullptr);

    int boops() const { return m_boops; }
    void setBoops(int boops);
    HopEffect* hop() const { return m_hop; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_size;
    int m_boops;
    HopEffect* m_hop;
};

} // namespace tessaron
