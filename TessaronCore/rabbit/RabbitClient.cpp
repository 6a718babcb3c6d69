#include "TessaronCore/rabbit/RabbitClient.h"

#include "TessaronCore/rabbit/RabbitAnswer.h"
#include "TessaronCore/rabbit/RabbitConnection.h"

#include "TessaronCore/l10n/L10n.h"

#include <QChar>
#include <QFile>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslKey>
#include <QTimer>

#include <QCoroNetworkReply>

#include <algorithm>
#include <cstring>

namespace tessaron {

namespace {

// The code every transport failure carries: librdkafka's own code for a transport failure, so
// that a session treats a lost RabbitMQ server like a lost Kafka cluster.
constexpr int32_t transportCode = -195;
bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QString trimmedOfBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text.at(start)))
        ++start;
    while (end > start && isBlank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

bool isUnreserved(char32_t c)
{
    if (c == U'-' || c == U'.' || c == U'_' || c == U'~')
        return true;
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

// A request body that can be sent once only. Qt sends a request again when the connection closes
// before an answer arrives, which for a publish files the message twice; a body that refuses to
// rewind turns that resend into an error instead.
class OneShotBody final : public QIODevice {
public:
    explicit OneShotBody(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_bytes.size(); }
    bool seek(qint64 position) override
    {
        if (m_sent || position < 0 || position > m_bytes.size() || !QIODevice::seek(position))
            return false;
        m_offset = position;
        return true;
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 count = std::min<qint64>(maxSize, m_bytes.size() - m_offset);
        if (count <= 0)
            return m_bytes.isEmpty() ? 0 : -1;
        std::memcpy(data, m_bytes.constData() + m_offset, size_t(count));
        m_offset += count;
        if (m_offset >= m_bytes.size())
            m_sent = true;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_offset = 0;
    bool m_sent = false;
};

// Errors of the transport itself, as opposed to Qt's readings of an HTTP status: with one of these
// the answer is missing or incomplete, whatever its status line said.
bool isTransportError(QNetworkReply::NetworkError error)
{
    const int code = int(error);
    return (code > 0 && code < 200) || error == QNetworkReply::ProtocolUnknownError
        || error == QNetworkReply::ProtocolFailure;
}

// Statuses a gateway gives for a request it may already have passed on: the server may have done
// the work, so they prove no refusal.
bool isGatewayDoubt(int status, bool sent) { return status == 502 || status == 504 || (status == 503 && sent); }

// Qt leaves some dropped connections without a description of their own.
QString transportWhy(const QNetworkReply* reply)
{
    const QString text = reply->errorString();
    if (text.isEmpty() || text == QLatin1String("Unknown error")
        || reply->error() == QNetworkReply::RemoteHostClosedError)
        return L10n::t("the connection closed before the answer");
    return text;
}

QByteArray readFile(const QString& path, const QString& what)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw KafkaError(-1, L10n::t("could not read the file %@ (%@): %@", path, what, file.errorString()));
    // Certificates and keys are small; anything larger is not one.
    return file.read(1024 * 1024);
}

// The TLS settings of the broker's form: its certificate authority (in place of the system's, as
// for Kafka), and its client certificate and key. Throws -1 naming a file that cannot be used.
QSslConfiguration tlsConfiguration(const Broker& broker, const std::optional<QString>& keyPassword)
{
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    if (!broker.caPath.isEmpty()) {
        const QString what = L10n::t("certificate authority");
        const QByteArray pem = readFile(broker.caPath, what);
        QList<QSslCertificate> authorities = QSslCertificate::fromData(pem, QSsl::Pem);
        if (authorities.isEmpty())
            authorities = QSslCertificate::fromData(pem, QSsl::Der);
        if (authorities.isEmpty())
            throw KafkaError(-1, L10n::t("the file %@ (%@) holds no certificate", broker.caPath, what));
        tls.setCaCertificates(authorities);
    }
    if (broker.usesClientCertificate()) {
        const QString what = L10n::t("client certificate");
        const QByteArray pem = readFile(broker.clientCertPath, what);
        const QList<QSslCertificate> chain = QSslCertificate::fromData(pem, QSsl::Pem);
        if (chain.isEmpty())
            throw KafkaError(-1, L10n::t("the file %@ (%@) holds no certificate", broker.clientCertPath, what));
        const QByteArray keyBytes = readFile(broker.clientKeyPath, L10n::t("client key"));
        QSslKey key;
        for (QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
            key = QSslKey(keyBytes, algorithm, QSsl::Pem, QSsl::PrivateKey, keyPassword.value_or(QString()).toUtf8());
            if (!key.isNull())
                break;
        }
        if (key.isNull())
            throw KafkaError(-1,
                             keyPassword ? L10n::t("the client key at %@ cannot be read with the passphrase given: "
                                                   "it must be a PEM key, and the passphrase its own",
                                                   broker.clientKeyPath)
                                         : L10n::t("the client key at %@ cannot be read: it must be an unencrypted PEM "
                                                   "key, or give its passphrase on the broker's form",
                                                   broker.clientKeyPath));
        tls.setLocalCertificateChain(chain);
        tls.setPrivateKey(key);
    }
    return tls;
}

} // namespace

RabbitClient::RabbitClient(Broker broker, std::optional<QString> password, int32_t timeoutMs,
                           std::optional<QString> clientKeyPassword)
    : m_broker(std::move(broker))
    , m_connection(std::make_shared<Connection>())
{
    const std::optional<QUrl> base = managementURL(m_broker.bootstrap, m_broker.security.usesTLS());
    if (!base)
        throw KafkaError(-1, QStringLiteral("could not read a management URL from ") + m_broker.bootstrap);

    Connection& c = *m_connection;
    c.base = *base;
    c.baseText = base->toString(QUrl::FullyEncoded);
    // "http://host:15672/" and "http://host:15672" name the same API; a doubled slash would not.
    if (c.baseText.endsWith(QLatin1Char('/')))
        c.baseText.chop(1);
    c.vhost = m_broker.vhost.isEmpty() ? QStringLiteral("/") : m_broker.vhost;

    // The server's built-in account is guest/guest (accepted from loopback only).
    const QString user = m_broker.username.isEmpty() ? QStringLiteral("guest") : m_broker.username;
    const QString secret = password.value_or(QStringLiteral("guest"));
    c.credentials = (user + QLatin1Char(':') + secret).toUtf8().toBase64();

    c.timeoutMs = timeoutMs > 0 ? std::min<int>(timeoutMs, rabbitRequestTimeoutMs) : rabbitRequestTimeoutMs;
    if (c.base.scheme() == QLatin1String("https"))
        c.tls = tlsConfiguration(m_broker, clientKeyPassword);
    c.network.reset(new QNetworkAccessManager());
    // The credentials travel in every request's header: never follow a redirect to another origin.
    c.network->setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
}

RabbitClient::~RabbitClient() = default;

std::optional<QUrl> RabbitClient::managementURL(const QString& bootstrap, bool usesTLS)
{
    const QString trimmed = trimmedOfBlanks(bootstrap);
    if (trimmed.isEmpty())
        return std::nullopt;
    QString text;
    if (trimmed.startsWith(QLatin1String("http://")) || trimmed.startsWith(QLatin1String("https://"))) {
        text = trimmed;
    } else {
        text = (usesTLS ? QStringLiteral("https://") : QStringLiteral("http://")) + trimmed;
        if (!trimmed.contains(QLatin1Char(':')))
            text += QStringLiteral(":15672");
    }
    const QUrl url(text, QUrl::StrictMode);
    // Without a host there is nothing to connect to; say so now rather than at the first request.
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

QString RabbitClient::percentEncoded(const QString& segment)
{
    static const char hex[] = "0123456789ABCDEF";
    QString result;
    result.reserve(segment.size() * 3);
    const QList<uint> codePoints = segment.toUcs4();
    for (uint codePoint : codePoints) {
        const char32_t c = codePoint;
        // An unpaired surrogate cannot be written as UTF-8: keep the text as it was given.
        if (QChar::isSurrogate(c))
            return segment;
        if (isUnreserved(c)) {
            result += QString::fromUcs4(&c, 1);
            continue;
        }
        for (char byte : QString::fromUcs4(&c, 1).toUtf8()) {
            const auto b = static_cast<unsigned char>(byte);
            result += QLatin1Char('%');
            result += QLatin1Char(hex[b >> 4]);
            result += QLatin1Char(hex[b & 0x0F]);
        }
    }
    return result;
}

QString RabbitClient::queuePath(const QString& queue) const
{
    return QStringLiteral("/api/queues/") + percentEncoded(m_connection->vhost) + QLatin1Char('/')
        + percentEncoded(queue);
}

QCoro::Task<QByteArray> RabbitClient::request(QString method, QString path, std::optional<QByteArray> body)
{
    // Not a coroutine itself: the request holds the connection, never this client.
    return send(m_connection, std::move(method), std::move(path), std::move(body), Once::resendable);
}

QCoro::Task<QByteArray> RabbitClient::send(std::shared_ptr<Connection> connection, QString method, QString path,
                                           std::optional<QByteArray> body, Once once)
{
    const QUrl url(connection->baseText + path);
    if (!url.isValid())
        throw KafkaError(-1, QStringLiteral("bad path ") + path);

    QNetworkRequest request(url);
    request.setTransferTimeout(connection->timeoutMs);
    request.setRawHeader("Accept", "application/json");
    request.setRawHeader("Authorization", "Basic " + connection->credentials);
    // Uncompressed, so that the size bound counts the real bytes and Qt's guard against
    // compression bombs never refuses a large but honest answer.
    request.setRawHeader("Accept-Encoding", "identity");
    // Nothing is kept between requests: no cookies, no cache.
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    if (body)
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    if (connection->tls)
        request.setSslConfiguration(*connection->tls);

    std::unique_ptr<OneShotBody, LaterDeleter> oneShot(
        once != Once::resendable ? new OneShotBody(body.value_or(QByteArray())) : nullptr);
    std::unique_ptr<QNetworkReply, LaterDeleter> reply(
        oneShot ? connection->network->sendCustomRequest(request, method.toLatin1(), oneShot.get())
            : method == QLatin1String("GET") && !body
            ? connection->network->get(request)
            : connection->network->sendCustomRequest(request, method.toLatin1(), body.value_or(QByteArray())));

    auto tooLarge = std::make_shared<bool>(false);
    QNetworkReply* raw = reply.get();
    QObject::connect(raw, &QNetworkReply::downloadProgress, raw, [raw, tooLarge](qint64 received, qint64 total) {
        if (!*tooLarge && (received > maxAnswerBytes || total > maxAnswerBytes)) {
            *tooLarge = true;
            raw->abort();
        }
    });

    auto uploaded = std::make_shared<bool>(false);
    QObject::connect(raw, &QNetworkReply::uploadProgress, raw, [uploaded](qint64 sent, qint64) {
        if (sent > 0)
            *uploaded = true;
    });

    // Why the server's certificate was not trusted, as Qt found it during the handshake.
    auto certificateProblem = std::make_shared<QString>();
    QObject::connect(raw, &QNetworkReply::sslErrors, raw, [certificateProblem](const QList<QSslError>& errors) {
        if (certificateProblem->isEmpty() && !errors.isEmpty())
            *certificateProblem = errors.first().errorString();
    });

    // Qt's transfer time-out only measures silence; a server that trickles its answer is ended
    // by this deadline on the whole request.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, raw, [raw] { raw->abort(); });
    deadline.start(connection->timeoutMs);
    co_await raw;
    deadline.stop();

    const QString host = connection->base.host().isEmpty() ? QStringLiteral("broker") : connection->base.host();
    // A publish or read that reached the server, or a gateway before it, and was never confirmed.
    auto unconfirmed = [&](const QString& why) {
        if (once == Once::publish)
            return L10n::t("%@ did not confirm the publish (%@), so the message may have been filed. Look at the "
                           "queue before filing it again.",
                           host, why);
        return L10n::t("%@ did not answer the read (%@) after receiving it, so it may have taken and requeued the "
                       "messages: they would now be marked redelivered.",
                       host, why);
    };
    if (*tooLarge) {
        const QString tooLargeText = QStringLiteral("the broker's answer is larger than ")
            + QString::number(maxAnswerBytes / (1024 * 1024)) + QStringLiteral(" MB");
        // The server has answered, so it has done the read.
        if (once == Once::read)
            throw KafkaError(uncertainCode, tooLargeText, true);
        throw KafkaError(-1, tooLargeText);
    }

    const QVariant status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int code = status.isValid() ? status.toInt() : 0;
    const QNetworkReply::NetworkError error = raw->error();
    // An error after a success status (a cut, a stall, a refused decompression) leaves the answer
    // incomplete: it is a transport failure like no answer at all.
    if (error != QNetworkReply::NoError
        && (!status.isValid() || (code >= 200 && code <= 299) || isTransportError(error))) {
        // Not a lost connection: the server is there, the program does not trust it yet.
        if (error == QNetworkReply::SslHandshakeFailedError) {
            if (!certificateProblem->isEmpty())
                throw KafkaError(-1,
                                 L10n::t("%@ presented a certificate that can't be trusted: %@. Choose the "
                                         "certificate authority that signed it on the broker's form.",
                                         host, *certificateProblem));
            throw KafkaError(-1,
                             L10n::t("The TLS handshake with %@ failed: %@. Check the certificate authority, the "
                                     "client certificate and the key on the broker's form.",
                                     host, raw->errorString()));
        }
        // The only thing that cancels a request here is its time-out.
        const QString why = error == QNetworkReply::OperationCanceledError
            ? QStringLiteral("the request timed out after ") + QString::number(connection->timeoutMs)
                + QStringLiteral(" ms")
            : transportWhy(raw);
        // A request that reached the server may have done its work: saying "done" or "refused"
        // would both be guesses. The connection is lost all the same.
        if (once != Once::resendable && *uploaded)
            throw KafkaError(transportCode, unconfirmed(why), true);
        throw KafkaError(transportCode, host + QStringLiteral(" did not answer: ") + why);
    }
    const QByteArray answer = raw->readAll();
    if (!status.isValid() || (code >= 200 && code <= 299))
        co_return answer;
    // A gateway's failure after the request went out proves no refusal by the server behind it.
    if (once != Once::resendable && isGatewayDoubt(code, *uploaded)) {
        const QString why = QStringLiteral("HTTP ") + QString::number(code) + QLatin1Char(' ')
            + raw->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        throw KafkaError(uncertainCode, unconfirmed(why.trimmed()), true);
    }
    KafkaError refusal = RabbitAnswer::statusError(code, answer, connection->base);
    // The management API answers a bare "Not Found" for a missing virtual host as for a missing
    // queue; ask which it is.
    const QString vhostPath = QStringLiteral("/api/vhosts/") + percentEncoded(connection->vhost);
    if (code == 404 && RabbitAnswer::isNotFound(refusal) && path != vhostPath) {
        bool vhostMissing = false;
        try {
            auto probe = send(connection, QStringLiteral("GET"), vhostPath, std::nullopt, Once::resendable);
            co_await std::move(probe);
        } catch (const KafkaError& error) {
            vhostMissing = error.code() == -1 && error.message().startsWith(QLatin1String("the broker answered 404"));
        }
        if (vhostMissing)
            throw KafkaError(-1, L10n::t("the broker has no virtual host \u201c%@\u201d", connection->vhost));
    }
    throw refusal;
}

} // namespace tessaron
