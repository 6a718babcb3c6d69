#include "Tessaron/app/AppArtwork.h"

// Resources of a static library are registered explicitly, once.
static void registerArtwork() { Q_INIT_RESOURCE(tessaron_artwork); }

namespace tessaron::AppArtwork {

namespace {
void ensureRegistered()
{
    static const bool done = [] {
        registerArtwork();
        return true;
    }();
    Q_UNUSED(done);
}
} // namespace

QIcon appIcon()
{
    ensureRegistered();
    return QIcon(QStringLiteral(":/tessaron/AppIcon.svg"));
}

QIcon logoMark()
{
    ensureRegistered();
    return QIcon(QStringLiteral(":/tessaron/LogoMark.svg"));
}

} // namespace tessaron::AppArtwork
