#include "TessaronCore/storage/AppSupport.h"

#include <QDir>
#include <QStandardPaths>

namespace tessaron {

QString AppSupport::root()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString path = base + QStringLiteral("/tessaron.velkin");
    QDir().mkpath(path);
    return path;
}

QString AppSupport::url(const QString& name) { return root() + QLatin1Char('/') + name; }

QString AppSupport::directory(const QString& name)
{
    const QString path = root() + QLatin1Char('/') + name;
    QDir().mkpath(path);
    return path;
}

} // namespace tessaron
