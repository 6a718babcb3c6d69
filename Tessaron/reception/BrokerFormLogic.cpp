#include "Tessaron/reception/BrokerFormLogic.h"

#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/TextRules.h"
#include "TessaronCore/model/UuidText.h"

#include <QPointer>

namespace tessaron {

BrokerFormLogic::BrokerFormLogic(Broker original, bool isNew, QObject* parent)
    : QObject(parent)
    , m_original(std::move(original))
    , m_isNew(isNew)
    , m_name(m_original.name)
    , m_bootstrap(m_original.bootstrap)
    , m_kind(m_original.kind)
    , m_vhost(m_original.vhost)
    , m_security(m_original.security)
    , m_mechanism(m_original.saslMechanism)
    , m_username(m_original.username)
    , m_caPath(m_original.caPath)
    , m_clientCertPath(m_original.clientCertPath)
    , m_clientKeyPath(m_original.clientKeyPath)
    , m_registryURL(m_original.schemaRegistryURL)
    , m_registryUsername(m_original.schemaRegistryUsername)
{ }

BrokerFormLogic::~BrokerFormLogic() = default;

const QStringList& BrokerFormLogic::mechanisms()
{
    static const QStringList list{QStringLiteral("PLAIN"), QStringLiteral("SCRAM-SHA-256"),
                                  QStringLiteral("SCRAM-SHA-512")};
    return list;
}

QString BrokerFormLogic::securitySentence(BrokerSecurity security)
{
    switch (security) {
    case BrokerSecurity::plaintext:
        return L10n::t("Nothing is encrypted and nobody is asked who they are. Fine for a broker on your own machine, "
                       "wrong for anything else.");
    case BrokerSecurity::ssl:
        return L10n::t("Encrypted, but the broker is not asking who you are.");
    case BrokerSecurity::saslPlaintext:
        return L10n::t("You prove who you are, but the connection itself is in the clear.");
    case BrokerSecurity::saslSSL:
        return L10n::t("What a managed cluster almost always wants: encrypted, and you say who you are.");
    }
    return {};
}

QString BrokerFormLogic::securitySentence() const
{
    // The management API always asks who is there: without credentials, RabbitMQ's own guest
    // account answers.
    if (isRabbit() && m_security == BrokerSecurity::plaintext)
        return L10n::t("Nothing is encrypted, and I sign in as guest/guest, which RabbitMQ accepts only on its own "
                       "machine.");
    if (isRabbit() && m_security == BrokerSecurity::ssl)
        return L10n::t("Encrypted, and I sign in as guest/guest, which RabbitMQ accepts only on its own machine.");
    return securitySentence(m_security);
}

void BrokerFormLogic::setPassword(const QString& v)
{
    if (m_password == v)
        return;
    m_password = v;
    m_passwordEdited = true;
    emit changed();
}

void BrokerFormLogic::setKeyPassphrase(const QString& v)
{
    if (m_keyPassphrase == v)
        return;
    m_keyPassphrase = v;
    m_keyPassphraseEdited = true;
    emit changed();
}

void BrokerFormLogic::setRegistryPassword(const QString& v)
{
    if (m_registryPassword == v)
        return;
    m_registryPassword = v;
    m_registryPasswordEdited = true;
    emit changed();
}

void BrokerFormLogic::clearClientCertificate()
{
    if (m_clientCertPath.isEmpty() && m_clientKeyPath.isEmpty())
        return;
    m_clientCertPath.clear();
    m_clientKeyPath.clear();
    emit changed();
}

Broker BrokerFormLogic::assembledBroker() const
{
    Broker broker = m_original;
    broker.name = TextRules::trimmed(m_name);
    broker.bootstrap = TextRules::trimmed(m_bootstrap);
    broker.vhost = TextRules::trimmed(m_vhost);
    broker.username = TextRules::trimmed(m_username);
    broker.caPath = TextRules::trimmed(m_caPath);
    broker.clientCertPath = TextRules::trimmed(m_clientCertPath);
    broker.clientKeyPath = TextRules::trimmed(m_clientKeyPath);
    broker.kind = m_kind;
    broker.security = m_security;
    broker.saslMechanism = m_mechanism;
    if (isRabbit()) {
        broker.schemaRegistryURL.clear();
        broker.schemaRegistryUsername.clear();
        // A hidden user name would sign in with the guest password: the account is guest's, as said.
        if (!m_security.needsCredentials())
            broker.username.clear();
    } else {
        broker.schemaRegistryURL = TextRules::trimmed(m_registryURL);
        broker.schemaRegistryUsername = TextRules::trimmed(m_registryUsername);
    }
    return broker;
}

bool BrokerFormLogic::canSave() const
{
    const Broker broker = assembledBroker();
    if (broker.name.isEmpty() || broker.bootstrap.isEmpty())
        return false;
    return !m_security.needsCredentials() || !broker.username.isEmpty();
}

std::optional<QString> BrokerFormLogic::passwordToStore() const
{
    return m_passwordEdited ? std::optional<QString>(m_password) : std::nullopt;
}

std::optional<QString> BrokerFormLogic::registryPasswordToStore() const
{
    return m_registryPasswordEdited ? std::optional<QString>(m_registryPassword) : std::nullopt;
}

std::optional<QString> BrokerFormLogic::keyPassphraseToStore() const
{
    return m_keyPassphraseEdited ? std::optional<QString>(m_keyPassphrase) : std::nullopt;
}

QCoro::Task<std::optional<QString>> BrokerFormLogic::testPassword(AppState* app) const
{
    if (m_passwordEdited)
        co_return m_password;
    // The stored password belongs to the saved broker: only its own mode decides whether it is used.
    if (!m_original.security.needsCredentials() || !app)
        co_return std::nullopt;
    auto read = app->storedPassword(m_original.id);
    co_return co_await std::move(read);
}

bool BrokerFormLogic::showsRegistryLogin() const { return !TextRules::trimmed(m_registryURL).isEmpty(); }

bool BrokerFormLogic::showsKeyPassphrase() const
{
    return showsTLS() && !m_clientCertPath.isEmpty() && !m_clientKeyPath.isEmpty();
}

QString BrokerFormLogic::fileNumber() const { return uuidText(m_original.id).left(8); }

BrokerFormLogic::TestInputs BrokerFormLogic::testInputs() const
{
    return TestInputs{assembledBroker(), m_passwordEdited, m_password, m_keyPassphraseEdited, m_keyPassphrase};
}

QCoro::Task<> BrokerFormLogic::runTest(AppState* app)
{
    if (m_testing || !canSave() || !app)
        co_return;
    QPointer<BrokerFormLogic> self(this);
    const quint64 generation = ++m_testGeneration;
    m_testing = true;
    m_testResult.reset();
    emit testChanged();

    const TestInputs asked = testInputs();
    // An edited passphrase is tried as typed (empty means none); otherwise the keyring's.
    const std::optional<QString> passphrase = keyPassphraseToStore();
    QPointer<AppState> state(app);
    auto reading = testPassword(app);
    const std::optional<QString> password = co_await std::move(reading);
    if (!self || generation != m_testGeneration)
        co_return;
    if (!state) {
        m_testing = false;
        emit testChanged();
        co_return;
    }
    auto task = state->test(asked.broker, password, passphrase);
    const AppState::TestResult result = co_await std::move(task);
    if (!self || generation != m_testGeneration)
        co_return;
    m_testing = false;
    // An answer about values the user has since changed would vouch for the wrong broker.
    if (testInputs() == asked) {
        m_testResult = result;
        ++m_stampStrikes;
    }
    emit testChanged();
}

void BrokerFormLogic::abandonTest()
{
    ++m_testGeneration;
    if (!m_testing)
        return;
    m_testing = false;
    emit testChanged();
}

QCoro::Task<bool> BrokerFormLogic::save(AppState* app)
{
    // Everything is taken before the call: a successful save clears the state's broker under edit,
    // which may close and delete this form's view before the call returns.
    const Broker broker = assembledBroker();
    const std::optional<QString> password = passwordToStore();
    const std::optional<QString> passphrase = keyPassphraseToStore();
    const std::optional<QString> registry = registryPasswordToStore();
    QPointer<BrokerFormLogic> self(this);
    auto saving = app->save(broker, password, passphrase, registry);
    const std::optional<QString> refusal = co_await std::move(saving);
    if (refusal) {
        if (self)
            showRefusal(refusal);
        co_return false;
    }
    if (self)
        showRefusal(std::nullopt);
    co_return true;
}

bool BrokerFormLogic::forget(AppState& app)
{
    const std::optional<QString> refusal = app.remove(m_original);
    showRefusal(refusal);
    return !refusal;
}

void BrokerFormLogic::showRefusal(const std::optional<QString>& refusal)
{
    if (m_refusal == refusal)
        return;
    m_refusal = refusal;
    emit refusalChanged();
}

} // namespace tessaron
