#include "Tessaron/state/AskTopic.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/state/SessionText.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinAI/AIError.h"

#include <QPointer>

namespace tessaron {

namespace {

// Refusals in the clients' own style (short, lower-case), in the language in force.
QString notConnected() { return L10n::t("not connected to this broker"); }
QString kafkaOnly() { return L10n::t("moving a group's offsets needs a Kafka broker"); }
QString noTopic() { return L10n::t("no topic selected"); }

} // namespace

QCoro::Task<AppOutcome> BrokerSession::produce(QString topic, std::optional<QString> key, QString payload,
                                               QString reason)
{
    QPointer<BrokerSession> self(this);
    if (!m_connection)
        co_return AppOutcome::makeRefused(notConnected());
    std::optional<CapturedError> failure;
    if (m_connection->kind() == Connection::rabbit) {
        // The key has no place in a RabbitMQ publish.
        const std::shared_ptr<RabbitClient> rabbit = m_connection->rabbitClient();
        const QByteArray body = payload.toUtf8();
        const QMap<QString, QString> noHeaders;
        try {
            co_await rabbit->publish(topic, body, noHeaders, reason);
        } catch (const std::exception& error) {
            failure = CapturedError::from(error);
        }
    } else {
        std::shared_ptr<KafkaWriting> writer;
        try {
            writer = m_clients->makeWriter(m_broker, m_password, m_clientKeyPassword, clientTimeoutMs);
            std::optional<QByteArray> keyBytes;
            if (key && !key->isEmpty())
                keyBytes = key->toUtf8();
            const QByteArray body = payload.toUtf8();
            const QList<std::pair<QString, QString>> noHeaders;
            const KafkaWriting::Mandate mandate{reason};
            co_await writer->produce(topic, std::nullopt, keyBytes, body, noHeaders, mandate, clientTimeoutMs);
        } catch (const std::exception& error) {
            failure = CapturedError::from(error);
        }
    }
    if (failure && m_broker.kind == BrokerKind::rabbitmq && failure->code == RabbitClient::uncertainCode)
        co_return AppOutcome::makeUncertain(failure->message);
    if (failure)
        co_return AppOutcome::makeRefused(failure->message);
    const QString sentence = L10n::t("Filed on %@. The broker acknowledged it.", topic);
    if (self)
        co_await readLatest();
    co_return AppOutcome::makeDone(sentence);
}

QCoro::Task<AppOutcome> BrokerSession::resetOffsets(QString group, std::optional<Topic> topic, int64_t target,
                                                    QString reason)
{
    QPointer<BrokerSession> self(this);
    const std::optional<Topic> chosen = topic ? topic : currentTopic();
    if (!chosen)
        co_return AppOutcome::makeRefused(noTopic());
    if (m_broker.kind != BrokerKind::kafka)
        co_return AppOutcome::makeRefused(kafkaOnly());
    if (!m_connection)
        co_return AppOutcome::makeRefused(notConnected());

    QMap<int32_t, int64_t> partitions;
    for (const Partition& partition : chosen->partitions)
        partitions.insert(partition.id, target);
    std::optional<CapturedError> failure;
    try {
        const std::shared_ptr<KafkaWriting> writer =
            m_clients->makeWriter(m_broker, m_password, m_clientKeyPassword, clientTimeoutMs);
        const KafkaWriting::Mandate mandate{reason};
        co_await writer->resetOffsets(group, chosen->name, partitions, mandate, false, resetTimeoutMs);
    } catch (const std::exception& error) {
        failure = CapturedError::from(error);
    }
    if (failure)
        co_return AppOutcome::makeRefused(failure->message);
    const QString sentence = L10n::t("%@ will resume from offset %d.", group, target);
    if (self && m_selectedGroup == group)
        co_await loadGroupDetail();
    co_return AppOutcome::makeDone(sentence);
}

QCoro::Task<AppOutcome> BrokerSession::ask(QString question)
{
    const std::optional<Topic> topic = currentTopic();
    if (!topic)
        co_return AppOutcome::makeRefused(noTopic());
    // A copy of what is published now: later reads do not change a question already asked.
    AskTopic::Evidence evidence{*topic, m_messages, m_shapeVerdict, m_groups, 12, 600};
    std::optional<QString> answer;
    QString refusal;
    try {
        answer = co_await AskTopic::ask(question, evidence);
    } catch (const AIError& error) {
        refusal = error.errorDescription();
    } catch (const std::exception& error) {
        refusal = errorMessage(error);
    }
    co_return answer ? AppOutcome::makeDone(*answer) : AppOutcome::makeRefused(refusal);
}

} // namespace tessaron
