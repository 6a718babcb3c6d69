#pragma once

#include <QString>
#include <QUuid>

#include <chrono>
#include <optional>

namespace tessaron {

// One text secret per account under one service name, kept in the desktop keyring through the
// Secret Service (libsecret). Items carry exactly two attributes, "service" and "account".
//
// Synchronous: each call is one bounded round trip to the keyring on the calling thread. The
// application makes these calls on a worker queue, never on the main thread, since a locked
// keyring's unlock prompt takes as long as the user needs. Without a Secret Service every read
// gives nothing and every write reports false, quickly; a call that gets no answer is abandoned
// after `callLimit` rather than hanging. Nothing throws.
class Keychain {
public:
    explicit Keychain(QString service, std::chrono::milliseconds callLimit = std::chrono::seconds(5))
        : m_service(std::move(service))
        , m_callLimit(callLimit)
    { }

    const QString& service() const { return m_service; }
    std::chrono::milliseconds callLimit() const { return m_callLimit; }

    // Stores `value`, replacing any secret of this account in one step, so a failed store keeps the
    // old one. An empty value removes the secret and reports false.
    bool set(const QString& value, const QString& account) const;
    bool set(const QString& value, const QUuid& account) const { return set(value, accountText(account)); }

    // Absent when there is no such secret, it is not valid UTF-8, or the keyring cannot be reached.
    std::optional<QString> get(const QString& account) const;
    std::optional<QString> get(const QUuid& account) const { return get(accountText(account)); }

    // Removes the secret of this account; a missing one or a failure is ignored.
    void remove(const QString& account) const;
    void remove(const QUuid& account) const { remove(accountText(account)); }

    // The account of a UUID: its canonical form in upper case.
    static QString accountText(const QUuid& id) { return id.toString(QUuid::WithoutBraces).toUpper(); }

private:
    QString m_service;
    std::chrono::milliseconds m_callLimit;
};

} // namespace tessaron
