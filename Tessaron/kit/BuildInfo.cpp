#include "Tessaron/kit/BuildInfo.h"

#include "Tessaron/kit/BuildValues.h"
#include "TessaronCore/l10n/L10n.h"

#include <QSysInfo>

namespace tessaron::BuildInfo {

namespace {

std::optional<QString>& versionOverride()
{
    static std::optional<QString> version;
    return version;
}

std::optional<QString>& buildOverride()
{
    static std::optional<QString> build;
    return build;
}

} // namespace

QString version()
{
    const QString built = versionOverride().value_or(QStringLiteral(TESSARON_BUILD_VERSION));
    return built.isEmpty() ? QStringLiteral("0.4.0") : built;
}

QString buildNumber()
{
    const QString build = buildOverride().value_or(QStringLiteral(TESSARON_BUILD_NUMBER));
    return build.isEmpty() ? QStringLiteral("dev") : build;
}

QString websiteUrl() { return QStringLiteral(TESSARON_WEBSITE_URL); }

QString architecture()
{
    // Qt's names for the common ones are not how people write them.
    const QString cpu = QSysInfo::buildCpuArchitecture();
    if (cpu == QLatin1String("x86_64"))
        return QStringLiteral("x86-64");
    if (cpu == QLatin1String("arm64"))
        return QStringLiteral("ARM64");
    if (cpu == QLatin1String("i386"))
        return QStringLiteral("x86");
    return cpu;
}

QString platformNote() { return L10n::t("Linux on %@", architecture()); }

void overrideVersion(std::optional<QString> version) { versionOverride() = std::move(version); }

void overrideBuild(std::optional<QString> build) { buildOverride() = std::move(build); }

} // namespace tessaron::BuildInfo
