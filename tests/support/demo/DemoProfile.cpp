#include "DemoProfile.h"

#include "TessaronCore/prefs/Prefs.h"
#include "TessaronCore/storage/JSONFile.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace tessaron::demo {

QString DemoProfile::brokersFile(const QString& folder)
{
    return folder + QStringLiteral("/data/tessaron.velkin/brokers.json");
}

QString DemoProfile::preferencesFile(const QString& folder)
{
    return folder + QStringLiteral("/config/tessaron.velkin/preferences.json");
}

QStringList DemoProfile::environment(const QString& folder)
{
    return {"HOME=" + folder + "/home", "XDG_CONFIG_HOME=" + folder + "/config", "XDG_DATA_HOME=" + folder + "/data",
            "XDG_CACHE_HOME=" + folder + "/cache", "XDG_RUNTIME_DIR=" + folder + "/run"};
}

std::optional<QString> DemoProfile::write(const QString& folder, const QList<Broker>& brokers)
{
    const QDir root(folder);
    for (const char* sub : {"home", "config/tessaron.velkin", "data/tessaron.velkin", "cache", "run"}) {
        if (!root.mkpath(QString::fromLatin1(sub)))
            return "could not create " + root.filePath(QString::fromLatin1(sub));
    }
    QFile::setPermissions(root.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // The application's own encoding, so the file reads exactly as one it wrote itself.
    const std::optional<QByteArray> bytes = JSONFile<QList<Broker>>::encode(brokers);
    QSaveFile file(brokersFile(folder));
    if (!bytes || !file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit())
        return "could not write " + brokersFile(folder);

    // Every demo profile is new; without this the introduction and the release notes would cover the
    // demo brokers each time.
    UserDefaults preferences(preferencesFile(folder));
    preferences.setBool(Prefs::onboarded, true);
    preferences.setString(Prefs::lastSeenVersion, QStringLiteral(TESSARON_DEMO_VERSION));
    if (!preferences.lastWriteSucceeded())
        return "could not write " + preferencesFile(folder);
    return std::nullopt;
}

} // namespace tessaron::demo
