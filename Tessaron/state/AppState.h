#pragma once

#include "Tessaron/state/AppOutcome.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/state/ClientFactory.h"
#include "TessaronCore/model/Broker.h"
#include "TessaronCore/model/ConsumerGroup.h"
#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/Topic.h"
#include "VelkinInfra/async/SerialQueue.h"
#include "TessaronCore/storage/JSONFile.h"
#include "VelkinAI/AICLI.h"
#include "VelkinInfra/keychain/Keychain.h"

#include <QCoroTask>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QUuid>

#include <chrono>
#include <memory>
#include <optional>

namespace tessaron {

// The one application-wide state: the saved brokers, the open sessions in tab order, the
// selection, the broker under edit and the pending action sheet. The only writer of
// "brokers.json" and of the broker secrets in the keyring. Lives on the main thread; every
// published field signals only on a real change.
class AppState : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<Broker> brokers READ brokers NOTIFY brokersChanged)
    Q_PROPERTY(std::optional<Broker> editing READ editing WRITE setEditing NOTIFY editingChanged)
    Q_PROPERTY(QList<BrokerSession*> sessions READ sessions NOTIFY sessionsChanged)
    Q_PROPERTY(std::optional<QUuid> selected READ selected WRITE setSelected NOTIFY selectedChanged)
    Q_PROPERTY(bool showingPicker READ showingPicker WRITE setShowingPicker NOTIFY showingPickerChanged)
    Q_PROPERTY(bool aiAvailable READ aiAvailable NOTIFY aiAvailableChanged)
    Q_PROPERTY(bool aiDetecting READ aiDetecting NOTIFY aiDetectingChanged)
    Q_PROPERTY(AITools aiTools READ aiTools NOTIFY aiToolsChanged)
    Q_PROPERTY(QString aiTool READ aiTool NOTIFY aiToolChanged)
    Q_PROPERTY(std::optional<Action> action READ action WRITE setAction NOTIFY actionChanged)

public:
    using Outcome = AppOutcome;
    // The installed AI tools and the full path of each.
    using AITools = QMap<AICLI, QString>;

    // The action sheet the workspace presents.
    class Action {
    public:
        enum Case { produce, resetOffsets, ask };
        static Action makeProduce(std::optional<Message> source) { return Action(produce, std::move(source), {}, {}); }
        static Action makeResetOffsets(ConsumerGroup group, std::optional<Topic> topic)
        {
            return Action(resetOffsets, std::nullopt, std::move(group), std::move(topic));
        }
        static Action makeAsk() { return Action(ask, std::nullopt, {}, {}); }
        Case which() const { return m_case; }
        const std::optional<Message>& message() const { return m_message; }
        const std::optional<ConsumerGroup>& group() const { return m_group; }
        const std::optional<Topic>& topic() const { return m_topic; }
        // "produce-<message id>" or "produce-new", "reset-<group>-<topic name>", "ask".
        QString id() const;
        friend bool operator==(const Action& a, const Action& b);

    private:
        Action(Case c, std::optional<Message> m, std::optional<ConsumerGroup> g, std::optional<Topic> t)
            : m_case(c)
            , m_message(std::move(m))
            , m_group(std::move(g))
            , m_topic(std::move(t))
        { }
        Case m_case;
        std::optional<Message> m_message;
        std::optional<ConsumerGroup> m_group;
        std::optional<Topic> m_topic;
    };

    // The result of a connection test.
    class TestResult {
    public:
        static TestResult answered(int topics) { return TestResult(true, topics, {}); }
        static TestResult refused(QString reason) { return TestResult(false, 0, std::move(reason)); }
        bool isAnswered() const { return m_answered; }
        int topics() const { return m_topics; }
        const QString& reason() const { return m_reason; }
        friend bool operator==(const TestResult&, const TestResult&) = default;

    private:
        TestResult(bool answered, int topics, QString reason)
            : m_answered(answered)
            , m_topics(topics)
            , m_reason(std::move(reason))
        { }
        bool m_answered;
        int m_topics;
        QString m_reason;
    };

    static inline const QString brokersFileName = QStringLiteral("brokers.json");
    static inline const QString keychainService = QStringLiteral("tessaron.velkin.brokers");
    static constexpr int32_t testTimeoutMs = 8000;
    // How long one keyring call may take, an unlock prompt included.
    static constexpr std::chrono::milliseconds keyringCallLimit = std::chrono::minutes(5);

    // Loads the saved brokers; no network, no keyring.
    explicit AppState(std::shared_ptr<ClientFactory> clients = ClientFactory::live(), QObject* parent = nullptr);
    ~AppState() override;

    const QList<Broker>& brokers() const { return m_brokers; }
    const std::optional<Broker>& editing() const { return m_editing; }
    void setEditing(const std::optional<Broker>& broker);
    const QList<BrokerSession*>& sessions() const { return m_sessions; }
    const std::optional<QUuid>& selected() const { return m_selected; }
    void setSelected(const std::optional<QUuid>& id);
    bool showingPicker() const { return m_showingPicker; }
    void setShowingPicker(bool showing);
    // The AI command-line tools, found by one search that every view draws: whether a search runs,
    // what the last one found, and the tool the next question goes to (the stored choice when it
    // is installed, else the first found; raw value, empty for none).
    bool aiAvailable() const { return m_aiAvailable; }
    bool aiDetecting() const { return m_aiDetecting; }
    const AITools& aiTools() const { return m_aiTools; }
    QString aiTool() const { return m_aiTool; }
    const std::optional<Action>& action() const { return m_action; }
    void setAction(const std::optional<Action>& action);

    BrokerSession* activeSession() const;
    // Shows the broker's session, creating it when it is not open; a new session shows itself
    // connecting while its secrets are read from the keyring, then connects.
    void open(const Broker& broker);
    void close(const QUuid& id);

    // Keyring work runs on a worker queue and is awaited: a slow keyring, or a locked one whose
    // unlock prompt waits for the user (up to keyringCallLimit), never freezes the window.
    //
    // Inserts or replaces a saved broker (written at once) and stores its password, client-key
    // passphrase and Schema Registry password (none keeps the stored one, an empty one removes it,
    // one the broker no longer uses is removed). Resolves to why it could not be put on file or the
    // keyring refused a secret, or nothing when all is stored; only then is the edit over.
    [[nodiscard]] QCoro::Task<std::optional<QString>> save(Broker broker, std::optional<QString> password,
                                                           std::optional<QString> clientKeyPassword = std::nullopt,
                                                           std::optional<QString> registryPassword = std::nullopt);
    [[nodiscard]] QCoro::Task<std::optional<QString>> registryPassword(Broker broker) const;
    // The saved broker's own password, read on the keyring queue.
    [[nodiscard]] QCoro::Task<std::optional<QString>> storedPassword(QUuid id) const;
    // Both return why the change could not be put on file (the list then stays as it is on file,
    // and a broker that could not be removed keeps its secrets), or nothing when it is.
    std::optional<QString> toggleFavorite(const QUuid& id);
    QList<Broker> brokersFavoritesFirst() const;
    std::optional<QString> remove(const Broker& broker);
    // A given client-key passphrase is used as typed (empty means none); without one the keyring's is.
    [[nodiscard]] QCoro::Task<TestResult> test(Broker broker, std::optional<QString> password,
                                               std::optional<QString> clientKeyPassword = std::nullopt);
    // Looks for the AI tools again; a newer search supersedes one still running.
    [[nodiscard]] QCoro::Task<> refreshAIAvailability();

    // The keyring accounts of a broker's three secrets.
    static QString passwordAccount(const QUuid& id);
    static QString clientKeyAccount(const QUuid& id);
    static QString registryAccount(const QUuid& id);

signals:
    void brokersChanged();
    void editingChanged();
    void sessionsChanged();
    void selectedChanged();
    void showingPickerChanged();
    void aiAvailableChanged();
    void aiDetectingChanged();
    void aiToolsChanged();
    void aiToolChanged();
    void actionChanged();

private:
    void setBrokers(const QList<Broker>& brokers);
    void setAIDetecting(bool detecting);
    // The tool in use and the availability, from what was found and the stored choice.
    void followAITool();
    // Writes the whole list at once; false when the file could not be written.
    bool writeBrokers();
    // Reads the secrets a new session needs, then connects it.
    [[nodiscard]] QCoro::Task<> startSession(QPointer<BrokerSession> session, Broker broker);

    std::shared_ptr<ClientFactory> m_clients;
    JSONFile<QList<Broker>> m_store{brokersFileName};
    Keychain m_secrets{keychainService, keyringCallLimit};
    // Every keyring call, in order; jobs capture copies, never this object.
    std::shared_ptr<SerialQueue> m_keyring;
    QList<Broker> m_brokers;
    std::optional<Broker> m_editing;
    QList<BrokerSession*> m_sessions;
    std::optional<QUuid> m_selected;
    bool m_showingPicker = false;
    bool m_aiAvailable = false;
    bool m_aiDetecting = false;
    AITools m_aiTools;
    QString m_aiTool;
    quint64 m_aiSearch = 0;
    std::optional<Action> m_action;
};

} // namespace tessaron
