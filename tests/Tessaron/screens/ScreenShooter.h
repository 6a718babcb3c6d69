#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace tessaron {

// Writes one screen in one state to PNG files: "<screen>-<state>.png" at 1x and
// "<screen>-<state>@2x.png" at 2x, both drawn from the same widget (laid out and polished
// first). Each family of screens has one function that builds its screens in their states and
// hands each to shoot().
class ScreenShooter {
public:
    explicit ScreenShooter(QString folder);

    // Shows the widget offscreen if it is not visible, lets pending layout and paint events run,
    // notes its unnamed buttons, and writes both files. Returns false (and records the failure) when a file cannot be written.
    bool shoot(const QString& screen, const QString& state, QWidget* widget);

    QString folder() const { return m_folder; }
    QStringList written() const { return m_written; }
    QStringList failures() const { return m_failures; }
    // "<screen>-<state>: <button>" for every shown button that assistive technology reads unnamed.
    QStringList unnamed() const { return m_unnamed; }

private:
    QString m_folder;
    QStringList m_written;
    QStringList m_failures;
    QStringList m_unnamed;
};

// Runs the event loop until `done` holds or `timeoutMs` have passed, then once more.
void waitUntil(const std::function<bool()>& done, int timeoutMs = 3000);
// Runs the event loop for `ms`, so that entrances and fades come to rest before a picture.
void restFor(int ms);
// Runs the pending events a few times over: layouts that post further layouts settle.
void flushEvents();

} // namespace tessaron
