#pragma once

#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QLabel;

namespace tessaron {

class BrokerSession;

// How messages reach the selected RabbitMQ queue: one chip per binding (exchange and routing
// key), a warning when nothing is bound, or a note when the bindings could not be read. Shows only
// bindings read for the selected queue, so it clears at once when the selection moves.
class BindingStrip : public QWidget {
    Q_OBJECT
public:
    enum class Shows { nothing, failed, unbound, chips };

    explicit BindingStrip(BrokerSession* session, QWidget* parent = nullptr);

    Shows shows() const { return m_shows; }
    // "(default exchange) → jobs" for each chip, for tests.
    QStringList chipTexts() const { return m_chipTexts; }
    bool showsFanOutRemark() const;

private:
    void refresh();

    QPointer<BrokerSession> m_session;
    QHBoxLayout* m_row;
    QWidget* m_content = nullptr;
    Shows m_shows = Shows::nothing;
    QStringList m_chipTexts;
    QLabel* m_remark = nullptr;
};

} // namespace tessaron
