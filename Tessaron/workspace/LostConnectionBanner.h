#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

class QLabel;

namespace tessaron {

class BrokerSession;

// The band across the top of the workspace while the session has lost its broker: what it last
// said stays on screen, and "Try again" clears the banner and lists the topics again.
class LostConnectionBanner : public QWidget {
    Q_OBJECT
public:
    LostConnectionBanner(BrokerSession* session, const QString& reason, QWidget* parent = nullptr);

    void setReason(const QString& reason);
    QString detailText() const;
    QAbstractButton* tryAgainButton() const { return m_tryAgain; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<BrokerSession> m_session;
    QLabel* m_detail;
    QAbstractButton* m_tryAgain;
};

} // namespace tessaron
