#pragma once

#include "Tessaron/state/AppState.h"
#include "TessaronCore/model/Broker.h"

#include <QCoroTask>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace tessaron {

// What the broker form holds and decides, without widgets: the typed fields, the broker they
// assemble, whether it may be tested or saved, which sections show, and the test, save and forget
// actions. Nothing reaches the state or the keyring until save or forget.
class BrokerFormLogic : public QObject {
    Q_OBJECT
public:
    BrokerFormLogic(Broker original, bool isNew, QObject* parent = nullptr);
    ~BrokerFormLogic() override;

    // The SASL mechanisms offered, in order.
    static const QStringList& mechanisms();
    static QString securitySentence(BrokerSecurity security);

    const Broker& original() const { return m_original; }
    bool isNew() const { return m_isNew; }

    QString name() const { return m_name; }
    void setName(const QString& v) { assign(m_name, v); }
    QString bootstrap() const { return m_bootstrap; }
    void setBootstrap(const QString& v) { assign(m_bootstrap, v); }
    BrokerKind kind() const { return m_kind; }
    void setKind(BrokerKind v) { assign(m_kind, v); }
    QString vhost() const { return m_vhost; }
    void setVhost(const QString& v) { assign(m_vhost, v); }
    BrokerSecurity security() const { return m_security; }
    void setSecurity(BrokerSecurity v) { assign(m_security, v); }
    QString mechanism() const { return m_mechanism; }
    void setMechanism(const QString& v) { assign(m_mechanism, v); }
    QString username() const { return m_username; }
    void setUsername(const QString& v) { assign(m_username, v); }
    QString password() const { return m_password; }
    // Any change marks the password edited, for good.
    void setPassword(const QString& v);
    bool passwordEdited() const { return m_passwordEdited; }
    QString caPath() const { return m_caPath; }
    void setCaPath(const QString& v) { assign(m_caPath, v); }
    QString clientCertPath() const { return m_clientCertPath; }
    void setClientCertPath(const QString& v) { assign(m_clientCertPath, v); }
    QString clientKeyPath() const { return m_clientKeyPath; }
    void setClientKeyPath(const QString& v) { assign(m_clientKeyPath, v); }
    // Empties both client paths.
    void clearClientCertificate();
    QString keyPassphrase() const { return m_keyPassphrase; }
    void setKeyPassphrase(const QString& v);
    bool keyPassphraseEdited() const { return m_keyPassphraseEdited; }
    QString registryURL() const { return m_registryURL; }
    void setRegistryURL(const QString& v) { assign(m_registryURL, v); }
    QString registryUsername() const { return m_registryUsername; }
    void setRegistryUsername(const QString& v) { assign(m_registryUsername, v); }
    QString registryPassword() const { return m_registryPassword; }
    void setRegistryPassword(const QString& v);
    bool registryPasswordEdited() const { return m_registryPasswordEdited; }

    // The broker as typed: identifier and favourite flag from the original, texts trimmed of spaces
    // and tabs, no registry on RabbitMQ; hidden sections still count.
    Broker assembledBroker() const;
    // A name, an address and, where credentials are needed, a user name.
    bool canSave() const;
    // What goes to the keyring: the typed value once edited (even empty), else nothing (keep).
    std::optional<QString> passwordToStore() const;
    std::optional<QString> registryPasswordToStore() const;
    std::optional<QString> keyPassphraseToStore() const;
    // The password a test uses: the typed one once edited; else, when the saved broker's mode needs
    // credentials, the stored one, read on the state's keyring queue (a locked keyring may wait
    // for its unlock prompt); else none.
    [[nodiscard]] QCoro::Task<std::optional<QString>> testPassword(AppState* app) const;

    // What shows.
    bool isRabbit() const { return m_kind == BrokerKind::rabbitmq; }
    bool showsVirtualHost() const { return isRabbit(); }
    bool showsTLS() const { return m_security.usesTLS(); }
    bool showsCredentials() const { return m_security.needsCredentials(); }
    bool showsMechanism() const { return showsCredentials() && !isRabbit(); }
    bool showsRegistryCard() const { return !isRabbit(); }
    bool showsRegistryLogin() const;
    bool registryPasswordEnabled() const { return !m_registryUsername.isEmpty(); }
    bool registryNamed() const { return !m_registryURL.isEmpty(); }
    bool usesSystemTrust() const { return m_caPath.isEmpty(); }
    bool showsClientClear() const { return !m_clientCertPath.isEmpty() || !m_clientKeyPath.isEmpty(); }
    bool showsBothOrNeither() const { return m_clientCertPath.isEmpty() != m_clientKeyPath.isEmpty(); }
    // The passphrase field shows where a client certificate is used (both paths, TLS shown).
    bool showsKeyPassphrase() const;
    // RabbitMQ without credentials says which account it signs in with.
    QString securitySentence() const;
    // "FILE" number: the identifier's first eight characters, upper case.
    QString fileNumber() const;

    // The connection test.
    bool testing() const { return m_testing; }
    const std::optional<AppState::TestResult>& testResult() const { return m_testResult; }
    int stampStrikes() const { return m_stampStrikes; }
    // Tests the typed broker. An answer is dropped when the values it was asked about have been
    // edited meanwhile, or the test was abandoned (the form closed).
    [[nodiscard]] QCoro::Task<> runTest(AppState* app);
    void abandonTest();

    // The refusal sentence of the last save, shown until the next save.
    const std::optional<QString>& refusal() const { return m_refusal; }
    // Puts the typed broker and its secrets on file; false (with the refusal) when that failed.
    [[nodiscard]] QCoro::Task<bool> save(AppState* app);
    // Forgets the saved broker; false (with the refusal) when the brokers file refused the change.
    bool forget(AppState& app);

signals:
    void changed();
    void testChanged();
    void refusalChanged();

private:
    void showRefusal(const std::optional<QString>& refusal);
    struct TestInputs {
        Broker broker;
        bool passwordEdited;
        QString password;
        bool passphraseEdited;
        QString passphrase;
        friend bool operator==(const TestInputs&, const TestInputs&) = default;
    };
    TestInputs testInputs() const;

    template <typename T> void assign(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        emit changed();
    }

    Broker m_original;
    bool m_isNew;
    QString m_name;
    QString m_bootstrap;
    BrokerKind m_kind;
    QString m_vhost;
    BrokerSecurity m_security;
    QString m_mechanism;
    QString m_username;
    QString m_password;
    bool m_passwordEdited = false;
    QString m_caPath;
    QString m_clientCertPath;
    QString m_clientKeyPath;
    QString m_keyPassphrase;
    bool m_keyPassphraseEdited = false;
    QString m_registryURL;
    QString m_registryUsername;
    QString m_registryPassword;
    bool m_registryPasswordEdited = false;

    bool m_testing = false;
    std::optional<AppState::TestResult> m_testResult;
    int m_stampStrikes = 0;
    quint64 m_testGeneration = 0;
    std::optional<QString> m_refusal;
};

} // namespace tessaron
