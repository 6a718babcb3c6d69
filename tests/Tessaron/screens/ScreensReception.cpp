// The reception and the broker form in their states, over a real AppState whose brokers file lives
// in a throwaway folder and whose sessions run over scripted clients.

#include "ScreenShooter.h"
#include "support/SessionFakes.h"

#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/kit/TessaronChart.h"
#include "Tessaron/reception/BrokerFormLogic.h"
#include "Tessaron/reception/BrokerFormSheet.h"
#include "Tessaron/reception/ReceptionView.h"
#include "Tessaron/state/AppState.h"
#include "VelkinUI/Brand.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace tessaron {

namespace {

// Points the brokers file at a folder of its own for as long as it lives.
class ThrowawayProfile {
public:
    ThrowawayProfile()
        : m_previous(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", m_folder.path().toUtf8());
    }
    ~ThrowawayProfile() { qputenv("XDG_DATA_HOME", m_previous); }

    void writeBrokers(const QList<Broker>& brokers) const
    {
        QJsonArray array;
        for (const Broker& broker : brokers)
            array.append(broker.toJson());
        const QString folder = m_folder.path() + QStringLiteral("/tessaron.velkin");
        QDir().mkpath(folder);
        QFile file(folder + QLatin1Char('/') + AppState::brokersFileName);
        if (file.open(QIODevice::WriteOnly))
            file.write(QJsonDocument(array).toJson());
    }

private:
    QTemporaryDir m_folder;
    QByteArray m_previous;
};

Broker broker(const QString& name, BrokerKind kind, const QString& bootstrap, BrokerSecurity security)
{
    Broker b;
    b.id = QUuid::createUuid();
    b.name = name;
    b.kind = kind;
    b.bootstrap = bootstrap;
    b.security = security;
    b.saslMechanism = QStringLiteral("PLAIN");
    return b;
}

QList<Broker> docket()
{
    Broker orders =
        broker("Production · orders", BrokerKind::kafka,
               "b-1.orders.kafka.internal:9096,b-2.orders.kafka.internal:9096,b-3.orders.kafka.internal:9096",
               BrokerSecurity::saslSSL);
    orders.username = "svc-reader";
    orders.saslMechanism = "SCRAM-SHA-512";
    Broker local = broker("Local", BrokerKind::kafka, "localhost:19092", BrokerSecurity::plaintext);
    Broker rabbit =
        broker("Billing queues", BrokerKind::rabbitmq, "rabbit.billing.internal:15672", BrokerSecurity::saslPlaintext);
    rabbit.username = "guest";
    rabbit.isFavorite = true;
    return {orders, local, rabbit};
}

// Lets entrances (the chart's bars, the bubble) come to rest before the picture is taken.
void settle(QWidget* widget)
{
    widget->show();
    restFor(700);
}

// The reception in the main window's size, over the window's backdrop.
std::unique_ptr<QWidget> receptionWindow(AppState* app, int height = 660)
{
    auto window = std::make_unique<TessaronBackdrop>(Brand::palette().at(2), true);
    window->resize(1020, height);
    auto* box = new QVBoxLayout(window.get());
    box->setContentsMargins(0, 0, 0, 0);
    auto* reception = new ReceptionView(app, window.get());
    reception->setClock([] { return QDateTime(QDate(2026, 3, 9), QTime(10, 30)); });
    box->addWidget(reception);
    settle(window.get());
    return window;
}

void shootForm(ScreenShooter& shooter, AppState& app, const QString& state, const Broker& edited,
               const std::function<void(BrokerFormLogic&)>& fill = {}, bool atTheFoot = false)
{
    app.setEditing(edited);
    BrokerFormSheet sheet(&app);
    if (fill)
        fill(*sheet.model());
    settle(&sheet);
    if (atTheFoot) {
        auto* body = sheet.findChild<QScrollArea*>();
        body->verticalScrollBar()->setValue(body->verticalScrollBar()->maximum());
    }
    shooter.shoot(QStringLiteral("form"), state, &sheet);
    sheet.done(QDialog::Rejected);
}

} // namespace

void shootReception(ScreenShooter& shooter)
{
    auto clients = std::make_shared<fakes::FakeFactory>();
    clients->kafka->listed = QList<Topic>{fakes::topic("orders", {{0, 120}}), fakes::topic("payments", {{0, 8}})};

    {
        ThrowawayProfile profile;
        profile.writeBrokers({});
        AppState app(clients);
        auto window = receptionWindow(&app, 860);
        shooter.shoot(QStringLiteral("reception"), QStringLiteral("empty"), window.get());
        // The chart of the day is the day's: every chart of the catalogue is shot, whatever the date.
        auto* reception = window->findChild<ReceptionView*>();
        const qsizetype charts = TessaronChart::catalogue().size();
        for (qsizetype i = 1; i < charts; ++i) {
            reception->nextChart();
            settle(window.get());
            shooter.shoot(QStringLiteral("reception"), QStringLiteral("chart-%1").arg(reception->chartIndex() % charts),
                          window.get());
        }
    }
    {
        ThrowawayProfile profile;
        profile.writeBrokers(docket());
        AppState app(clients);
        auto window = receptionWindow(&app, 1040);
        shooter.shoot(QStringLiteral("reception"), QStringLiteral("docket"), window.get());
        auto narrow = receptionWindow(&app, 1180);
        narrow->resize(820, 1180);
        shooter.shoot(QStringLiteral("reception"), QStringLiteral("docket-narrow"), narrow.get());
    }
    {
        // Names that look like markup, one naming an endless file: each stays text.
        ThrowawayProfile profile;
        const QStringList hostile = testing::FaceAudit::hostileTexts();
        QList<Broker> brokers;
        for (const QString& name : hostile) {
            brokers << broker(name, BrokerKind::kafka, hostile.at(0) + QStringLiteral(":9092"),
                              BrokerSecurity::saslSSL);
            brokers.last().username = hostile.at(1);
        }
        profile.writeBrokers(brokers);
        AppState app(clients);
        auto window = receptionWindow(&app, 1040);
        shooter.shoot(QStringLiteral("reception"), QStringLiteral("hostile"), window.get());
        window.reset();
        shootForm(shooter, app, QStringLiteral("hostile"), app.brokers()[0]);
    }
    {
        ThrowawayProfile profile;
        const QList<Broker> brokers = docket();
        profile.writeBrokers(brokers);
        AppState app(clients);
        // One broker opened and still sniffing; the user came back for another one.
        std::shared_ptr<fakes::Gate> gate = clients->kafka->gates.hold(QStringLiteral("topics"));
        app.open(brokers[1]);
        app.setShowingPicker(true);
        auto window = receptionWindow(&app, 1040);
        shooter.shoot(QStringLiteral("reception"), QStringLiteral("connecting"), window.get());
        window.reset();
        app.close(brokers[1].id);
        gate->release();
        QApplication::processEvents();
    }
    {
        ThrowawayProfile profile;
        profile.writeBrokers(docket());
        AppState app(clients);
        Broker fresh = broker(QString(), BrokerKind::kafka, QString(), BrokerSecurity::plaintext);
        shootForm(shooter, app, QStringLiteral("new"), fresh);
        {
            // Over the smallest window: the form fits it, its cards scroll between header and foot.
            QWidget window;
            window.resize(820, 520);
            window.show();
            app.setEditing(fresh);
            BrokerFormSheet sheet(&app, &window);
            settle(&sheet);
            shooter.shoot(QStringLiteral("form"), QStringLiteral("new-820x520"), &sheet);
            sheet.done(QDialog::Rejected);
        }
        shootForm(shooter, app, QStringLiteral("kafka-plaintext"), app.brokers()[1]);

        Broker tls = app.brokers()[1];
        tls.security = BrokerSecurity::ssl;
        shootForm(shooter, app, QStringLiteral("kafka-ssl"), tls, [](BrokerFormLogic& form) {
            form.setCaPath(QStringLiteral("/etc/pki/orders/ca-chain.pem"));
            form.setClientCertPath(QStringLiteral("/home/dev/certs/reader.crt.pem"));
            form.setClientKeyPath(QStringLiteral("/home/dev/certs/reader.key.pem"));
        });
        Broker sasl = app.brokers()[1];
        sasl.security = BrokerSecurity::saslPlaintext;
        sasl.username = QStringLiteral("svc-reader");
        shootForm(shooter, app, QStringLiteral("kafka-sasl"), sasl, [](BrokerFormLogic& form) {
            form.setRegistryURL(QStringLiteral("http://registry.internal:8081"));
            form.setRegistryUsername(QStringLiteral("reader"));
        });
        shootForm(shooter, app, QStringLiteral("kafka-sasl-ssl"), app.brokers()[0], [](BrokerFormLogic& form) {
            form.setClientCertPath(QStringLiteral("/home/dev/certs/reader.crt.pem"));
        });
        shootForm(shooter, app, QStringLiteral("rabbitmq"), app.brokers()[2]);
        // Scrolled to the connection test, after it answered.
        shootForm(
            shooter, app, QStringLiteral("kafka-tested"), app.brokers()[1],
            [&app](BrokerFormLogic& form) { testing::syncWait(form.runTest(&app)); }, true);
    }
}

} // namespace tessaron
