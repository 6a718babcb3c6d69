#pragma once

#include <QFrame>
#include <QPainterPath>

namespace tessaron {

// The look of every popover: a frameless Qt::Popup whose rounded body carries an arrow pointing at
// the control it hangs from. It opens below that control, or above it (arrow down) when there is no
// room below, kept on the control's screen. The window is shaped to the body and arrow, so no
// rectangle shows round them where no compositor blends a translucent window. Subclasses lay their
// content out in it; the frame's contents margins leave the arrow its room.
class PopoverFrame : public QFrame {
    Q_OBJECT
public:
    static constexpr int arrowHeight = 7;

    explicit PopoverFrame(QWidget* parent = nullptr);

    // Shows the popover at its laid-out size, hanging from `anchor`.
    void popUp(QWidget* anchor);
    // Where the arrow's tip sits, in the popover's coordinates, and whether it points up.
    QPoint arrowTip() const;
    bool arrowPointsUp() const { return m_arrowUp; }
    // The rounded body with its arrow, as painted.
    QPainterPath outline() const;

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void pointArrow(bool up);
    void fit();
    void shape();

    int m_arrowX = 0;
    bool m_arrowUp = true;
};

} // namespace tessaron
