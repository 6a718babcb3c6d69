#include "Tessaron/settings/SettingsWiring.h"

#include "Tessaron/app/ViewSlots.h"
#include "Tessaron/app/WindowsService.h"
#include "Tessaron/settings/AboutView.h"
#include "Tessaron/settings/SettingsView.h"
#include "Tessaron/settings/WhatsNewEntry.h"
#include "Tessaron/settings/WhatsNewView.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QPointer>

namespace tessaron {

void installSettingsViews(WindowsService* windows)
{
    ViewSlots& views = ViewSlots::installed();
    QPointer<WindowsService> service(windows);
    views.settings = [service](AppState* app) -> QWidget* {
        auto* view = new SettingsView(app);
        QObject::connect(view, &SettingsView::aboutRequested, view, [service] {
            if (service)
                service->show(WindowsService::Window::about);
        });
        return view;
    };
    views.about = [](AppState* app) -> QWidget* { return new AboutView(app); };
    views.whatsNew = [](AppState*, QWidget* parent) -> QDialog* {
        const bool onboarded = UserDefaults::standard().boolean(Prefs::onboarded).value_or(false);
        const std::optional<WhatsNewEntry> entry = WhatsNewEntry::unseen(onboarded);
        return entry ? new WhatsNewView(*entry, parent) : nullptr;
    };
}

} // namespace tessaron
