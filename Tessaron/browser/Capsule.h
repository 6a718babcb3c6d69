#pragma once

#include <QColor>
#include <QHBoxLayout>
#include <QWidget>

#include <optional>

namespace tessaron {

class FocusRing;

// A row of small views on a filled capsule (or a rounded rectangle), optionally with a rim: the
// chips, tiles and pills of the browser's header.
class Capsule : public QWidget {
    Q_OBJECT
public:
    // A radius below 0 draws a full capsule.
    Capsule(const QColor& fill, QMargins padding, int spacing, double radius = -1, QWidget* parent = nullptr);

    QHBoxLayout* row() const { return m_row; }
    void setFill(const QColor& fill);
    void setRim(std::optional<QColor> rim);
    // Draws the focus ring round the capsule while `inside` has the focus, however it came (a
    // text field's).
    void ringFocusOf(QWidget* inside);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
    std::optional<QColor> m_rim;
    FocusRing* m_ring = nullptr;
    double m_radius;
    QHBoxLayout* m_row;
};

} // namespace tessaron
