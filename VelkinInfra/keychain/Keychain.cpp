// GLib's headers use "signals" as a field name, which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include "VelkinInfra/keychain/Keychain.h"

#include <QStringDecoder>

#include <dlfcn.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <type_traits>

namespace tessaron {

namespace {

// libsecret, and GIO beneath it, are loaded by the first keyring call, on the keyring's own thread,
// not when the program starts: they are nine libraries the first window does not need. Missing,
// every call fails as a refused one does.
struct SecretLibrary {
    decltype(&secret_password_store_binary_sync) store = nullptr;
    decltype(&secret_password_lookup_binary_sync) lookup = nullptr;
    decltype(&secret_password_clear_sync) clear = nullptr;
    decltype(&secret_value_new) valueNew = nullptr;
    decltype(&secret_value_get) valueGet = nullptr;
    decltype(&secret_value_unref) valueUnref = nullptr;
    decltype(&g_cancellable_new) cancellableNew = nullptr;
    decltype(&g_cancellable_cancel) cancellableCancel = nullptr;
    decltype(&g_object_unref) objectUnref = nullptr;
    decltype(&g_clear_error) clearError = nullptr;
    bool loaded = false;
};

const SecretLibrary& secretLibrary()
{
    static const SecretLibrary library = [] {
        SecretLibrary l;
        void* handle = dlopen("libsecret-1.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return l;
        const auto resolve = [handle](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
            return function != nullptr;
        };
        l.loaded = resolve(l.store, "secret_password_store_binary_sync")
            && resolve(l.lookup, "secret_password_lookup_binary_sync") && resolve(l.clear, "secret_password_clear_sync")
            && resolve(l.valueNew, "secret_value_new") && resolve(l.valueGet, "secret_value_get")
            && resolve(l.valueUnref, "secret_value_unref") && resolve(l.cancellableNew, "g_cancellable_new")
            && resolve(l.cancellableCancel, "g_cancellable_cancel") && resolve(l.objectUnref, "g_object_unref")
            && resolve(l.clearError, "g_clear_error");
        return l;
    }();
    return library;
}

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
        : m_cancellable(secretLibrary().cancellableNew())
    {
        m_thread = std::thread([this, limit]() {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait_for(lock, limit, [this] { return m_done; }))
                secretLibrary().cancellableCancel(m_cancellable);
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
        secretLibrary().objectUnref(m_cancellable);
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
    const SecretLibrary& secret = secretLibrary();
    if (!secret.loaded)
        return;
    CallDeadline deadline(limit);
    GError* error = nullptr;
    secret.clear(schema(), deadline.cancellable(), &error, "service", service.constData(), "account",
                 account.constData(), nullptr);
    secret.clearError(&error);
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
    const SecretLibrary& library = secretLibrary();
    if (!library.loaded)
        return false;
    const QByteArray label = (m_service + QStringLiteral(" / ") + account).toUtf8();
    const QByteArray secret = value.toUtf8();
    // Stored with its length: a text holding U+0000 would otherwise be cut short and still report success.
    SecretValue* data = library.valueNew(secret.constData(), gssize(secret.size()), "text/plain");
    CallDeadline deadline(m_callLimit);
    GError* error = nullptr;
    // Storing under the same attributes replaces the existing item in one step.
    const gboolean stored =
        library.store(schema(), SECRET_COLLECTION_DEFAULT, label.constData(), data, deadline.cancellable(), &error,
                      "service", service.constData(), "account", acc.constData(), nullptr);
    library.valueUnref(data);
    library.clearError(&error);
    return stored;
}

std::optional<QString> Keychain::get(const QString& account) const
{
    const SecretLibrary& library = secretLibrary();
    if (!library.loaded)
        return std::nullopt;
    const QByteArray service = m_service.toUtf8();
    const QByteArray acc = account.toUtf8();
    CallDeadline deadline(m_callLimit);
    GError* error = nullptr;
    SecretValue* value = library.lookup(schema(), deadline.cancellable(), &error, "service", service.constData(),
                                        "account", acc.constData(), nullptr);
    library.clearError(&error);
    if (!value)
        return std::nullopt;
    gsize length = 0;
    const gchar* data = library.valueGet(value, &length);
    const QByteArray bytes(data, qsizetype(length));
    library.valueUnref(value);

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

void Keychain::remove(const QString& account) const { clear(m_service.toUtf8(), account.toUtf8(), m_callLimit); }

} // namespace tessaron
