#include "Tessaron/kit/LanguageChange.h"

#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"

namespace tessaron::LanguageChange {

void onChange(QObject* owner, std::function<void()> redraw)
{
    // Queued: the lookup recomputes its language on the same signal, and must have done so first.
    QObject::connect(
        &UserDefaults::standard(), &UserDefaults::changed, owner,
        [redraw = std::move(redraw)](const QString& key) {
            if (key == L10n::key)
                redraw();
        },
        Qt::QueuedConnection);
}

} // namespace tessaron::LanguageChange
