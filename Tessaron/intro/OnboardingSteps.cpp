// Moving through the introduction: the steps, the agreement, the end and the keys.
#include "Tessaron/kit/SheetFit.h"
#include "Tessaron/intro/OnboardingView.h"

#include "Tessaron/intro/IntroLogic.h"
#include "Tessaron/intro/IntroWidgets.h"
#include "Tessaron/intro/WelcomeAI.h"
#include "Tessaron/intro/WelcomeCase.h"
#include "Tessaron/intro/WelcomeConnection.h"
#include "Tessaron/intro/WelcomeGroundRules.h"
#include "Tessaron/intro/WelcomeIntroduction.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/intro/WelcomeConfetti.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/kit/ViewMotion.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/LogoMark.h"
#include "VelkinUI/MotionAnimation.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/TransformEffect.h"

#include <QCoroTask>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVariantAnimation>
#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

void OnboardingView::goTo(int target)
{
    const int clamped = std::clamp(target, 0, chapterCount - 1);
    m_backwards = target < m_step;
    if (clamped == m_step)
        return;
    m_step = clamped;
    m_visited.insert(clamped);
    showPage();
    emit stepChanged();
}

void OnboardingView::advance()
{
    if (m_step == chapterCount - 1)
        finish();
    else
        goTo(m_step + 1);
}

void OnboardingView::goBack() { goTo(m_step - 1); }

void OnboardingView::celebrate()
{
    ++m_celebrations;
    m_confetti->setTrigger(m_celebrations);
    emit stateChanged();
}

void OnboardingView::finish()
{
    if (m_finishing)
        return;
    m_finishing = true;
    UserDefaults::standard().setString(Prefs::lastSeenVersion, intro::runningVersion());
    UserDefaults::standard().setBool(Prefs::onboarded, true);
    if (refreshAI && m_app)
        refreshAI(m_app);
    accept();
}

void OnboardingView::reject() { finish(); }

void OnboardingView::signAgreement()
{
    if (m_signed)
        return;
    m_signed = true;
    syncPartners(intro::introSpring(this));
    celebrate();
}

void OnboardingView::setSolved(bool solved)
{
    if (m_solved == solved)
        return;
    m_solved = solved;
    syncChrome();
    emit stateChanged();
}

void OnboardingView::setSavedBroker(const std::optional<Broker>& broker)
{
    m_savedBroker = broker;
    syncChrome();
    emit stateChanged();
}

void OnboardingView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Return in a text field only ends the edit; elsewhere it is the primary button's.
        if (auto* edit = qobject_cast<QLineEdit*>(focusWidget())) {
            edit->clearFocus();
            setFocus();
            event->accept();
            return;
        }
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            event->accept();
            advance();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

} // namespace tessaron
