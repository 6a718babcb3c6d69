#pragma once

#include "support/FaceAudit.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

#include <functional>

class QWidget;

namespace tessaron {

// Writes one screen in one state to PNG files: "<screen>-<state>.png" at 1x and
// "<screen>-<state>@2x.png" at 2x, both drawn from the same widget (laid out and polished
// first). Each family of screens has one function that builds its screens in their states and
// hands each to shoot().
//
// Audit mode writes no file: each screen is set in a main window of the size given (a window-sized
// screen takes that size, a sheet at most that size), then the face audit runs over it at 1x and
// 2x and what it finds is kept; then every Tab stop of the window must change visibly when focused.
class ScreenShooter {
public:
    explicit ScreenShooter(QString folder);
    // Audits instead of writing; `label` (language and size) goes into every report.
    ScreenShooter(QSize window, QString label);

    // Shows the widget offscreen if it is not visible, lets pending layout and paint events run,
    // and writes both files. Returns false (and records the failure) when a file cannot be written.
    // In audit mode `outcome`, when given, must also lie within what the sheet shows.
    bool shoot(const QString& screen, const QString& state, QWidget* widget, QWidget* outcome = nullptr);

    QString folder() const { return m_folder; }
    QStringList written() const { return m_written; }
    QStringList failures() const { return m_failures; }
    bool auditing() const { return m_window.has_value(); }
    QList<testing::FaceViolation> violations() const { return m_violations; }
    int audited() const { return m_audited; }
    // "<screen>-<state>: <button>" for every shown button that assistive technology reads unnamed.
    QStringList unnamed() const { return m_unnamed; }

private:
    void audit(const QString& where, QWidget* widget, QWidget* outcome);
    // Tabs round the window that shows `widget`: every stop must change visibly when focused.
    // The focus and its keyboard look are put back after, so later states are pictured as before.
    void auditFocus(const QString& where, QWidget* widget);

    std::optional<QSize> m_window;
    QString m_label;
    QList<testing::FaceViolation> m_violations;
    int m_audited = 0;
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
// Runs the event loop until no widget under `root` has moved for a few passes, at most `timeoutMs`.
void settleLayout(QWidget* root, int timeoutMs = 250);
// Shows `root` and waits for the briefing's chart in it to finish fading in: it fades in only once
// shown, and a picture taken during the fade shows a card that is not there yet.
void showBriefingChart(QWidget* root);

} // namespace tessaron
