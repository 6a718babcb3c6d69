#pragma once

#include "Tessaron/actions/AskLogic.h"
#include "Tessaron/state/AppOutcome.h"

#include <QCoroTask>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPointer>

#include <optional>

class QLabel;

namespace tessaron {

class ActionPage;
class AnswerBlock;
class AppState;
class BrokerSession;
class FlowChips;
class FormHeading;
class KitButton;
class WorkingButton;

// The question field of the Ask sheet: two to four lines high; Return asks, Shift+Return starts a
// new line.
class QuestionEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit QuestionEdit(QWidget* parent = nullptr);

signals:
    void submitted();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fit();
};

// Puts one question about the selected topic to the AI command-line tool, says plainly what leaves
// the computer and for whom, and shows the opinion or why there is none. Closing it while the tool
// works does not stop the question; its answer is simply no longer shown.
class AskSheet : public QDialog {
    Q_OBJECT
public:
    AskSheet(AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    QString question() const;
    bool canAsk() const;
    bool isThinking() const { return m_thinking; }
    int strikes() const { return m_strikes; }
    const std::optional<AppOutcome>& outcome() const { return m_outcome; }
    const AskLogic::Tool& tool() const { return m_tool; }
    // Sets the tool the notice names (the application state's tool in use, followed live).
    void setTool(const AskLogic::Tool& tool);

    ActionPage* page() const { return m_page; }
    QuestionEdit* questionField() const { return m_question; }
    FlowChips* chips() const { return m_chips; }
    QString notice() const;
    WorkingButton* askButton() const { return m_ask; }
    KitButton* closeButton() const { return m_close; }
    AnswerBlock* answerBlock() const { return m_answer; }

    // "Ask": does nothing unless the sheet may ask.
    void ask();
    // Shows a state as an ask would leave it, without asking: for the screens tool.
    void present(const std::optional<AppOutcome>& outcome, bool thinking, int strikes);

protected:
    // "Ask" is the sheet's default button: Return asks from anywhere in it.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QCoro::Task<> askTask(QString question);
    void followTool();
    void refresh();
    void retranslate();
    void showAnswer();

    QPointer<AppState> m_app;
    QPointer<BrokerSession> m_session;
    std::optional<AppOutcome> m_outcome;
    bool m_thinking = false;
    int m_strikes = 0;
    AskLogic::Tool m_tool;

    ActionPage* m_page;
    FormHeading* m_questionHeading;
    FormHeading* m_sendHeading;
    QuestionEdit* m_question;
    FlowChips* m_chips;
    QLabel* m_notice;
    WorkingButton* m_ask;
    KitButton* m_close;
    AnswerBlock* m_answer = nullptr;
};

} // namespace tessaron
