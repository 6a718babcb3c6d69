#include "VelkinUI/KitConfigurator.h"

#include "VelkinKit/VelkinKit.h"
#include "VelkinUI/Brand.h"

#include <QImage>
#include <QPixmap>

namespace tessaron {

void installBrandAsKitConfigurator()
{
    VelkinKit::setBrandConfigurator([](const PrefsStore& prefs, const QString& themeKey, const QVariant& logo,
                                       const QString& fallbackSymbol, const QString& defaultTheme) {
        QIcon icon;
        if (logo.canConvert<QPixmap>() && logo.typeId() == QMetaType::QPixmap)
            icon = QIcon(logo.value<QPixmap>());
        else if (logo.typeId() == QMetaType::QImage)
            icon = QIcon(QPixmap::fromImage(logo.value<QImage>()));
        else if (logo.typeId() == QMetaType::QIcon)
            icon = logo.value<QIcon>();
        // An unknown theme name falls back to the kit's own default.
        const AccentTheme theme = AccentThemes::fromRawValue(defaultTheme).value_or(AccentTheme::violet);
        Brand::configure(BrandConfig(prefs, themeKey, icon, fallbackSymbol, theme));
    });
}

} // namespace tessaron
