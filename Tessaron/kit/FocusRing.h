#pragma once

#include <QObject>

class QPainter;
class QRectF;
class QWidget;

namespace tessaron {

// The kit's keyboard focus ring: an accent line with a dark line just inside it, so it shows on the
// panels and on a control filled with the accent colour alike. The application's style draws it for
// PE_FrameFocusRect; a widget that draws itself draws it with draw().
//
// An instance follows one widget's focus and says whether the ring shows. Focus the keyboard gave
// (Tab, Backtab, a shortcut) or used (a key pressed there) shows it; focus from a click does not, since a clicked chip or row
// already shows its selection and a second outline would read as a second one. A text field shows
// it however the focus came (Shown::always): typing goes where the ring is.
class FocusRing : public QObject {
    Q_OBJECT
public:
    enum class Shown { byKeyboard, always };

    // Set on a widget whose focus shows (a ring follows it, or it marks its current row): the
    // application's style then adds none of its own.
    static constexpr const char* ownRing = "tessaronOwnFocusRing";

    // Follows `focused` and repaints `painter` (the widget that draws the ring; `focused` when null)
    // whenever the focus comes or goes.
    explicit FocusRing(QWidget* focused, Shown when = Shown::byKeyboard, QWidget* painter = nullptr);

    bool shown() const;
    // Whether the ring that follows `focused` shows (false when none follows it).
    static bool shownOn(const QWidget* focused);

    static void draw(QPainter& painter, const QRectF& rect, double radius);
    // A ring round the edge of `over`, drawn above its children, while `focused` shows one (for an
    // area whose content covers its own ground, as a scroll area's page covers its viewport). None
    // when a ring follows `focused` already.
    static void overlay(QWidget* focused, QWidget* over, double radius);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_focused;
    QWidget* m_painter;
    Shown m_when;
    bool m_byKeyboard = false;
};

} // namespace tessaron
