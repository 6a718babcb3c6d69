#pragma once

#include <QPointer>
#include <QWidget>

namespace tessaron {

// Gives the keyboard focus back when a sheet or popover closes: to the control that opened it, or,
// when that control went meanwhile (the view behind the sheet was rebuilt), to the one now in its
// place (the same object name and "topic"), else to the nearest control still there around where
// it was. Without it the focus would be nowhere the keyboard can see: Qt hands it back only to a
// control that still exists.
class FocusReturn : public QObject {
    Q_OBJECT

public:
    // Follows `window` (a dialog or a popup) from now on; `opener` is the control the focus goes back
    // to, by default the one that has it now. Once per window: a second call replaces the opener.
    static void track(QWidget* window, QWidget* opener = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Opener {
        QPointer<QWidget> control;
        QPointer<QWidget> window;
        QString key;
        // The control's ancestors, nearest first, for when it is gone.
        QList<QPointer<QWidget>> ancestors;
    };

    FocusReturn(QWidget* window, QWidget* opener);
    static Opener remembered(QWidget* control);
    static void giveBack(const Opener& opener, const QWidget* closed);
    static QWidget* replacement(const Opener& opener);

    QWidget* m_window;
    Opener m_opener;
};

} // namespace tessaron
