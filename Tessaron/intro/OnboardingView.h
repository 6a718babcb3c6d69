#pragma once

#include "TessaronCore/model/Broker.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/Motion.h"

#include <QDialog>
#include <QPointer>
#include <QSet>

#include <functional>
#include <optional>

class QHBoxLayout;
class QLabel;
class QScrollArea;

namespace tessaron {

class AppState;
class KitButton;
class WelcomeConfetti;

// The first-run introduction: six chapters over the main window with a rail to jump between
// them, Back, and a primary button that advances (Return does too) and finishes on the last.
// Finishing or skipping records the running version's notes as seen and the introduction as done.
// A page is rebuilt each time its chapter is entered; what the chapters hand back (the case
// solved, a saved broker, the agreement) lives here for the whole presentation.
class OnboardingView : public QDialog {
    Q_OBJECT
public:
    static constexpr int chapterCount = 6;
    static QStringList chapterKeys();

    explicit OnboardingView(AppState* app, QWidget* parent = nullptr);
    ~OnboardingView() override;

    int step() const { return m_step; }
    QSet<int> visited() const { return m_visited; }
    bool backwards() const { return m_backwards; }
    bool solved() const { return m_solved; }
    bool isSigned() const { return m_signed; }
    const std::optional<Broker>& savedBroker() const { return m_savedBroker; }
    int celebrations() const { return m_celebrations; }

    void goTo(int target);
    void advance();
    void goBack();
    void celebrate();
    void finish();
    // Escape, or any other dismissal, skips the introduction: the finish sequence.
    void reject() override;
    void signAgreement();
    void setSolved(bool solved);
    void setSavedBroker(const std::optional<Broker>& broker);

    // The parts tests drive.
    QWidget* page() const { return m_page; }
    KitButton* primaryButton() const { return m_primary; }
    KitButton* backButton() const { return m_back; }
    KitButton* exploreButton() const { return m_explore; }
    const QList<KitButton*>& railButtons() const { return m_rail; }
    WelcomeConfetti* confetti() const { return m_confetti; }
    QLabel* subtitle() const { return m_subtitle; }
    // The high-five button of the last chapter, while it is shown.
    KitButton* highFive() const { return m_highFive; }
    QList<QLabel*> summaryRows() const { return m_summary; }

    // Starts the AI availability check when the introduction ends (tests count it instead).
    std::function<void(AppState*)> refreshAI;

signals:
    void stepChanged();
    void stateChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildTopBar();
    QWidget* buildFooter();
    QWidget* buildPage(int step);
    QWidget* buildPartners();
    void showPage();
    // Builds the current chapter's page in the scroll area, without its entrance.
    QWidget* placePage();
    // Sets the top bar's and the footer's fixed texts from the lookup again.
    void retranslate();
    void followLanguage();
    void syncChrome();
    void syncPartners(const Motion& motion = Motion::none());

    QPointer<AppState> m_app;
    int m_step = 0;
    QSet<int> m_visited{0};
    bool m_solved = false;
    bool m_signed = false;
    std::optional<Broker> m_savedBroker;
    int m_celebrations = 0;
    bool m_backwards = false;
    bool m_finishing = false;

    QScrollArea* m_area = nullptr;
    QPointer<QWidget> m_page;
    WelcomeConfetti* m_confetti = nullptr;
    QList<KitButton*> m_rail;
    QLabel* m_firstDay = nullptr;
    KitButton* m_explore = nullptr;
    KitButton* m_back = nullptr;
    KitButton* m_primary = nullptr;
    QLabel* m_counter = nullptr;
    QLabel* m_chapterName = nullptr;
    QLabel* m_subtitle = nullptr;
    QPointer<KitButton> m_highFive;
    QPointer<QWidget> m_card;
    QPointer<QLabel> m_highFiveText;
    QList<QLabel*> m_summary;
    bool m_railShown = false;
};

} // namespace tessaron
