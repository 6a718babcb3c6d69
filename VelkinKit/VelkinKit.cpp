#include "VelkinKit/VelkinKit.h"

#include <QMutex>
#include <QMutexLocker>

namespace tessaron::VelkinKit {

namespace {
QMutex configuratorMutex;
BrandConfigurator& installedConfigurator()
{
    static BrandConfigurator configurator;
    return configurator;
}
} // namespace

void setBrandConfigurator(BrandConfigurator configurator)
{
    QMutexLocker lock(&configuratorMutex);
    installedConfigurator() = std::move(configurator);
}

PrefsStore configure(const QString& nameSpace, const QVariant& logo, const QString& fallbackSymbol,
                     const QString& defaultTheme)
{
    PrefsStore store(nameSpace, UserDefaults::standard());
    BrandConfigurator configurator;
    {
        QMutexLocker lock(&configuratorMutex);
        configurator = installedConfigurator();
    }
    if (configurator)
        configurator(store, QStringLiteral("accentTheme"), logo, fallbackSymbol, defaultTheme);
    return store;
}

} // namespace tessaron::VelkinKit
