#pragma once

#include "Tessaron/actions/ResetLogic.h"
#include "Tessaron/state/AppOutcome.h"

#include <QCoroTask>
#include <QDialog>
#include <QPointer>

#include <optional>

class QLabel;
class QLineEdit;

namespace tessaron {

class ActionPage;
class AppState;
class BrokerSession;
class KitButton;
class OutcomeBlock;
class Slap;
class WorkingButton;

// Moves a consumer group's committed position on one topic: every partition to the typed offset,
// with a reason, on "Move it" only. It warns before anything is sent: partitions whose end lies
// before the target, partitions whose retained start lies after it, a negative target, and a
// group whose state will make the writer refuse. Return does nothing, Escape cancels; closed
// meanwhile, the move still completes.
class ResetOffsetsSheet : public QDialog {
    Q_OBJECT
public:
    ResetOffsetsSheet(ConsumerGroup group, std::optional<Topic> topic, AppState* app, BrokerSession* session,
                      QWidget* parent = nullptr);

    std::optional<Topic> effectiveTopic() const;
    bool canMove() const;
    bool isWorking() const { return m_working; }
    int strikes() const { return m_strikes; }
    const std::optional<AppOutcome>& outcome() const { return m_outcome; }

    ActionPage* page() const { return m_page; }
    QLineEdit* targetField() const { return m_target; }
    KitButton* beginningButton() const { return m_beginning; }
    QLineEdit* reasonField() const { return m_reason; }
    QLabel* scopeLine() const { return m_scope; }
    // The warnings as shown; hidden ones are empty.
    QString pastEndText() const;
    QString beforeStartText() const;
    QString negativeText() const;
    QString groupStateText() const;
    WorkingButton* moveButton() const { return m_move; }
    KitButton* cancelButton() const { return m_cancel; }
    OutcomeBlock* outcomeBlock() const { return m_outcomeBlock; }

    // "Move it": does nothing unless the sheet may move.
    void move();

private:
    QCoro::Task<> moveTask(QString group, Topic topic, int64_t target, QString reason);
    void refresh();
    void showOutcome();

    ConsumerGroup m_group;
    std::optional<Topic> m_topic;
    QPointer<BrokerSession> m_session;
    std::optional<AppOutcome> m_outcome;
    bool m_working = false;
    int m_strikes = 0;

    ActionPage* m_page;
    QLineEdit* m_target;
    KitButton* m_beginning;
    QLabel* m_scope;
    QWidget* m_pastEnd;
    QWidget* m_beforeStart;
    QWidget* m_negative;
    QWidget* m_state;
    Slap* m_slap = nullptr;
    QLineEdit* m_reason;
    WorkingButton* m_move;
    KitButton* m_cancel;
    OutcomeBlock* m_outcomeBlock = nullptr;
};

} // namespace tessaron
