#include "Tessaron/state/AskTopic.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/state/SessionText.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/InterfaceLocale.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinAI/AIError.h"

#include <QCoroTimer>
#include <QPointer>

#include <chrono>

namespace tessaron {

namespace {

// Refusals in the clients' own style (short, lower-case), in the language in force.
QString notConnected() { return L10n::t("not connected to this broker"); }
QString kafkaOnly() { return L10n::t("moving a group's offsets needs a Kafka broker"); }
QString noTopic() { return L10n::t("no topic selected"); }

// The broker's answers to a commit from outside a group that has members.
constexpr int32_t unknownMemberId = 25;
constexpr int32_t rebalanceInProgress = 27;

// A stock RabbitMQ node counts its queues every 5 s: asking each second for a little longer sees
// a filing counted.
constexpr int depthFollowSeconds = 7;

// In the reset sheet's words, with the starts read when the move is made.
QString beforeStartRefusal(const QList<Partition>& before)
{
    int64_t latest = before.constFirst().low;
    QStringList names;
    for (const Partition& p : before) {
        latest = std::max(latest, p.low);
        names << QStringLiteral("p%1").arg(p.id);
    }
    if (before.size() == 1)
        return L10n::t("Before the start of p%d, which now begins at %@: its older messages were deleted, so that "
                       "offset no longer exists. Type %@ or more, or choose “The beginning”.",
                       before.constFirst().id, L10n::interfaceLocale().toString(qlonglong(latest)),
                       QString::number(latest));
    return L10n::t("Before the start of %d partitions (%@): their older messages were deleted, so that offset no "
                   "longer exists. Type %@ or more, or choose “The beginning”.",
                   before.size(), names.join(QStringLiteral(", ")), QString::number(latest));
}

std::optional<int64_t> listedDepth(const QList<Topic>& topics, const QString& name)
{
    for (const Topic& topic : topics) {
        if (topic.name == name)
            return topic.declaredDepth;
    }
    return std::nullopt;
}

} // namespace

QCoro::Task<> BrokerSession::send(QString topic, std::optional<QString> key, QString payload, QString reason)
{
    const QByteArray body = payload.toUtf8();
    if (m_connection->kind() == Connection::rabbit) {
        // The key has no place in a RabbitMQ publish.
        const std::shared_ptr<RabbitClient> rabbit = m_connection->rabbitClient();
        const QMap<QString, QString> noHeaders;
        co_await rabbit->publish(topic, body, noHeaders, reason);
        co_return;
    }
    const std::shared_ptr<KafkaWriting> writer =
        m_clients->makeWriter(m_broker, m_password, m_clientKeyPassword, clientTimeoutMs);
    std::optional<QByteArray> keyBytes;
    if (key && !key->isEmpty())
        keyBytes = key->toUtf8();
    const QList<std::pair<QString, QString>> noHeaders;
    const KafkaWriting::Mandate mandate{reason};
    co_await writer->produce(topic, std::nullopt, keyBytes, body, noHeaders, mandate, clientTimeoutMs);
}

QCoro::Task<AppOutcome> BrokerSession::produce(QString topic, std::optional<QString> key, QString payload,
                                               QString reason)
{
    QPointer<BrokerSession> self(this);
    if (!m_connection)
        co_return AppOutcome::makeRefused(notConnected());
    // The sheet may be gone and the tab closed before the broker answers: nothing of the session
    // is read after the write unless it still exists.
    const bool rabbit = m_connection->kind() == Connection::rabbit;
    const std::optional<int64_t> before = rabbit ? listedDepth(m_topics, topic) : std::nullopt;
    auto sending = attempt(send(topic, key, payload, reason));
    const auto [failure] = co_await std::move(sending);
    // A RabbitMQ server gone mid-publish is a lost connection like any other.
    if (failure && rabbit && failure->lostConnection && self)
        setLostConnection(failure->message);
    if (failure && (failure->uncertain || (rabbit && failure->code == RabbitClient::uncertainCode)))
        co_return AppOutcome::makeUncertain(failure->message);
    if (failure)
        co_return AppOutcome::makeRefused(failure->message);
    const QString sentence = L10n::t("Filed on %@. The broker acknowledged it.", L10n::isolated(topic));
    if (self)
        co_await refreshCounts(topic);
    // The listing may predate the node's next count; ask again until the filing shows.
    if (self && rabbit && m_connection && listedDepth(m_topics, topic) == before)
        startDetached(followDepth(topic, before));
    if (self)
        co_await readLatest();
    co_return AppOutcome::makeDone(sentence);
}

QCoro::Task<> BrokerSession::refreshCounts(QString name)
{
    if (!m_connection)
        co_return;
    if (m_connection->kind() == Connection::rabbit) {
        // One request lists every queue with its depth.
        co_await loadTopics();
        co_return;
    }
    std::optional<Topic> listed;
    for (const Topic& topic : std::as_const(m_topics)) {
        if (topic.name == name)
            listed = topic;
    }
    if (!listed)
        co_return;
    QPointer<BrokerSession> self(this);
    const quint64 generation = m_listGeneration;
    const std::shared_ptr<KafkaReading> kafka = m_connection->kafkaClient();
    auto marking = attempt(kafka->watermarks(*listed, clientTimeoutMs));
    auto [marked, failure] = co_await std::move(marking);
    // A write never reports a failure of its own aftermath; a listing since then is newer.
    if (!self || !marked || generation != m_listGeneration)
        co_return;
    QList<Topic> topics = m_topics;
    for (Topic& topic : topics) {
        if (topic.name == name)
            topic = *marked;
    }
    m_watermarked.insert(name);
    setTopics(topics);
}

QCoro::Task<> BrokerSession::followDepth(QString queue, std::optional<int64_t> before)
{
    QPointer<BrokerSession> self(this);
    const std::shared_ptr<RabbitClient> rabbit = m_connection ? m_connection->rabbitClient() : nullptr;
    if (!rabbit)
        co_return;
    auto sameConnection = [&] { return self && m_connection && m_connection->rabbitClient() == rabbit; };
    for (int second = 0; second < depthFollowSeconds; ++second) {
        co_await QCoro::sleepFor(std::chrono::seconds(1));
        if (!sameConnection())
            co_return;
        auto asking = attempt(rabbit->depth(queue));
        auto [depth, failure] = co_await std::move(asking);
        // A write never reports a failure of its own aftermath: the next listing will.
        if (!sameConnection() || failure)
            co_return;
        if (!*depth)
            continue;
        QList<Topic> topics = m_topics;
        for (Topic& topic : topics) {
            if (topic.name == queue)
                topic.declaredDepth = **depth;
        }
        setTopics(topics);
        if (**depth != before.value_or(0))
            co_return;
    }
}

QCoro::Task<> BrokerSession::moveOffsets(QString group, Topic topic, std::optional<int64_t> target, QString reason)
{
    if (target && *target < 0)
        throw KafkaError(-1, L10n::t("An offset can't be negative. Type 0 or more, or choose “The beginning”."));
    const std::shared_ptr<KafkaWriting> writer =
        m_clients->makeWriter(m_broker, m_password, m_clientKeyPassword, clientTimeoutMs);
    // Taken now: the tab may close or disconnect while the move waits on the broker.
    const std::shared_ptr<KafkaReading> kafka = m_connection ? m_connection->kafkaClient() : nullptr;
    // Asked here as well as by the writer, so the refusal reads in the interface's language.
    const QString state = co_await writer->groupState(group, clientTimeoutMs);
    if (state != QLatin1String("Empty"))
        throw KafkaError(-1,
                         L10n::t("Offsets can only be reset while %@ is inactive, but it is %@. Stop its consumers "
                                 "first — moving the position of a running group makes it reprocess, and it will "
                                 "commit over this within seconds anyway.",
                                 L10n::isolated(group), state));
    // Each partition's start as the broker holds it now, for a typed offset too: one written
    // before the start names a position that no longer exists. One that cannot be read stops the move.
    if (!kafka)
        throw KafkaError(-1, notConnected());
    const Topic ends = co_await kafka->watermarks(topic, clientTimeoutMs);
    QMap<int32_t, int64_t> partitions;
    QList<Partition> before;
    for (const Partition& partition : ends.partitions) {
        if (partition.error)
            throw KafkaError(
                -1,
                L10n::t("The start of p%d would not read (%@), so nothing was moved.", partition.id, *partition.error));
        if (target && *target < partition.low)
            before.append(partition);
        partitions.insert(partition.id, target.value_or(partition.low));
    }
    if (!before.isEmpty())
        throw KafkaError(-1, beforeStartRefusal(before));
    const KafkaWriting::Mandate mandate{reason};
    try {
        co_await writer->resetOffsets(group, topic.name, partitions, mandate, false, resetTimeoutMs);
    } catch (const KafkaError& error) {
        // A consumer that joined after the check above: the broker takes an unsigned commit only
        // for an empty group, and refuses the whole request (or the writer's own check saw it).
        if (error.code() != unknownMemberId && error.code() != rebalanceInProgress
            && error.code() != KafkaWriting::groupNotEmptyCode)
            throw;
        throw KafkaError(error.code(),
                         L10n::t("The broker refused to move %@: a consumer joined it after it was checked, so "
                                 "nothing was moved. Stop its consumers first, then move it again.",
                                 L10n::isolated(group)));
    }
}

QCoro::Task<AppOutcome> BrokerSession::resetOffsets(QString group, std::optional<Topic> topic,
                                                    std::optional<int64_t> target, QString reason)
{
    QPointer<BrokerSession> self(this);
    const std::optional<Topic> chosen = topic ? topic : currentTopic();
    if (!chosen)
        co_return AppOutcome::makeRefused(noTopic());
    if (m_broker.kind != BrokerKind::kafka)
        co_return AppOutcome::makeRefused(kafkaOnly());
    if (!m_connection)
        co_return AppOutcome::makeRefused(notConnected());

    auto moving = attempt(moveOffsets(group, *chosen, target, reason));
    const auto [failure] = co_await std::move(moving);
    if (failure && failure->uncertain)
        co_return AppOutcome::makeUncertain(failure->message);
    if (failure)
        co_return AppOutcome::makeRefused(failure->message);
    const QString sentence = target
        ? L10n::t("%@ will resume from offset %d.", L10n::isolated(group), *target)
        : L10n::t("%@ will resume from the start of each partition.", L10n::isolated(group));
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
    AskTopic::Evidence evidence{*topic, m_messages, m_shapeVerdict, m_groups, 12, 600, m_groupsUnseen};
    std::optional<QString> answer;
    QString refusal;
    // Not `attempt`: an assistant's failure is told in its own words in the language in force, which
    // a captured error would lose for the `what()` of construction.
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
