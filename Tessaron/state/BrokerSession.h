#pragma once

#include "Tessaron/state/AppOutcome.h"
#include "Tessaron/state/ClientFactory.h"
#include "TessaronCore/analysis/ShapeVerdict.h"
#include "TessaronCore/analysis/TopicFilter.h"
#include "TessaronCore/model/KafkaError.h"
#include "TessaronCore/model/Broker.h"
#include "TessaronCore/model/ConsumerGroup.h"
#include "TessaronCore/model/ConsumerGroupDetail.h"
#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/QueueBinding.h"
#include "TessaronCore/model/Topic.h"

#include <QCoroTask>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

namespace tessaron {

struct CapturedError;

// One open broker: the live client, everything the workspace shows about it, and every read and
// write the views ask for. Lives on the main thread; every published field has a change signal
// that fires only when the value really changes. Client failures become published text; views
// never see an error object.
//
// Operations are not serialized: a newer operation of the same kind supersedes an older one still
// in flight, whose late results are dropped, and loading flags follow the newest operation.
class BrokerSession : public QObject {
    Q_OBJECT
    // Every published value, in the order of the accessors below.
    Q_PROPERTY(std::optional<Connection> connection READ connection NOTIFY connectionChanged)
    Q_PROPERTY(bool acceptedRabbitReadCost READ acceptedRabbitReadCost WRITE setAcceptedRabbitReadCost NOTIFY
                   acceptedRabbitReadCostChanged)
    Q_PROPERTY(bool isConnecting READ isConnecting NOTIFY isConnectingChanged)
    Q_PROPERTY(std::optional<QString> connectionError READ connectionError NOTIFY connectionErrorChanged)
    Q_PROPERTY(QList<Topic> topics READ topics NOTIFY topicsChanged)
    Q_PROPERTY(QList<ConsumerGroup> groups READ groups NOTIFY groupsChanged)
    Q_PROPERTY(bool isLoadingTopics READ isLoadingTopics NOTIFY isLoadingTopicsChanged)
    Q_PROPERTY(
        std::optional<QString> selectedTopic READ selectedTopic WRITE setSelectedTopic NOTIFY selectedTopicChanged)
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY searchChanged)
    Q_PROPERTY(std::optional<QString> nameSpace READ nameSpace WRITE setNameSpace NOTIFY nameSpaceChanged)
    Q_PROPERTY(QStringList pinned READ pinned NOTIFY pinnedChanged)
    Q_PROPERTY(bool topicsListed READ topicsListed NOTIFY topicsListedChanged)
    Q_PROPERTY(QList<Message> messages READ messages NOTIFY messagesChanged)
    Q_PROPERTY(bool isLoadingMessages READ isLoadingMessages NOTIFY isLoadingMessagesChanged)
    Q_PROPERTY(std::optional<QString> selectedMessage READ selectedMessage WRITE setSelectedMessage NOTIFY
                   selectedMessageChanged)
    Q_PROPERTY(
        std::optional<QString> selectedGroup READ selectedGroup WRITE setSelectedGroup NOTIFY selectedGroupChanged)
    Q_PROPERTY(std::optional<ConsumerGroupDetail> groupDetail READ groupDetail NOTIFY groupDetailChanged)
    Q_PROPERTY(std::optional<QString> groupFailure READ groupFailure NOTIFY groupFailureChanged)
    Q_PROPERTY(bool isLoadingGroup READ isLoadingGroup NOTIFY isLoadingGroupChanged)
    Q_PROPERTY(ShapeVerdict shapeVerdict READ shapeVerdict NOTIFY shapeVerdictChanged)
    Q_PROPERTY(int gavelStrikes READ gavelStrikes NOTIFY gavelStrikesChanged)
    Q_PROPERTY(QList<Unobservable> unobservable READ unobservable WRITE setUnobservable NOTIFY unobservableChanged)
    Q_PROPERTY(ConsumerCounts queueConsumers READ queueConsumers NOTIFY queueConsumersChanged)
    Q_PROPERTY(QList<QueueBinding> bindings READ bindings NOTIFY bindingsChanged)
    Q_PROPERTY(Position position READ position NOTIFY positionChanged)
    Q_PROPERTY(PartitionOffsets nextOffsets READ nextOffsets NOTIFY nextOffsetsChanged)
    Q_PROPERTY(PartitionOffsets timeAnswer READ timeAnswer NOTIFY timeAnswerChanged)
    Q_PROPERTY(bool reachedEnd READ reachedEnd NOTIFY reachedEndChanged)
    Q_PROPERTY(QList<int32_t> unreadPartitions READ unreadPartitions NOTIFY unreadPartitionsChanged)
    Q_PROPERTY(int pagesRead READ pagesRead NOTIFY pagesReadChanged)
    Q_PROPERTY(QString messageSearch READ messageSearch WRITE setMessageSearch NOTIFY messageSearchChanged)
    Q_PROPERTY(
        std::optional<QString> lostConnection READ lostConnection WRITE setLostConnection NOTIFY lostConnectionChanged)
    Q_PROPERTY(std::optional<QueueReadCost> queueReadCost READ queueReadCost NOTIFY queueReadCostChanged)
    Q_PROPERTY(QList<Unobservable> groupBlindSpots READ groupBlindSpots NOTIFY groupBlindSpotsChanged)

public:
    // Where a read starts.
    class Position {
    public:
        enum Case { offset, time, tail, beginning };
        static Position atOffset(int64_t offset) { return Position(Case::offset, offset, {}); }
        static Position atTime(QDateTime moment) { return Position(Case::time, 0, std::move(moment)); }
        static Position atTail() { return Position(Case::tail, 0, {}); }
        static Position atBeginning() { return Position(Case::beginning, 0, {}); }
        Case which() const { return m_case; }
        int64_t offsetValue() const { return m_offset; }
        const QDateTime& moment() const { return m_moment; }
        // The caption of the position picker.
        QString label() const;
        friend bool operator==(const Position& a, const Position& b)
        {
            return a.m_case == b.m_case && a.m_offset == b.m_offset && a.m_moment == b.m_moment;
        }

    private:
        Position(Case c, int64_t offset, QDateTime moment)
            : m_case(c)
            , m_offset(offset)
            , m_moment(std::move(moment))
        { }
        Case m_case;
        int64_t m_offset;
        QDateTime m_moment;
    };

    // The live client: a Kafka reader or a RabbitMQ client. The session owns it.
    class Connection {
    public:
        enum Kind { kafka, rabbit };
        static Connection ofKafka(std::shared_ptr<KafkaReading> client)
        {
            return Connection(kafka, std::move(client), nullptr);
        }
        static Connection ofRabbit(std::shared_ptr<RabbitClient> client)
        {
            return Connection(rabbit, nullptr, std::move(client));
        }
        Kind kind() const { return m_kind; }
        const std::shared_ptr<KafkaReading>& kafkaClient() const { return m_kafka; }
        const std::shared_ptr<RabbitClient>& rabbitClient() const { return m_rabbit; }

    private:
        Connection(Kind kind, std::shared_ptr<KafkaReading> k, std::shared_ptr<RabbitClient> r)
            : m_kind(kind)
            , m_kafka(std::move(k))
            , m_rabbit(std::move(r))
        { }
        Kind m_kind;
        std::shared_ptr<KafkaReading> m_kafka;
        std::shared_ptr<RabbitClient> m_rabbit;
    };

    // The published maps, named so their properties need no comma.
    using ConsumerCounts = QHash<QString, int64_t>;
    using PartitionOffsets = QMap<int32_t, int64_t>;

    // Time-outs of the session's client calls, in milliseconds.
    static constexpr int32_t clientTimeoutMs = 10000;
    static constexpr int32_t registryTimeoutMs = 8000;
    static constexpr int32_t pageTimeoutMs = 5000;
    static constexpr int32_t resetTimeoutMs = 15000;

    BrokerSession(Broker broker, std::optional<QString> password, std::optional<QString> clientKeyPassword,
                  std::optional<QString> registryPassword,
                  std::shared_ptr<ClientFactory> clients = ClientFactory::live(), QObject* parent = nullptr);
    ~BrokerSession() override;

    const Broker& broker() const { return m_broker; }
    QUuid id() const { return m_broker.id; }

    // Published state.
    const std::optional<Connection>& connection() const { return m_connection; }
    bool acceptedRabbitReadCost() const { return m_acceptedRabbitReadCost; }
    void setAcceptedRabbitReadCost(bool accepted);
    bool isConnecting() const { return m_isConnecting; }
    const std::optional<QString>& connectionError() const { return m_connectionError; }
    const QList<Topic>& topics() const { return m_topics; }
    const QList<ConsumerGroup>& groups() const { return m_groups; }
    // The last listing of the groups failed, or was skipped for a lost connection: whatever
    // `groups` holds is not what the broker has now, and an empty list does not mean none.
    // Changes with groupsChanged.
    bool groupsUnseen() const { return m_groupsUnseen; }
    // The broker says this user may not describe the cluster: it lists only the topics and groups
    // the user's ACLs let it see, and says nothing of the rest, so an empty or short list is not
    // the broker's whole. Changes with topicsListedChanged.
    bool listingsFiltered() const { return m_listingsFiltered; }
    bool isLoadingTopics() const { return m_isLoadingTopics; }
    const std::optional<QString>& selectedTopic() const { return m_selectedTopic; }
    // A selection decides what is read: a newly selected topic has its newest messages read and a
    // newly selected group is loaded (each on the next turn, unless a read or a load was asked for
    // meanwhile); selecting one clears the other, and a cleared group's detail goes.
    void setSelectedTopic(const std::optional<QString>& name);
    const QString& search() const { return m_search; }
    void setSearch(const QString& search);
    const std::optional<QString>& nameSpace() const { return m_namespace; }
    void setNameSpace(const std::optional<QString>& nameSpace);
    const QStringList& pinned() const { return m_pinned; }
    bool topicsListed() const { return m_topicsListed; }
    const QList<Message>& messages() const { return m_messages; }
    // When the latest change of `messages` only inserted messages (a further page merged in), where
    // they went: each run's first index in the new list and its length, in order; absent after any
    // other change. Lets a view insert a page's rows without comparing every row it shows.
    using InsertedRuns = QList<std::pair<int, int>>;
    const std::optional<InsertedRuns>& insertedRuns() const { return m_insertedRuns; }
    bool isLoadingMessages() const { return m_isLoadingMessages; }
    const std::optional<QString>& selectedMessage() const { return m_selectedMessage; }
    void setSelectedMessage(const std::optional<QString>& id);
    const std::optional<QString>& selectedGroup() const { return m_selectedGroup; }
    void setSelectedGroup(const std::optional<QString>& id);
    const std::optional<ConsumerGroupDetail>& groupDetail() const { return m_groupDetail; }
    const std::optional<QString>& groupFailure() const { return m_groupFailure; }
    bool isLoadingGroup() const { return m_isLoadingGroup; }
    const ShapeVerdict& shapeVerdict() const { return m_shapeVerdict; }
    int gavelStrikes() const { return m_gavelStrikes; }
    const QList<Unobservable>& unobservable() const { return m_unobservable; }
    // Views may clear the facts; the session never does.
    void setUnobservable(const QList<Unobservable>& facts);
    const ConsumerCounts& queueConsumers() const { return m_queueConsumers; }
    const QList<QueueBinding>& bindings() const { return m_bindings; }
    // The queue the bindings were read for (empty before the first read of a queue), and whether
    // that request failed, in which case the list is empty without meaning "bound to nothing".
    const QString& bindingsQueue() const { return m_bindingsQueue; }
    bool bindingsFailed() const { return m_bindingsFailed; }
    const Position& position() const { return m_position; }
    const PartitionOffsets& nextOffsets() const { return m_nextOffsets; }
    // What the time lookup of the read shown answered: each partition's first offset at or after
    // the position's moment, -1 where none. Empty when that read did not start at a moment, or
    // its lookup failed.
    const PartitionOffsets& timeAnswer() const { return m_timeAnswer; }
    bool reachedEnd() const { return m_reachedEnd; }
    // The broker refused the last read for want of permission (the user may see the topic, not read
    // it). Changes with reachedEndChanged.
    bool readRefused() const { return m_readRefused; }
    // The partitions the read shown could not read, for a reason other than a lost connection;
    // the read has then not reached the end. Ascending.
    const QList<int32_t>& unreadPartitions() const { return m_unreadPartitions; }
    int pagesRead() const { return m_pagesRead; }
    const QString& messageSearch() const { return m_messageSearch; }
    void setMessageSearch(const QString& term);
    const std::optional<QString>& lostConnection() const { return m_lostConnection; }
    void setLostConnection(const std::optional<QString>& reason);

    // What reading a RabbitMQ queue costs beyond marking its messages redelivered, as learnt by
    // the last read of the selected queue (every read asks, before and after consent). The read
    // consent pane shows the refusal instead of its button when there is one, and warns when a
    // read raises the delivery count of a quorum queue without a limit.
    struct QueueReadCost {
        QString queue;
        RabbitClient::QueueReadCost cost;
        friend bool operator==(const QueueReadCost&, const QueueReadCost&) = default;
    };
    const std::optional<QueueReadCost>& queueReadCost() const { return m_queueReadCost; }
    // The sentence refusing a read of `queue` (a stream; a quorum queue with a delivery limit),
    // once known; nothing when a read of it is allowed or not asked about yet.
    std::optional<QString> queueReadRefusal(const QString& queue) const;
    // True when `queue` is known to be a quorum queue without a delivery limit.
    bool queueReadRaisesDeliveryCount(const QString& queue) const;
    const QList<Unobservable>& groupBlindSpots() const { return m_groupBlindSpots; }

    // Derived, computed on every call.
    // Connected for the views: a client, not connecting, and the topics listed without the
    // connection being lost since. A session whose listing failed is failed or lost instead.
    bool isConnected() const { return m_connection && !m_isConnecting && m_topicsListed && !m_lostConnection; }
    bool needsReadConsent() const;
    std::optional<Topic> currentTopic() const;
    std::optional<Message> currentMessage() const;
    QList<Topic> visibleTopics() const;
    TopicFilter::Sections topicSections() const;
    QList<Message> searchResults() const;

    // Secrets that arrive after construction (read from the keyring off the main thread): the
    // session shows itself connecting while they are on their way; call both before connectBroker.
    void awaitSecrets() { setIsConnecting(true); }
    void setSecrets(std::optional<QString> password, std::optional<QString> clientKeyPassword,
                    std::optional<QString> registryPassword);

    // Connection and listing.
    [[nodiscard]] QCoro::Task<> connectBroker();
    void disconnectBroker();
    [[nodiscard]] QCoro::Task<> loadTopics();
    [[nodiscard]] QCoro::Task<> refreshTopics();
    void noteUnobservable(const QString& subject, const QString& reason);
    void togglePin(const QString& topic);
    // The session comes back into view (its tab is chosen again): its selections are read afresh,
    // as when they were made.
    void followSelection();

    // Reading.
    [[nodiscard]] QCoro::Task<> read(Position from, qint64 limit, bool continuing);
    [[nodiscard]] QCoro::Task<> readLatest();

    // Groups, writes and asking.
    [[nodiscard]] QCoro::Task<> loadGroupDetail();
    [[nodiscard]] QCoro::Task<std::optional<int64_t>> groupOffsets(QString group);
    [[nodiscard]] QCoro::Task<AppOutcome> produce(QString topic, std::optional<QString> key, QString payload,
                                                  QString reason);
    // No target moves each partition to its own start, read from the broker when the move is made
    // (offset 0 lies before the start of a trimmed partition); a target before a start read then is
    // refused.
    [[nodiscard]] QCoro::Task<AppOutcome> resetOffsets(QString group, std::optional<Topic> topic,
                                                       std::optional<int64_t> target, QString reason);
    // One topic's watermarks (Kafka) or the queues' depths (RabbitMQ) read again and published with
    // the topics; a failure changes nothing. After a filing, and for a sheet that judges the ends.
    [[nodiscard]] QCoro::Task<> refreshCounts(QString topic);
    [[nodiscard]] QCoro::Task<AppOutcome> ask(QString question);

signals:
    void connectionChanged();
    void acceptedRabbitReadCostChanged();
    void isConnectingChanged();
    void connectionErrorChanged();
    void topicsChanged();
    void groupsChanged();
    void isLoadingTopicsChanged();
    void selectedTopicChanged();
    void searchChanged();
    void nameSpaceChanged();
    void pinnedChanged();
    void topicsListedChanged();
    void messagesChanged();
    void isLoadingMessagesChanged();
    void selectedMessageChanged();
    void selectedGroupChanged();
    void groupDetailChanged();
    void groupFailureChanged();
    void isLoadingGroupChanged();
    void shapeVerdictChanged();
    void gavelStrikesChanged();
    void unobservableChanged();
    void queueConsumersChanged();
    void bindingsChanged();
    void positionChanged();
    void nextOffsetsChanged();
    void timeAnswerChanged();
    void reachedEndChanged();
    void unreadPartitionsChanged();
    void pagesReadChanged();
    void messageSearchChanged();
    void lostConnectionChanged();
    void groupBlindSpotsChanged();
    void queueReadCostChanged();

private:
    // Assigns and signals only on a real change.
    template <typename T, typename Signal> void publish(T& field, const T& value, Signal signal)
    {
        if (field == value)
            return;
        field = value;
        emit(this->*signal)();
    }

    void setConnection(std::optional<Connection> connection);
    void setIsConnecting(bool value) { publish(m_isConnecting, value, &BrokerSession::isConnectingChanged); }
    void setConnectionError(const std::optional<QString>& value)
    {
        publish(m_connectionError, value, &BrokerSession::connectionErrorChanged);
    }
    void setTopics(const QList<Topic>& value) { publish(m_topics, value, &BrokerSession::topicsChanged); }
    void setGroups(const QList<ConsumerGroup>& value) { publish(m_groups, value, &BrokerSession::groupsChanged); }
    void setGroupsUnseen(bool value) { publish(m_groupsUnseen, value, &BrokerSession::groupsChanged); }
    void setIsLoadingTopics(bool value) { publish(m_isLoadingTopics, value, &BrokerSession::isLoadingTopicsChanged); }
    void setTopicsListed(bool value) { publish(m_topicsListed, value, &BrokerSession::topicsListedChanged); }
    void setListingsFiltered(bool value) { publish(m_listingsFiltered, value, &BrokerSession::topicsListedChanged); }
    void setMessages(const QList<Message>& value, std::optional<InsertedRuns> inserted = std::nullopt);
    void setIsLoadingMessages(bool value)
    {
        publish(m_isLoadingMessages, value, &BrokerSession::isLoadingMessagesChanged);
    }
    void setGroupDetail(const std::optional<ConsumerGroupDetail>& value)
    {
        publish(m_groupDetail, value, &BrokerSession::groupDetailChanged);
    }
    void setGroupFailure(const std::optional<QString>& value)
    {
        publish(m_groupFailure, value, &BrokerSession::groupFailureChanged);
    }
    void setIsLoadingGroup(bool value) { publish(m_isLoadingGroup, value, &BrokerSession::isLoadingGroupChanged); }
    void setShapeVerdict(const ShapeVerdict& value)
    {
        publish(m_shapeVerdict, value, &BrokerSession::shapeVerdictChanged);
    }
    void setGavelStrikes(int value) { publish(m_gavelStrikes, value, &BrokerSession::gavelStrikesChanged); }
    void setQueueConsumers(const QHash<QString, int64_t>& value)
    {
        publish(m_queueConsumers, value, &BrokerSession::queueConsumersChanged);
    }
    // One change signal for the list, its queue and its failure flag together.
    void setBindings(const QList<QueueBinding>& value, const QString& queue, bool failed);
    void setPosition(const Position& value) { publish(m_position, value, &BrokerSession::positionChanged); }
    void setNextOffsets(const QMap<int32_t, int64_t>& value)
    {
        publish(m_nextOffsets, value, &BrokerSession::nextOffsetsChanged);
    }
    void setTimeAnswer(const QMap<int32_t, int64_t>& value)
    {
        publish(m_timeAnswer, value, &BrokerSession::timeAnswerChanged);
    }
    void setReachedEnd(bool value) { publish(m_reachedEnd, value, &BrokerSession::reachedEndChanged); }
    void setReadRefused(bool value) { publish(m_readRefused, value, &BrokerSession::reachedEndChanged); }
    void setUnreadPartitions(const QList<int32_t>& value)
    {
        publish(m_unreadPartitions, value, &BrokerSession::unreadPartitionsChanged);
    }
    void setPagesRead(int value) { publish(m_pagesRead, value, &BrokerSession::pagesReadChanged); }
    void setQueueReadCost(const std::optional<QueueReadCost>& value)
    {
        publish(m_queueReadCost, value, &BrokerSession::queueReadCostChanged);
    }
    void setGroupBlindSpots(const QList<Unobservable>& value)
    {
        publish(m_groupBlindSpots, value, &BrokerSession::groupBlindSpotsChanged);
    }

    // Start what a changed selection reads (see setSelectedTopic).
    void followTopic();
    void followGroup();

    // A lost connection for -195, -187 and -185; any other failure becomes a fact under `subject`.
    void classify(const QString& subject, const CapturedError& failure);
    // The verdict over `messages`; a drift strikes the gavel.
    void judgeShapes();

    // The client calls of a write, which throw; `produce` and `resetOffsets` capture what they throw.
    // Neither touches the session after its first suspension.
    [[nodiscard]] QCoro::Task<> send(QString topic, std::optional<QString> key, QString payload, QString reason);
    [[nodiscard]] QCoro::Task<> moveOffsets(QString group, Topic topic, std::optional<int64_t> target, QString reason);

    [[nodiscard]] QCoro::Task<> readKafka(Topic topic, Position from, qint64 limit, bool continuing,
                                          quint64 generation);
    [[nodiscard]] QCoro::Task<> readRabbit(Topic topic, qint64 limit, quint64 generation);
    // After a filing on a queue: its depth asked again until the server's statistics, counted
    // every few seconds, differ from `before`, for a bounded time.
    [[nodiscard]] QCoro::Task<> followDepth(QString queue, std::optional<int64_t> before);
    // Decodes the Confluent-framed Avro payloads among newly read messages. What could not be
    // decoded comes back as facts, for the caller to note only when its read is still current.
    struct Decoding {
        QList<Message> messages;
        QList<Unobservable> facts;
    };
    [[nodiscard]] QCoro::Task<Decoding> decodeAvro(QList<Message> messages);

    Broker m_broker;
    std::shared_ptr<ClientFactory> m_clients;
    std::optional<Connection> m_connection;
    bool m_acceptedRabbitReadCost = false;
    bool m_isConnecting = false;
    std::optional<QString> m_connectionError;
    QList<Topic> m_topics;
    QList<ConsumerGroup> m_groups;
    bool m_groupsUnseen = false;
    bool m_listingsFiltered = false;
    bool m_isLoadingTopics = false;
    std::optional<QString> m_selectedTopic;
    QString m_search;
    std::optional<QString> m_namespace;
    QStringList m_pinned;
    bool m_topicsListed = false;
    QList<Message> m_messages;
    std::optional<InsertedRuns> m_insertedRuns;
    bool m_isLoadingMessages = false;
    std::optional<QString> m_selectedMessage;
    std::optional<QString> m_selectedGroup;
    std::optional<ConsumerGroupDetail> m_groupDetail;
    std::optional<QString> m_groupFailure;
    bool m_isLoadingGroup = false;
    ShapeVerdict m_shapeVerdict = ShapeVerdict::nothingToCompare();
    int m_gavelStrikes = 0;
    QList<Unobservable> m_unobservable;
    QHash<QString, int64_t> m_queueConsumers;
    QList<QueueBinding> m_bindings;
    QString m_bindingsQueue;
    bool m_bindingsFailed = false;
    Position m_position = Position::atTail();
    QMap<int32_t, int64_t> m_nextOffsets;
    QMap<int32_t, int64_t> m_timeAnswer;
    bool m_reachedEnd = true;
    bool m_readRefused = false;
    QList<int32_t> m_unreadPartitions;
    int m_pagesRead = 0;
    QString m_messageSearch;
    std::optional<QString> m_lostConnection;
    std::optional<QString> m_password;
    std::optional<QString> m_clientKeyPassword;
    std::optional<QString> m_registryPassword;
    std::shared_ptr<RegistryDecoding> m_registry;
    QList<Unobservable> m_groupBlindSpots;
    std::optional<QueueReadCost> m_queueReadCost;
    // Topics whose watermarks were read since the last listing.
    QSet<QString> m_watermarked;
    // The topic whose read `m_nextOffsets` goes on from.
    QString m_nextOffsetsTopic;

    // Generations of the operations that supersede each other; a disconnect advances them all.
    quint64 m_listGeneration = 0;
    quint64 m_readGeneration = 0;
    quint64 m_groupGeneration = 0;
};

} // namespace tessaron
