#pragma once

#include <QWidget>

namespace tessaron {

// An empty widget that styles the window it is placed in: the canvas colour as the window's
// background, and the window movable by dragging any part of its background. On Linux the title
// bar belongs to the window manager, so it stays as the desktop draws it. Styling is deferred to a
// later turn of the event loop and repeated after every show; repeating it changes nothing.
class TransparentWindowChrome : public QWidget {
    Q_OBJECT
public:
    explicit TransparentWindowChrome(QWidget* parent = nullptr);

    // Styles the window of `view`; does nothing when `view` is not inside a window of its own.
    static void apply(QWidget* view);

protected:
    bool event(QEvent* event) override;

private:
    void schedule();
};

} // namespace tessaron
