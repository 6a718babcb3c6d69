#pragma once

#include <QCoroTask>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <optional>

class QHBoxLayout;

namespace tessaron {

class BrokerSession;
class FlowRow;

// One chip per consumer group of the broker with its lag on the open topic; a chip opens its
// group. Lags are measured one group at a time. A new topic or a changed group list starts the
// measuring afresh, as does a fresh read of the topic and a listing; an answer measured for an
// earlier run is never shown.
class GroupLagStrip : public QWidget {
    Q_OBJECT
public:
    explicit GroupLagStrip(BrokerSession* session, QWidget* parent = nullptr);

    // The topic whose lags are measured; a new name restarts the run.
    void setTopic(const QString& topic);
    const QString& topic() const { return m_topic; }

    // Measured lags of the current run: a number, or no number when the lag cannot be seen. A
    // group without an entry is still waiting.
    const QHash<QString, std::optional<int64_t>>& lags() const { return m_lags; }
    QStringList chipIDs() const;
    // The chip of a group, to click.
    QWidget* chip(const QString& group) const;
    bool isMeasuring() const { return m_running; }

private:
    void restart();
    void rebuild();
    void showLag(const QString& group);
    QCoro::Task<> run();

    QPointer<BrokerSession> m_session;
    QString m_topic;
    FlowRow* m_row;
    QHash<QString, QWidget*> m_chips;
    QStringList m_order;
    QHash<QString, std::optional<int64_t>> m_lags;
    QStringList m_pending;
    quint64 m_generation = 0;
    // The run in force when the listing began.
    quint64 m_listingAt = 0;
    bool m_running = false;
};

} // namespace tessaron
