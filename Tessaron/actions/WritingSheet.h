#pragma once

#include "Tessaron/state/AppOutcome.h"

#include <QCoroTask>
#include <QDialog>
#include <QPointer>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;

namespace tessaron {

class ActionPage;
class BrokerSession;
class FormHeading;
class KitButton;
class OutcomeBlock;
class WorkingButton;

// What the sheets that write to a broker share: the grave action page, the reason asked under
// "Why", the footer's warning beside Cancel and the acting button, and the outcome shown under the
// form after each write. A write sends the values of its moment while the fields stay editable;
// closed meanwhile, it still completes, and nobody is left to show it.
class WritingSheet : public QDialog {
    Q_OBJECT
public:
    bool isWorking() const { return m_working; }
    int strikes() const { return m_strikes; }
    const std::optional<AppOutcome>& outcome() const { return m_outcome; }

    ActionPage* page() const { return m_page; }
    QLineEdit* reasonField() const { return m_reason; }
    KitButton* cancelButton() const { return m_cancel; }
    OutcomeBlock* outcomeBlock() const { return m_outcomeBlock; }

    // Ends a write with `outcome`: counts it, shows it under the form, scrolls it into view and
    // gives it the focus. The write's own end comes through here.
    void conclude(const AppOutcome& outcome);

protected:
    using Send = std::function<QCoro::Task<AppOutcome>(BrokerSession&)>;

    WritingSheet(const QString& title, const QString& subtitle, bool moves, BrokerSession* session, QWidget* parent);

    BrokerSession* session() const;
    WorkingButton* actButton() const { return m_act; }

    // The "Why" heading numbered `step` and the reason field, with a note under it when asked for.
    void addReason(int step, bool withNote = false);
    // The footer: a warning beside Cancel and the acting button.
    void addFooter();

    // Sets every text from the lookup again: once built, and after each change of language.
    // Overrides set their own texts and call this one.
    virtual void retranslate();
    void setTitles(const QString& title, const QString& subtitle);
    void setReasonTexts(const QString& placeholder, const QString& note = QString());
    // `working` is what the acting button reads while a write runs.
    void setFooterTexts(const QString& warning, const QString& idle, const QString& working);
    // Runs `send` on the session as the sheet's write; does nothing without a session.
    void write(Send send);

    // Enables what may be pressed; called whenever the reason or the write's state changes.
    virtual void refresh() = 0;
    // Called when a write has ended, with the number of writes ended so far.
    virtual void struck(int) { }

private:
    QCoro::Task<> writeTask(Send send);
    void showOutcome();

    QPointer<BrokerSession> m_session;
    std::optional<AppOutcome> m_outcome;
    bool m_working = false;
    bool m_moves;
    int m_strikes = 0;

    ActionPage* m_page;
    FormHeading* m_why = nullptr;
    QLineEdit* m_reason = nullptr;
    QLabel* m_note = nullptr;
    QLabel* m_warning = nullptr;
    KitButton* m_cancel = nullptr;
    WorkingButton* m_act = nullptr;
    OutcomeBlock* m_outcomeBlock = nullptr;
};

} // namespace tessaron
