#pragma once

#include "VelkinInfra/prefs/PrefsStore.h"
#include "VelkinUI/AccentTheme.h"

#include <QIcon>
#include <QString>

namespace tessaron {

// Where the chosen accent theme is stored, the brand's logo and what stands in for it.
struct BrandConfig {
    BrandConfig(PrefsStore prefs, QString themeKey, QIcon logo, QString fallbackSymbol, AccentTheme defaultTheme)
        : prefs(std::move(prefs))
        , themeKey(std::move(themeKey))
        , logo(std::move(logo))
        , fallbackSymbol(std::move(fallbackSymbol))
        , defaultTheme(defaultTheme)
    { }

    PrefsStore prefs;
    QString themeKey;
    QIcon logo; // a null icon means "no logo": the fallback symbol is drawn instead
    QString fallbackSymbol;
    AccentTheme defaultTheme;
};

} // namespace tessaron
