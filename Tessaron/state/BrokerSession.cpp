#include "Tessaron/state/BrokerSession.h"

#include "Tessaron/state/SessionText.h"
#include "TessaronCore/analysis/MessageSearch.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/model/MessageAddress.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/l10n/MomentStyles.h"
#include "TessaronCore/prefs/Prefs.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace tessaron {

QString BrokerSession::Position::label() const
{
    switch (m_case) {
    case offset:
        return L10n::t("From offset %d", m_offset);
    case time: {
        // An abbreviated date with hours and minutes (some locales' short time carries seconds).
        return L10n::t("From %@", MomentStyles::shortened(m_moment, QLocale()));
    }
    case tail:
        return loc("The latest");
    case beginning:
        return loc("The beginning");
    }
    return {};
}

BrokerSession::BrokerSession(Broker broker, std::optional<QString> password, std::optional<QString> clientKeyPassword,
                             std::optional<QString> registryPassword, std::shared_ptr<ClientFactory> clients,
                             QObject* parent)
    : QObject(parent)
    , m_broker(std::move(broker))
    , m_clients(clients ? std::move(clients) : ClientFactory::live())
    , m_password(std::move(password))
    , m_clientKeyPassword(std::move(clientKeyPassword))
    , m_registryPassword(std::move(registryPassword))
{
    m_pinned = UserDefaults::standard().stringList(Prefs::pinnedTopics(m_broker.id)).value_or(QStringList());
}

BrokerSession::~BrokerSession() = default;

void BrokerSession::setSecrets(std::optional<QString> password, std::optional<QString> clientKeyPassword,
                               std::optional<QString> registryPassword)
{
    m_password = std::move(password);
    m_clientKeyPassword = std::move(clientKeyPassword);
    m_registryPassword = std::move(registryPassword);
}

void BrokerSession::setConnection(std::optional<Connection> connection)
{
    const bool changed = m_connection.has_value() != connection.has_value()
        || (connection
            && (m_connection->kind() != connection->kind() || m_connection->kafkaClient() != connection->kafkaClient()
                || m_connection->rabbitClient() != connection->rabbitClient()));
    m_connection = std::move(connection);
    if (changed)
        emit connectionChanged();
}

void BrokerSession::setAcceptedRabbitReadCost(bool accepted)
{
    publish(m_acceptedRabbitReadCost, accepted, &BrokerSession::acceptedRabbitReadCostChanged);
}

void BrokerSession::setSelectedTopic(const std::optional<QString>& name)
{
    const bool topicChanges = m_selectedTopic != name;
    const bool groupChanges = name && m_selectedGroup;
    publish(m_selectedTopic, name, &BrokerSession::selectedTopicChanged);
    if (name)
        publish(m_selectedGroup, std::optional<QString>(), &BrokerSession::selectedGroupChanged);
    if (topicChanges)
        followTopic();
    if (groupChanges)
        followGroup();
}

void BrokerSession::setSelectedGroup(const std::optional<QString>& id)
{
    const bool groupChanges = m_selectedGroup != id;
    const bool topicChanges = id && m_selectedTopic;
    publish(m_selectedGroup, id, &BrokerSession::selectedGroupChanged);
    if (id)
        publish(m_selectedTopic, std::optional<QString>(), &BrokerSession::selectedTopicChanged);
    if (topicChanges)
        followTopic();
    if (groupChanges)
        followGroup();
}

void BrokerSession::followSelection()
{
    followTopic();
    followGroup();
}

void BrokerSession::followTopic()
{
    // On the next turn, unless a read was asked for meanwhile (a caller reading the new selection
    // from a position of its own): the selection is read once, and several selections made in one
    // turn read only the last. Without a current topic the read does nothing.
    const quint64 asked = m_readGeneration;
    QTimer::singleShot(0, this, [this, asked] {
        if (asked == m_readGeneration)
            startDetached(read(Position::atTail(), Prefs::messageLimit(), false));
    });
}

void BrokerSession::followGroup()
{
    // No group: its detail goes at once, asking nothing of the broker.
    if (!m_selectedGroup) {
        startDetached(loadGroupDetail());
        return;
    }
    const quint64 asked = m_groupGeneration;
    QTimer::singleShot(0, this, [this, asked] {
        if (asked == m_groupGeneration)
            startDetached(loadGroupDetail());
    });
}

void BrokerSession::setSearch(const QString& search) { publish(m_search, search, &BrokerSession::searchChanged); }
void BrokerSession::setNameSpace(const std::optional<QString>& ns)
{
    publish(m_namespace, ns, &BrokerSession::nameSpaceChanged);
}
void BrokerSession::setSelectedMessage(const std::optional<QString>& id)
{
    publish(m_selectedMessage, id, &BrokerSession::selectedMessageChanged);
}
void BrokerSession::setUnobservable(const QList<Unobservable>& facts)
{
    publish(m_unobservable, facts, &BrokerSession::unobservableChanged);
}
void BrokerSession::setMessageSearch(const QString& term)
{
    publish(m_messageSearch, term, &BrokerSession::messageSearchChanged);
}
void BrokerSession::setLostConnection(const std::optional<QString>& reason)
{
    publish(m_lostConnection, reason, &BrokerSession::lostConnectionChanged);
}

void BrokerSession::setMessages(const QList<Message>& value, std::optional<InsertedRuns> inserted)
{
    // Messages compare by identity alone; a re-read that decoded differently is still a change.
    auto same = [](const Message& a, const Message& b) {
        return a.id() == b.id() && a.payload() == b.payload() && a.key() == b.key() && a.timestamp() == b.timestamp()
            && a.headers() == b.headers() && a.decoded() == b.decoded() && a.decodeFailure() == b.decodeFailure();
    };
    if (value.size() == m_messages.size() && std::equal(value.begin(), value.end(), m_messages.begin(), same))
        return;
    m_messages = value;
    m_insertedRuns = std::move(inserted);
    emit messagesChanged();
}

std::optional<QString> BrokerSession::queueReadRefusal(const QString& queue) const
{
    if (!m_queueReadCost || m_queueReadCost->queue != queue)
        return std::nullopt;
    return m_queueReadCost->cost.refusal();
}

bool BrokerSession::queueReadRaisesDeliveryCount(const QString& queue) const
{
    return m_queueReadCost && m_queueReadCost->queue == queue && m_queueReadCost->cost.raisesDeliveryCount();
}

bool BrokerSession::needsReadConsent() const
{
    return m_connection && m_connection->kind() == Connection::rabbit && !m_acceptedRabbitReadCost;
}

std::optional<Topic> BrokerSession::currentTopic() const
{
    if (!m_selectedTopic)
        return std::nullopt;
    for (const Topic& topic : m_topics) {
        if (topic.name == *m_selectedTopic)
            return topic;
    }
    return std::nullopt;
}

std::optional<Message> BrokerSession::currentMessage() const
{
    const std::optional<MessageAddress> address =
        m_selectedMessage ? MessageAddress::of(*m_selectedMessage) : std::nullopt;
    const qsizetype at = address ? address->indexIn(m_messages) : -1;
    if (at < 0)
        return std::nullopt;
    return m_messages[at];
}

namespace {
bool showInternalTopics() { return UserDefaults::standard().boolean(Prefs::showInternalTopics).value_or(false); }
} // namespace

QList<Topic> BrokerSession::visibleTopics() const
{
    return TopicFilter::visible(m_topics, m_search, m_namespace, showInternalTopics());
}

TopicFilter::Sections BrokerSession::topicSections() const
{
    // Missing pins are reported only once a listing has succeeded.
    return TopicFilter::sections(m_topics, m_pinned, m_search, m_namespace, showInternalTopics(), m_topicsListed);
}

QList<Message> BrokerSession::searchResults() const
{
    if (m_messageSearch.isEmpty())
        return m_messages;
    return MessageSearch::matching(m_messages, m_messageSearch, MessageSearch::Scope::everything);
}

void BrokerSession::noteUnobservable(const QString& subject, const QString& reason)
{
    const Unobservable fact{subject, reason};
    if (m_unobservable.contains(fact))
        return;
    m_unobservable.append(fact);
    emit unobservableChanged();
}

void BrokerSession::classify(const QString& subject, const CapturedError& failure)
{
    if (failure.lostConnection)
        setLostConnection(failure.message);
    else
        noteUnobservable(subject, failure.message);
}

void BrokerSession::togglePin(const QString& topic)
{
    QStringList pins = m_pinned;
    if (!pins.removeOne(topic))
        pins.append(topic);
    m_pinned = pins;
    emit pinnedChanged();
    UserDefaults::standard().setStringList(Prefs::pinnedTopics(m_broker.id), m_pinned);
}

QCoro::Task<> BrokerSession::connectBroker()
{
    QPointer<BrokerSession> self(this);
    setIsConnecting(true);
    setConnectionError(std::nullopt);
    try {
        switch (m_broker.kind) {
        case BrokerKind::kafka:
            setConnection(
                Connection::ofKafka(m_clients->makeKafka(m_broker, m_password, m_clientKeyPassword, clientTimeoutMs)));
            break;
        case BrokerKind::rabbitmq:
            setConnection(Connection::ofRabbit(
                m_clients->makeRabbit(m_broker, m_password, m_clientKeyPassword, clientTimeoutMs)));
            break;
        default:
            throw KafkaError(-1, L10n::t("%@ is not implemented yet", m_broker.kind.label()));
        }
    } catch (const std::exception& error) {
        setConnection(std::nullopt);
        setConnectionError(errorMessage(error));
        setIsConnecting(false);
        co_return;
    }
    m_registry = m_broker.schemaRegistryURL.trimmed().isEmpty()
        ? nullptr
        : m_clients->makeRegistry(m_broker.schemaRegistryURL, m_broker.schemaRegistryUsername, m_registryPassword,
                                  registryTimeoutMs);
    co_await loadTopics();
    if (!self)
        co_return;
    setIsConnecting(false);
}

void BrokerSession::disconnectBroker()
{
    // Whatever is still in flight belongs to the closed connection.
    ++m_listGeneration;
    ++m_readGeneration;
    ++m_groupGeneration;
    setConnection(std::nullopt);
    m_registry.reset();
    setTopics({});
    setGroups({});
    setMessages({});
}

QCoro::Task<> BrokerSession::refreshTopics() { co_await loadTopics(); }

QCoro::Task<> BrokerSession::loadTopics()
{
    if (!m_connection)
        co_return;
    QPointer<BrokerSession> self(this);
    const quint64 generation = ++m_listGeneration;
    const Connection connection = *m_connection;
    auto current = [&] { return self && generation == m_listGeneration; };
    setIsLoadingTopics(true);

    if (connection.kind() == Connection::rabbit) {
        auto listingAttempt = attempt(connection.rabbitClient()->queuesWithConsumers());
        auto [listing, failure] = co_await std::move(listingAttempt);
        if (!current())
            co_return;
        if (listing) {
            setTopics(listing->queues);
            setQueueConsumers(listing->consumers);
            setTopicsListed(true);
        } else {
            classify(loc("Queues"), *failure);
        }
        setGroups({});
        setIsLoadingTopics(false);
        co_return;
    }

    const std::shared_ptr<KafkaReading> kafka = connection.kafkaClient();
    auto listedAttempt = attempt(kafka->topics(clientTimeoutMs));
    auto [listed, failure] = co_await std::move(listedAttempt);
    if (!current())
        co_return;
    if (listed) {
        setLostConnection(std::nullopt);
        m_watermarked.clear();
        setTopics(*listed);
        setTopicsListed(true);
        QList<Topic> collected;
        QSet<QString> marked;
        std::optional<QString> lost;
        // Topics are asked for in batches, so that the sidebar fills as the answers come: a
        // batch's partitions travel together, one request per leader, and a batch costs about
        // one round trip whatever its size.
        constexpr qsizetype watermarkBatchPartitions = 500;
        QList<qsizetype> batchEnds;
        for (qsizetype end = 0; end < listed->size();) {
            const qsizetype first = end;
            qsizetype partitions = 0;
            while (end < listed->size() && (end == first || partitions < watermarkBatchPartitions))
                partitions += listed->at(end++).partitions.size();
            batchEnds.append(end);
        }
        // Several batches go out in one request (a wave) when the round trip, not the broker, is
        // what a batch waits for: a wave grows while more batches in it make each one cheaper.
        // What is published stays batch by batch, as if each were asked after the one before.
        constexpr qsizetype longestWave = 16;
        qsizetype waveLength = 1;
        double lastCostPerBatch = 0;
        qsizetype nextBatch = 0;
        while (nextBatch < batchEnds.size() && !lost) {
            const qsizetype waveEnd = std::min(nextBatch + waveLength, batchEnds.size());
            const qsizetype asked = nextBatch == 0 ? 0 : batchEnds[nextBatch - 1];
            const QList<Topic> wave = listed->mid(asked, batchEnds[waveEnd - 1] - asked);
            QElapsedTimer clock;
            clock.start();
            auto marking = attempt(kafka->watermarksOf(wave, clientTimeoutMs));
            auto [answers, markFailure] = co_await std::move(marking);
            const double costPerBatch = double(clock.nsecsElapsed()) / double(waveEnd - nextBatch);
            if (!current())
                co_return;
            if (markFailure && markFailure->lostConnection) {
                lost = markFailure->message;
                break;
            }
            if (markFailure && waveEnd - nextBatch > 1) {
                // A batch that failed alone would have left only its own topics as listed.
                waveLength = 1;
                continue;
            }
            const QList<KafkaReading::MarkedTopic> got = answers ? *answers : QList<KafkaReading::MarkedTopic>();
            for (qsizetype batch = nextBatch; batch < waveEnd && !lost; ++batch) {
                const qsizetype batchEnd = batchEnds[batch];
                for (qsizetype index = collected.size(); index < batchEnd; ++index) {
                    const qsizetype answered = index - asked;
                    // An answer that never came leaves its topic as listed.
                    const KafkaReading::MarkedTopic* answer = answered < got.size() ? &got[answered] : nullptr;
                    if (answer && answer->topic) {
                        collected.append(*answer->topic);
                        marked.insert(answer->topic->name);
                    } else if (answer && answer->failure && CapturedError::from(*answer->failure).lostConnection) {
                        lost = answer->failure->message();
                        break;
                    } else {
                        collected.append(listed->at(index));
                    }
                }
                if (!lost && batchEnd < listed->size()) {
                    m_watermarked = marked;
                    setTopics(collected + listed->mid(batchEnd));
                }
            }
            if (nextBatch == 0 || costPerBatch < 0.75 * lastCostPerBatch)
                waveLength = std::min(4 * waveLength, longestWave);
            lastCostPerBatch = costPerBatch;
            nextBatch = waveEnd;
        }
        if (lost) {
            // Waiting out every remaining topic would only repeat the time-out: keep what was
            // read and the rest as listed, and skip the groups too.
            for (qsizetype i = collected.size(); i < listed->size(); ++i)
                collected.append(listed->at(i));
            m_watermarked = marked;
            setTopics(collected);
            setLostConnection(lost);
            setGroupsUnseen(true);
            setIsLoadingTopics(false);
            co_return;
        }
        m_watermarked = marked;
        setTopics(collected);
    } else {
        classify(loc("Topics"), *failure);
        if (failure->lostConnection) {
            // The groups would only wait out the same time-out.
            setGroupsUnseen(true);
            setIsLoadingTopics(false);
            co_return;
        }
    }

    // Asked together with the groups: whether the ACLs filtered what the broker lists.
    auto groupsAttempt = attempt(kafka->groups(clientTimeoutMs));
    auto accessAttempt = attempt(kafka->clusterOperations(clientTimeoutMs));
    const auto [groups, groupsFailure] = co_await std::move(groupsAttempt);
    const Attempt<std::optional<QStringList>> access = co_await std::move(accessAttempt);
    if (!current())
        co_return;
    if (groups)
        setGroups(*groups);
    else
        classify(loc("Consumer groups"), *groupsFailure);
    setGroupsUnseen(!groups);
    // Not told (an older broker or library, or the question failed) is not filtered.
    setListingsFiltered(access.value && *access.value && !(*access.value)->contains(QStringLiteral("DESCRIBE")));
    setIsLoadingTopics(false);
}

} // namespace tessaron
