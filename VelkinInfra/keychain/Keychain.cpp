// GLib's headers use "signals" as a field name, which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include "VelkinInfra/keychain/Keychain.h"

#include <QStringDecoder>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tessaron {

namespace {

const SecretSchema* schema()
{
    static const SecretSchema s = {
        "tessaron.velkin.Secret",
        SECRET_SCHEMA_NONE,
        {
            {"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
            {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
            {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING},
        },
        0,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
    };
    return &s;
}

// A keyring that never answers (a stuck daemon, an unlock prompt nobody answers) must not hang
// the caller: the call is cancelled after the keychain's call limit.
class CallDeadline {
public:
    explicit CallDeadline(std::chrono::milliseconds limit)
        : m_cancellable(g_cancellable_new())
    {
        m_thread = std::thread([this, limit]() {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait_for(lock, limit, [this] { return m_done; }))
                g_cancellable_cancel(m_cancellable);
        });
    }
    ~CallDeadline()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
        g_object_unref(m_cancellable);
    }
    CallDeadline(const CallDeadline&) = delete;
    CallDeadline& operator=(const CallDeadline&) = delete;

    GCancellable* cancellable() const { return m_cancellable; }

private:
    GCancellable* m_cancellable;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread;
};

void clear(const QByteArray& service, const QByteArray& account, std::chrono::milliseconds limit)
{
    CallDeadline deadline(limit);
    GError* error = nullptr;
    secret_password_clear_sync(schema(), deadline.cancellable(), &error, "service", service.constData(), "account",
                               account.constData(), nullptr);
    g_clear_error(&error);
}

} // namespace

bool Keychain::set(const QString& value, const QString& account) const
{
    const QByteArray service = m_service.toUtf8();
    const QByteArray acc = account.toUtf8();
    if (value.isEmpty()) {
        clear(service, acc, m_callLimit);
        return false;
    }
    const QByteArray label = (m_service + QStringLiteral(" / ") + account).toUtf8();
    const QByteArray secret = value.toUtf8();
    // Stored with its length: a text holding U+0000 would otherwise be cut short and still report success.
    SecretValue* data = secret_value_new(secret.constData(), gssize(secret.size()), "text/plain");
    CallDeadline deadline(m_callLimit);
    GError* error = nullptr;
    // Storing under the same attributes replaces the existing item in one step.
    const gboolean stored = secret_password_store_binary_sync(schema(), SECRET_COLLECTION_DEFAULT, label.constData(),
                                                              data, deadline.cancellable(), &error, "service",
                                                              service.constData(), "account", acc.constData(), nullptr);
    secret_value_unref(data);
    g_clear_error(&error);
    return stored;
}

std::optional<QString> Keychain::get(const QString& account) const
{
    const QByteArray service = m_service.toUtf8();
    const QByteArray acc = account.toUtf8();
    CallDeadline deadline(m_callLimit);
    GError* error = nullptr;
    SecretValue* value = secret_password_lookup_binary_sync(schema(), deadline.cancellable(), &error, "service",
                                                            service.constData(), "account", acc.constData(), nullptr);
    g_clear_error(&error);
    if (!value)
        return std::nullopt;
    gsize length = 0;
    const gchar* data = secret_value_get(value, &length);
    const QByteArray bytes(data, qsizetype(length));
    secret_value_unref(value);

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

void Keychain::remove(const QString& account) const { clear(m_service.toUtf8(), account.toUtf8(), m_callLimit); }

} // namespace tessaron
