#pragma once

#include "Tessaron/browser/Capsule.h"

#include <QPointer>

#include <optional>

class QLabel;
class QLineEdit;

namespace tessaron {

class BrokerSession;
class KitButton;

// The search over the messages already read. Every keystroke goes straight into the session's
// search term; while there is a term it shows how many of the messages read match, and a button
// that clears it.
class MessageSearchField : public Capsule {
    Q_OBJECT
public:
    explicit MessageSearchField(BrokerSession* session, QWidget* parent = nullptr);

    // Matches are absent while the term is empty.
    void setCounts(std::optional<qsizetype> matches, qsizetype total);
    QLineEdit* edit() const { return m_edit; }
    QLabel* count() const { return m_count; }
    KitButton* clearButton() const { return m_clear; }

private:
    QPointer<BrokerSession> m_session;
    QLineEdit* m_edit;
    QLabel* m_count;
    KitButton* m_clear;
};

} // namespace tessaron
