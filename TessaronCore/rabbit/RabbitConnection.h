#pragma once

// What every request of one RabbitClient shares; private to the client's own files.

#include "TessaronCore/rabbit/RabbitClient.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace tessaron {

// The longest a request may take, whatever time-out the caller asks for.
inline constexpr int rabbitRequestTimeoutMs = 60000;

// Qt objects that may still be inside one of their own signals when the last owner lets go.
struct LaterDeleter {
    void operator()(QObject* object) const
    {
        if (object)
            object->deleteLater();
    }
};

struct RabbitClient::Connection {
    // The server's major version, once asked; 0 when the answer did not say.
    std::optional<int> serverMajor;
    QUrl base;
    QString baseText; // absolute, fully encoded, without a trailing "/"
    QByteArray credentials;
    QString vhost;
    int timeoutMs = rabbitRequestTimeoutMs;
    // For an https address: the broker's own trust and client certificate.
    std::optional<QSslConfiguration> tls;
    std::unique_ptr<QNetworkAccessManager, LaterDeleter> network;
};

} // namespace tessaron
