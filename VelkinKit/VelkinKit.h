#pragma once

#include "VelkinInfra/prefs/PrefsStore.h"

#include <QString>
#include <QVariant>

#include <functional>

namespace tessaron::VelkinKit {

// The kit's version text.
inline const QString version = QStringLiteral("0.1.0");

// How the brand kit takes its configuration. The kit's widget module installs this once
// (the kit itself links no widget code); without it `configure` only makes the store.
// `logo` holds an image (QImage or QPixmap) or is invalid; `defaultTheme` is a theme's raw value.
using BrandConfigurator = std::function<void(const PrefsStore& prefs, const QString& themeKey, const QVariant& logo,
                                             const QString& fallbackSymbol, const QString& defaultTheme)>;
void setBrandConfigurator(BrandConfigurator configurator);

// Makes a store with `nameSpace` over the standard user defaults, configures the brand kit with
// it (theme key "accentTheme") and returns the store.
PrefsStore configure(const QString& nameSpace, const QVariant& logo, const QString& fallbackSymbol,
                     const QString& defaultTheme);

} // namespace tessaron::VelkinKit
