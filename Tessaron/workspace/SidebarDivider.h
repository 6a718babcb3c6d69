#pragma once

#include <QWidget>

#include <optional>

namespace tessaron {

class UserDefaults;

// The resizing rule of the sidebar's divider, apart from the pointer: a press that has moved less
// than 10 points changes nothing; after that every move sets the width to the width at the first
// move plus the whole horizontal travel since the press, clamped to 250…440 and stored at once.
class DividerDrag {
public:
    static constexpr double threshold = 10;

    explicit DividerDrag(UserDefaults& store);

    void press(QPointF at);
    // Returns the width written, or nothing while the drag has not started.
    std::optional<double> move(QPointF to);
    void release();
    bool isDragging() const { return m_dragStart.has_value(); }

private:
    UserDefaults& m_store;
    std::optional<QPointF> m_pressedAt;
    std::optional<double> m_dragStart;
};

// The 11-point-wide grip over the divider line, with the left-right resize cursor.
class SidebarDivider : public QWidget {
    Q_OBJECT
public:
    static constexpr int gripWidth = 11;

    SidebarDivider(UserDefaults& store, QWidget* parent = nullptr);
    DividerDrag& drag() { return m_drag; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    DividerDrag m_drag;
};

} // namespace tessaron
