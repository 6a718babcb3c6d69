#pragma once

#include "Tessaron/intro/IntroLogic.h"
#include "VelkinUI/Motion.h"

#include <QWidget>

class QLabel;
class QStackedLayout;

namespace tessaron {

class Gavel;
class KitButton;
class PanelSurface;

// The second chapter: four fictional orders, one of which changed the type of its total. The
// real shape analysis decides which row is the culprit; solving is reported once.
class WelcomeCase : public QWidget {
    Q_OBJECT
public:
    explicit WelcomeCase(bool solved, QWidget* parent = nullptr);

    const intro::CaseState& state() const { return m_state; }
    void pick(int index);
    void askForHelp() { pick(intro::helpIndex); }

    QList<KitButton*> rows() const { return m_rows; }
    KitButton* helpButton() const { return m_help; }
    Gavel* gavel() const { return m_gavel; }

signals:
    void solvedCase();

private:
    void sync(const Motion& motion = Motion::none());
    // The "LAWYERED!" entrance when the case is solved here (not when it was solved before).
    void stampLawyered();

    intro::CaseState m_state;
    QList<KitButton*> m_rows;
    QList<QLabel*> m_rowTexts;
    KitButton* m_help = nullptr;
    Gavel* m_gavel;
    QLabel* m_notesTitle;
    PanelSurface* m_notes;
    QWidget* m_unsolved;
    QLabel* m_lead;
    QLabel* m_hint;
    QWidget* m_solvedBox;
    QLabel* m_lawyered;
};

} // namespace tessaron
