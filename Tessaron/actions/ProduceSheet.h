#pragma once

#include "Tessaron/actions/ProduceLogic.h"
#include "Tessaron/actions/WritingSheet.h"

class QLabel;

namespace tessaron {

class AppState;
class FormHeading;
class PayloadEditor;

// Files one message on a topic or queue, a new one or a corrected copy of `source`, once a
// destination, a payload and a reason are given and "File it" is pressed. No key files anything:
// Return in a field does nothing, Escape cancels. The sheet stays open after filing with the
// outcome under the form; closed meanwhile, the filing still completes.
class ProduceSheet : public WritingSheet {
    Q_OBJECT
public:
    ProduceSheet(std::optional<Message> source, AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    ProduceLogic::Form form() const;
    bool canFile() const;

    QLineEdit* topicField() const { return m_topic; }
    QLineEdit* keyField() const { return m_key; }
    PayloadEditor* payloadEditor() const { return m_payload; }
    WorkingButton* fileButton() const { return actButton(); }
    QLabel* keyNote() const { return m_keyNote; }

    // "File it": does nothing unless the sheet may file.
    void file();

private:
    void refresh() override;
    void retranslate() override;

    std::optional<Message> m_source;
    // An Avro or cut source: nothing is filed from this sheet.
    bool m_refused;
    // RabbitMQ publishes without a key: the sheet offers none.
    bool m_keyed;

    FormHeading* m_where;
    FormHeading* m_what;
    QLineEdit* m_topic;
    QLineEdit* m_key;
    QLabel* m_keyNote;
    PayloadEditor* m_payload;
};

} // namespace tessaron
