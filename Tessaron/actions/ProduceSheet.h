#pragma once

#include "Tessaron/actions/ProduceLogic.h"
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
class PayloadEditor;
class WorkingButton;

// Files one message on a topic or queue, a new one or a corrected copy of `source`, once a
// destination, a payload and a reason are given and "File it" is pressed. No key files anything:
// Return in a field does nothing, Escape cancels. The sheet stays open after filing with the
// outcome under the form; closed meanwhile, the filing still completes.
class ProduceSheet : public QDialog {
    Q_OBJECT
public:
    ProduceSheet(std::optional<Message> source, AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    ProduceLogic::Form form() const;
    bool canFile() const;
    bool isWorking() const { return m_working; }
    int strikes() const { return m_strikes; }
    const std::optional<AppOutcome>& outcome() const { return m_outcome; }

    ActionPage* page() const { return m_page; }
    QLineEdit* topicField() const { return m_topic; }
    QLineEdit* keyField() const { return m_key; }
    PayloadEditor* payloadEditor() const { return m_payload; }
    QLineEdit* reasonField() const { return m_reason; }
    WorkingButton* fileButton() const { return m_file; }
    KitButton* cancelButton() const { return m_cancel; }
    QLabel* keyNote() const { return m_keyNote; }
    OutcomeBlock* outcomeBlock() const { return m_outcomeBlock; }

    // "File it": does nothing unless the sheet may file.
    void file();

private:
    QCoro::Task<> fileTask(ProduceLogic::Form form);
    void refresh();
    void showOutcome();

    std::optional<Message> m_source;
    QPointer<BrokerSession> m_session;
    bool m_avro;
    std::optional<AppOutcome> m_outcome;
    bool m_working = false;
    int m_strikes = 0;

    ActionPage* m_page;
    QLineEdit* m_topic;
    QLineEdit* m_key;
    QLabel* m_keyNote;
    PayloadEditor* m_payload;
    QLineEdit* m_reason;
    WorkingButton* m_file;
    KitButton* m_cancel;
    OutcomeBlock* m_outcomeBlock = nullptr;
};

} // namespace tessaron
