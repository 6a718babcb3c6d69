#include "Tessaron/state/AppState.h"

#include "Tessaron/state/SessionText.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/UuidText.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinAI/AIProvider.h"
#include "VelkinInfra/prefs/UserDefaults.h"

namespace tessaron {

namespace {

// Sentences of a save that did not reach the disk or the keyring, in the language in force.
QString fileRefused()
{
    return L10n::t("I couldn't write brokers.json, so this broker is not on file. Check that your data folder is "
                   "writable, then save again.");
}

QString removalRefused()
{
    return L10n::t("I couldn't write brokers.json, so this broker is still on file, passwords and all. Check that your "
                   "data folder is writable, then try again.");
}

QString favoriteRefused()
{
    return L10n::t("I couldn't write brokers.json, so the favourite did not change. Check that your data folder is "
                   "writable, then try again.");
}

QString keyringRefused()
{
    return L10n::t("The broker is on file, but the keyring refused its password, so the password is not saved. Check "
                   "that your keyring is running and unlocked, then save again.");
}

Broker defaultBroker()
{
    Broker broker;
    broker.id = QUuid::createUuid();
    broker.name = QStringLiteral("Local");
    broker.kind = BrokerKind::kafka;
    broker.bootstrap = QStringLiteral("localhost:19092");
    broker.security = BrokerSecurity::plaintext;
    broker.saslMechanism = QStringLiteral("PLAIN");
    return broker;
}

bool hasRegistryLogin(const Broker& broker)
{
    return !broker.schemaRegistryURL.trimmed().isEmpty() && !broker.schemaRegistryUsername.isEmpty();
}

// One secret, read on the keyring queue.
QCoro::Task<std::optional<QString>> secretOf(std::shared_ptr<SerialQueue> queue, Keychain keychain, QString account)
{
    auto job =
        queue->run([keychain = std::move(keychain), account = std::move(account)] { return keychain.get(account); });
    co_return co_await std::move(job);
}

struct SessionSecrets {
    std::optional<QString> password;
    std::optional<QString> clientKey;
    std::optional<QString> registry;
};

} // namespace

QString AppState::Action::id() const
{
    switch (m_case) {
    case produce:
        return QStringLiteral("produce-") + (m_message ? m_message->id() : QStringLiteral("new"));
    case resetOffsets:
        return QStringLiteral("reset-") + m_group->id + u'-' + (m_topic ? m_topic->name : QString());
    case ask:
        return QStringLiteral("ask");
    }
    return {};
}

bool operator==(const AppState::Action& a, const AppState::Action& b)
{
    if (a.m_case != b.m_case || a.m_group != b.m_group || a.m_topic != b.m_topic
        || a.m_message.has_value() != b.m_message.has_value())
        return false;
    return !a.m_message || a.m_message->id() == b.m_message->id();
}

AppState::AppState(std::shared_ptr<ClientFactory> clients, QObject* parent)
    : QObject(parent)
    , m_clients(clients ? std::move(clients) : ClientFactory::live())
    , m_keyring(std::make_shared<SerialQueue>("tessaron.velkin.keyring"))
{
    // A stored empty list stays empty; only nothing at all gives the default broker, which is
    // not written until some change saves the list.
    if (std::optional<QList<Broker>> loaded = m_store.load())
        m_brokers = std::move(*loaded);
    else
        m_brokers = {defaultBroker()};
    // A new choice of tool takes effect among the tools already found.
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == Prefs::aiProvider)
            followAITool();
    });
}

AppState::~AppState() = default;

QString AppState::passwordAccount(const QUuid& id) { return uuidText(id); }
QString AppState::clientKeyAccount(const QUuid& id) { return uuidText(id) + QStringLiteral(".clientkey"); }
QString AppState::registryAccount(const QUuid& id) { return uuidText(id) + QStringLiteral(".registry"); }

void AppState::setBrokers(const QList<Broker>& brokers)
{
    if (m_brokers == brokers)
        return;
    m_brokers = brokers;
    emit brokersChanged();
}

void AppState::setEditing(const std::optional<Broker>& broker)
{
    if (m_editing == broker)
        return;
    m_editing = broker;
    emit editingChanged();
}

void AppState::setSelected(const std::optional<QUuid>& id)
{
    if (m_selected == id)
        return;
    m_selected = id;
    emit selectedChanged();
    // A tab chosen again shows its selections read afresh.
    if (BrokerSession* session = activeSession())
        session->followSelection();
}

void AppState::setShowingPicker(bool showing)
{
    if (m_showingPicker == showing)
        return;
    m_showingPicker = showing;
    emit showingPickerChanged();
}

void AppState::setAIDetecting(bool detecting)
{
    if (m_aiDetecting == detecting)
        return;
    m_aiDetecting = detecting;
    emit aiDetectingChanged();
}

void AppState::followAITool()
{
    // As a run resolves it: the stored choice when it is installed, else the first found.
    const std::optional<AICLI> chosen =
        AICLI::fromRawValue(UserDefaults::standard().string(Prefs::aiProvider).value_or(AIProvider::autoValue));
    std::optional<AICLI> tool;
    if (chosen && m_aiTools.contains(*chosen)) {
        tool = chosen;
    } else {
        for (AICLI cli : AICLI::allCases()) {
            if (m_aiTools.contains(cli)) {
                tool = cli;
                break;
            }
        }
    }
    const QString raw = tool ? tool->rawValue() : QString();
    if (m_aiTool != raw) {
        m_aiTool = raw;
        emit aiToolChanged();
    }
    if (m_aiAvailable != tool.has_value()) {
        m_aiAvailable = tool.has_value();
        emit aiAvailableChanged();
    }
}

void AppState::setAction(const std::optional<Action>& action)
{
    if (m_action == action)
        return;
    m_action = action;
    emit actionChanged();
}

BrokerSession* AppState::activeSession() const
{
    if (!m_selected)
        return nullptr;
    for (BrokerSession* session : m_sessions) {
        if (session->id() == *m_selected)
            return session;
    }
    return nullptr;
}

void AppState::open(const Broker& broker)
{
    for (BrokerSession* session : m_sessions) {
        if (session->id() == broker.id) {
            setSelected(broker.id);
            setShowingPicker(false);
            return;
        }
    }
    auto* session = new BrokerSession(broker, std::nullopt, std::nullopt, std::nullopt, m_clients, this);
    m_sessions.append(session);
    emit sessionsChanged();
    setSelected(broker.id);
    setShowingPicker(false);
    startDetached(startSession(session, broker));
}

QCoro::Task<> AppState::startSession(QPointer<BrokerSession> session, Broker broker)
{
    QPointer<AppState> self(this);
    session->awaitSecrets();
    // A keyring that cannot be reached reads as no secret: the broker opens without it and the
    // connection's own failure says what is missing.
    const bool password = broker.security.needsCredentials();
    const bool clientKey = broker.usesClientCertificate();
    const bool registry = hasRegistryLogin(broker);
    auto job = m_keyring->run([keychain = m_secrets, id = broker.id, password, clientKey, registry] {
        SessionSecrets secrets;
        if (password)
            secrets.password = keychain.get(passwordAccount(id));
        if (clientKey)
            secrets.clientKey = keychain.get(clientKeyAccount(id));
        if (registry)
            secrets.registry = keychain.get(registryAccount(id));
        return secrets;
    });
    const SessionSecrets secrets = co_await std::move(job);
    // Closed while the keyring answered (its deletion may still be pending): nothing to connect.
    if (!self || !session || !m_sessions.contains(session.data()))
        co_return;
    session->setSecrets(secrets.password, secrets.clientKey, secrets.registry);
    co_await session->connectBroker();
}

void AppState::close(const QUuid& id)
{
    QList<BrokerSession*> closing;
    for (BrokerSession* session : m_sessions) {
        if (session->id() == id)
            closing.append(session);
    }
    if (!closing.isEmpty()) {
        closing.first()->disconnectBroker();
        for (BrokerSession* session : closing)
            m_sessions.removeOne(session);
        emit sessionsChanged();
        // Views may still hold the session during this turn of the event loop; its coroutines
        // check for it after every suspension.
        for (BrokerSession* session : closing)
            session->deleteLater();
    }
    if (m_selected == id)
        setSelected(m_sessions.isEmpty() ? std::nullopt : std::optional<QUuid>(m_sessions.last()->id()));
    if (m_sessions.isEmpty())
        setShowingPicker(false);
}

bool AppState::writeBrokers() { return m_store.saveNow(m_brokers); }

QCoro::Task<std::optional<QString>> AppState::save(Broker broker, std::optional<QString> password,
                                                   std::optional<QString> clientKeyPassword,
                                                   std::optional<QString> registryPassword)
{
    QPointer<AppState> self(this);
    const QList<Broker> previous = m_brokers;
    QList<Broker> brokers = m_brokers;
    auto it = std::find_if(brokers.begin(), brokers.end(), [&](const Broker& b) { return b.id == broker.id; });
    if (it != brokers.end())
        *it = broker;
    else
        brokers.append(broker);
    setBrokers(brokers);
    if (!writeBrokers()) {
        // What is shown stays what is on file; the form stays open with the reason.
        setBrokers(previous);
        co_return fileRefused();
    }
    // Each secret: none keeps the stored one, an empty one removes it, and a broker that no longer
    // uses it loses it; only a refused non-empty one is a failure.
    auto job =
        m_keyring->run([keychain = m_secrets, id = broker.id, password, clientKeyPassword, registryPassword,
                        usesPassword = broker.security.needsCredentials(),
                        usesClientKey = broker.usesClientCertificate(), usesRegistry = hasRegistryLogin(broker)] {
            bool refused = false;
            const auto store = [&](bool used, const std::optional<QString>& secret, const QString& account) {
                if (!used) {
                    keychain.remove(account);
                } else if (secret) {
                    const bool stored = keychain.set(*secret, account);
                    refused = refused || (!secret->isEmpty() && !stored);
                }
            };
            store(usesPassword, password, passwordAccount(id));
            store(usesClientKey, clientKeyPassword, clientKeyAccount(id));
            store(usesRegistry, registryPassword, registryAccount(id));
            return refused;
        });
    const bool refused = co_await std::move(job);
    if (refused)
        co_return keyringRefused();
    if (self)
        setEditing(std::nullopt);
    co_return std::nullopt;
}

QCoro::Task<std::optional<QString>> AppState::registryPassword(Broker broker) const
{
    if (!hasRegistryLogin(broker))
        co_return std::nullopt;
    auto read = secretOf(m_keyring, m_secrets, registryAccount(broker.id));
    co_return co_await std::move(read);
}

QCoro::Task<std::optional<QString>> AppState::storedPassword(QUuid id) const
{
    auto read = secretOf(m_keyring, m_secrets, passwordAccount(id));
    co_return co_await std::move(read);
}

std::optional<QString> AppState::toggleFavorite(const QUuid& id)
{
    const QList<Broker> previous = m_brokers;
    QList<Broker> brokers = m_brokers;
    for (Broker& broker : brokers) {
        if (broker.id == id) {
            broker.isFavorite = !broker.isFavorite;
            setBrokers(brokers);
            if (!writeBrokers()) {
                // What is shown stays what is on file.
                setBrokers(previous);
                return favoriteRefused();
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

QList<Broker> AppState::brokersFavoritesFirst() const
{
    QList<Broker> ordered;
    for (const Broker& broker : m_brokers) {
        if (broker.isFavorite)
            ordered.append(broker);
    }
    for (const Broker& broker : m_brokers) {
        if (!broker.isFavorite)
            ordered.append(broker);
    }
    return ordered;
}

std::optional<QString> AppState::remove(const Broker& broker)
{
    const QList<Broker> previous = m_brokers;
    QList<Broker> brokers = m_brokers;
    brokers.removeIf([&](const Broker& b) { return b.id == broker.id; });
    setBrokers(brokers);
    if (!writeBrokers()) {
        // Still on file, so it stays listed, open and with its secrets: it would be back after a restart.
        setBrokers(previous);
        return removalRefused();
    }
    close(broker.id);
    m_keyring->post([keychain = m_secrets, id = broker.id] {
        keychain.remove(passwordAccount(id));
        keychain.remove(clientKeyAccount(id));
        keychain.remove(registryAccount(id));
    });
    setEditing(std::nullopt);
    return std::nullopt;
}

QCoro::Task<AppState::TestResult> AppState::test(Broker broker, std::optional<QString> password,
                                                 std::optional<QString> clientKeyPassword)
{
    // The clients and the factory are held by this coroutine, so the test finishes even when the
    // state object is gone; nothing of the state is touched after a suspension.
    const std::shared_ptr<ClientFactory> clients = m_clients;
    std::optional<QString> clientKey;
    if (broker.usesClientCertificate()) {
        if (clientKeyPassword) {
            clientKey = clientKeyPassword;
        } else {
            auto read = secretOf(m_keyring, m_secrets, clientKeyAccount(broker.id));
            clientKey = co_await std::move(read);
        }
        if (clientKey && clientKey->isEmpty())
            clientKey.reset();
    }
    std::optional<TestResult> result;
    QString refusal;
    try {
        QList<Topic> listed;
        if (broker.kind == BrokerKind::rabbitmq) {
            const std::shared_ptr<RabbitClient> client =
                clients->makeRabbit(broker, password, clientKey, testTimeoutMs);
            listed = co_await client->queues();
        } else {
            const std::shared_ptr<KafkaReading> client = clients->makeKafka(broker, password, clientKey, testTimeoutMs);
            listed = co_await client->topics(testTimeoutMs);
        }
        result = TestResult::answered(
            int(std::count_if(listed.begin(), listed.end(), [](const Topic& t) { return !t.isInternal; })));
    } catch (const std::exception& error) {
        refusal = errorMessage(error);
    }
    co_return result ? *result : TestResult::refused(refusal);
}

QCoro::Task<> AppState::refreshAIAvailability()
{
    QPointer<AppState> self(this);
    const quint64 search = ++m_aiSearch;
    setAIDetecting(true);
    const AIProvider provider;
    auto detection = provider.detect();
    const AITools found = co_await std::move(detection);
    if (!self || search != m_aiSearch)
        co_return;
    if (m_aiTools != found) {
        m_aiTools = found;
        emit aiToolsChanged();
    }
    followAITool();
    setAIDetecting(false);
}

} // namespace tessaron
