#pragma once

#include "Tessaron/actions/ResetLogic.h"
#include "Tessaron/actions/WritingSheet.h"

class QLabel;
class QTimer;

namespace tessaron {

class AppState;
class FormHeading;
class Slap;

// Moves a consumer group's committed position on one topic: every partition to the typed offset,
// or each to its own start ("The beginning", where it opens), with a reason, on "Move it" only.
// Before anything is sent it warns of partitions whose end lies before the target and of a group
// whose state will make the writer refuse, and refuses a negative target and one before some
// partition's retained start. While it is open the topic's ends are asked for
// again every few seconds, so the warnings judge the partitions as they are now. Return does
// nothing, Escape cancels; closed meanwhile, the move still completes.
class ResetOffsetsSheet : public WritingSheet {
    Q_OBJECT
public:
    ResetOffsetsSheet(ConsumerGroup group, std::optional<Topic> topic, AppState* app, BrokerSession* session,
                      QWidget* parent = nullptr);

    std::optional<Topic> effectiveTopic() const;
    bool canMove() const;

    QLineEdit* targetField() const { return m_target; }
    // "The beginning" is chosen: the field is empty and each partition moves to its own start.
    bool fromBeginning() const { return m_fromBeginning; }
    KitButton* beginningButton() const { return m_beginning; }
    QLabel* scopeLine() const { return m_scope; }
    // The warnings as shown; hidden ones are empty.
    QString pastEndText() const;
    QString beforeStartText() const;
    QString negativeText() const;
    QString groupStateText() const;
    WorkingButton* moveButton() const { return actButton(); }

    // "Move it": does nothing unless the sheet may move.
    void move();

    static constexpr int endsInterval = 5000;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Asks the session for the topic's partitions' ends again, one request at a time.
    void refreshEnds();
    void refresh() override;
    void retranslate() override;
    void struck(int strikes) override;

    ConsumerGroup m_group;
    std::optional<Topic> m_topic;

    QLineEdit* m_target;
    bool m_fromBeginning = true;
    FormHeading* m_resumeHeading;
    KitButton* m_beginning;
    QLabel* m_scope;
    QWidget* m_pastEnd;
    QWidget* m_beforeStart;
    QWidget* m_negative;
    QWidget* m_state;
    Slap* m_slap = nullptr;
    QTimer* m_ends;
    bool m_askingEnds = false;
};

} // namespace tessaron
