// The first-run introduction: every chapter in English, one in Portuguese, the case solved, the
// broker chapter answered, saved and refused, and the partnership signed. Over a real AppState
// whose brokers file lives in a throwaway folder and whose test runs over scripted clients.

#include "ScreenFamilies.h"
#include "ScreenShooter.h"
#include "support/SessionFakes.h"

#include "Tessaron/intro/OnboardingView.h"
#include "Tessaron/intro/WelcomeCase.h"
#include "Tessaron/intro/WelcomeConnection.h"
#include "Tessaron/intro/WelcomeGroundRules.h"
#include "Tessaron/reception/FormCard.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

namespace tessaron {

namespace {

template <typename Page> Page* pageOf(OnboardingView& view) { return qobject_cast<Page*>(view.page()); }

void fill(FormField* field, const QString& text) { field->edit()->setText(text); }

} // namespace

void shootIntro(ScreenShooter& shooter)
{
    QTemporaryDir data;
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const bool reduce = AccessibilitySettings::instance().reduceMotion();
    AccessibilitySettings::instance().setReduceMotion(true);
    const auto language = UserDefaults::standard().string(L10n::key);
    UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
    UserDefaults::standard().remove(Prefs::aiProvider);

    auto clients = std::make_shared<fakes::FakeFactory>();
    clients->kafka->listed = QList<Topic>{fakes::topic("orders"), fakes::topic("payments"), fakes::topic("audit")};
    AppState app(clients);
    // Lets the page come to rest, then takes its picture.
    auto snap = [&](OnboardingView& view, const char* state, int ms = 600) {
        restFor(ms);
        shooter.shoot("intro", state, &view);
    };
    {
        OnboardingView view(&app);
        view.refreshAI = [](AppState*) {};
        view.show();
        snap(view, "introduction");
        view.goTo(1);
        snap(view, "case");
        pageOf<WelcomeCase>(view)->pick(0);
        snap(view, "case-wrong-pick");
        pageOf<WelcomeCase>(view)->pick(2);
        snap(view, "case-solved");
        view.goTo(2);
        snap(view, "ground-rules");
        auto* rules = pageOf<WelcomeGroundRules>(view);
        rules->choose(true);
        rules->peek();
        snap(view, "ground-rules-rabbit-peeked");
        view.goTo(3);
        snap(view, "backup", 1500);
        view.goTo(4);
        snap(view, "broker");
        auto* broker = pageOf<WelcomeConnection>(view);
        fill(broker->nameField(), "Local");
        fill(broker->addressField(), "localhost:9092");
        broker->runConnectionTest();
        waitUntil([&] { return !broker->testing(); });
        snap(view, "broker-answered");
        broker->saveTestedBroker();
        snap(view, "broker-saved");
        clients->kafka->topicsError = KafkaError(-195, "listing topics: transport failure (connection refused)");
        broker->setKind(BrokerKind::rabbitmq);
        broker->setKind(BrokerKind::kafka);
        broker->runConnectionTest();
        waitUntil([&] { return !broker->testing(); });
        snap(view, "broker-refused");
        broker->setKind(BrokerKind::rabbitmq);
        fill(broker->addressField(), "localhost:15672");
        snap(view, "broker-rabbitmq");
        view.goTo(5);
        snap(view, "partners");
        view.signAgreement();
        snap(view, "partners-signed");
        view.hide();
    }
    {
        // Over the smallest window: the chapter scrolls between the top bar and the footer.
        QWidget window;
        window.resize(820, 520);
        window.show();
        OnboardingView view(&app, &window);
        view.refreshAI = [](AppState*) {};
        view.show();
        snap(view, "introduction-820x520");
        view.goTo(1);
        snap(view, "case-820x520");
        view.hide();
    }
    {
        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        OnboardingView view(&app);
        view.refreshAI = [](AppState*) {};
        view.show();
        snap(view, "introduction-pt");
        view.goTo(1);
        pageOf<WelcomeCase>(view)->askForHelp();
        snap(view, "case-solved-pt");
        view.hide();
    }
    if (language)
        UserDefaults::standard().setString(L10n::key, *language);
    else
        UserDefaults::standard().remove(L10n::key);
    AccessibilitySettings::instance().setReduceMotion(reduce);
    qputenv("XDG_DATA_HOME", previous);
}

} // namespace tessaron
