#include "Tessaron/app/SheetController.h"
#include "Tessaron/kit/FocusReturn.h"

#include "Tessaron/state/AppState.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QTimer>

namespace tessaron {

namespace {
bool onboarded() { return UserDefaults::standard().boolean(Prefs::onboarded).value_or(false); }
} // namespace

SheetController::SheetController(AppState* app, const ViewFactories& views, QWidget* host)
    : QObject(host)
    , m_app(app)
    , m_introduction(views.introduction)
    , m_whatsNewView(views.whatsNew)
    , m_brokerForm(views.brokerForm)
    , m_host(host)
{
    connect(m_app, &AppState::editingChanged, this, &SheetController::scheduleEvaluate);
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == Prefs::onboarded)
            scheduleEvaluate();
    });
}

SheetController::~SheetController()
{
    // The host is going away (a rebuild of the window): its sheets go with it, and closing them
    // this way is not the user closing them, so nothing is written back.
    if (m_current) {
        m_current->disconnect(this);
        m_current->hide();
        m_current->deleteLater();
    }
    if (m_whatsNew && m_whatsNew != m_current)
        m_whatsNew->deleteLater();
}

void SheetController::moveTo(QWidget* host)
{
    setParent(host);
    m_host = host;
}

void SheetController::start()
{
    if (m_started)
        return;
    m_started = true;
    // Whether notes are pending is decided once, when the window first shows: finishing the
    // introduction later in the same run does not bring them up.
    if (onboarded())
        m_whatsNew = m_whatsNewView(m_app, m_host->window());
    if (m_whatsNew)
        m_whatsNew->hide();
    scheduleEvaluate();
}

bool SheetController::due(Sheet sheet) const
{
    switch (sheet) {
    case Sheet::introduction:
        return !onboarded();
    case Sheet::whatsNew:
        return bool(m_whatsNew);
    case Sheet::brokerForm:
        return m_app->editing().has_value();
    case Sheet::none:
        break;
    }
    return false;
}

void SheetController::scheduleEvaluate()
{
    if (m_evaluateQueued || !m_started)
        return;
    m_evaluateQueued = true;
    // After the current event: a sheet that just closed has finished closing, and a burst of
    // changes is seen as one.
    QTimer::singleShot(0, this, [this] {
        m_evaluateQueued = false;
        evaluate();
    });
}

void SheetController::evaluate()
{
    if (m_current) {
        // A sheet whose flag went down closes (a saved or forgotten broker clears the edit).
        if (!due(m_currentSheet))
            m_current->reject();
        return;
    }
    if (due(Sheet::introduction))
        present(m_introduction(m_app, m_host->window()), Sheet::introduction);
    else if (due(Sheet::whatsNew))
        present(m_whatsNew, Sheet::whatsNew);
    else if (due(Sheet::brokerForm))
        present(m_brokerForm(m_app, m_host->window()), Sheet::brokerForm);
}

void SheetController::present(QDialog* dialog, Sheet sheet)
{
    if (!dialog) {
        // A factory that built nothing: write its state back as if it had closed, so it is not asked again.
        closed(sheet, nullptr);
        return;
    }
    m_current = dialog;
    m_currentSheet = sheet;
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::finished, this, [this, sheet, dialog] { closed(sheet, dialog); });
    FocusReturn::track(dialog);
    dialog->open();
    emit currentChanged();
}

void SheetController::closed(Sheet sheet, QDialog* dialog)
{
    switch (sheet) {
    case Sheet::introduction:
        UserDefaults::standard().setBool(Prefs::onboarded, true);
        break;
    case Sheet::whatsNew:
        m_whatsNew = nullptr;
        break;
    case Sheet::brokerForm:
        m_app->setEditing(std::nullopt);
        break;
    case Sheet::none:
        break;
    }
    if (dialog) {
        dialog->disconnect(this);
        dialog->deleteLater();
    }
    if (m_current == dialog) {
        m_current = nullptr;
        m_currentSheet = Sheet::none;
        emit currentChanged();
    }
    scheduleEvaluate();
}

} // namespace tessaron
