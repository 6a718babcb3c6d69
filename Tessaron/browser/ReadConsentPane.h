#pragma once

#include "Tessaron/browser/QueueReadTerms.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace tessaron {

class BrokerSession;
class KitButton;

// Stands in for the messages of a RabbitMQ queue until the user accepts, once per open broker,
// that looking at a message takes it and puts it back marked as redelivered. "Read it anyway"
// records the consent in the session (never on disk) and reads the newest messages. A queue the
// client refuses to read shows the client's sentence instead, with nothing to accept.
class ReadConsentPane : public QWidget {
    Q_OBJECT
public:
    explicit ReadConsentPane(BrokerSession* session, QWidget* parent = nullptr);

    void setTerms(const QueueReadTerms& terms);
    const QueueReadTerms& terms() const { return m_terms; }
    KitButton* readButton() const { return m_read; }

private:
    void readAnyway();

    QPointer<BrokerSession> m_session;
    QueueReadTerms m_terms;
    QWidget* m_consent;
    QWidget* m_deliveryCount;
    KitButton* m_read;
    QWidget* m_refusal;
    QLabel* m_refusalText;
};

} // namespace tessaron
