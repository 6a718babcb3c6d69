#pragma once

#include "Tessaron/workspace/ViewFactories.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <functional>

namespace tessaron {

class AppState;

// Presents the sheets over the main window, one at a time, in order of precedence: the first-run
// introduction while not onboarded, the notes of a new version, the broker form while AppState
// has a broker under edit. Each is a window-modal dialog opened with open(); when one closes, by
// any means, its state is written back (onboarded, notes seen, nothing under edit) and the next
// due sheet comes up. The sheets come from `views`.
class SheetController : public QObject {
    Q_OBJECT
public:
    enum class Sheet { none, introduction, whatsNew, brokerForm };

    SheetController(AppState* app, const ViewFactories& views, QWidget* host);
    ~SheetController() override;

    // Called once when the host is first shown: asks for the pending notes and presents what is due.
    void start();
    // Goes on under `host`, which replaces the current one, with the sheet on screen as it is: the
    // sheets are the window's, so they outlive the host.
    void moveTo(QWidget* host);

    Sheet current() const { return m_current ? m_currentSheet : Sheet::none; }
    QDialog* currentDialog() const { return m_current; }

signals:
    void currentChanged();

private:
    void evaluate();
    void scheduleEvaluate();
    void present(QDialog* dialog, Sheet sheet);
    void closed(Sheet sheet, QDialog* dialog);
    bool due(Sheet sheet) const;

    AppState* m_app;
    ViewFactories::Sheet m_introduction;
    ViewFactories::Sheet m_whatsNewView;
    ViewFactories::Sheet m_brokerForm;
    QWidget* m_host;
    bool m_started = false;
    bool m_evaluateQueued = false;
    QPointer<QDialog> m_current;
    Sheet m_currentSheet = Sheet::none;
    QPointer<QDialog> m_whatsNew;
};

} // namespace tessaron
