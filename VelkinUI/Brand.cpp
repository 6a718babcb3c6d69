#include "VelkinUI/Brand.h"

#include <memory>

namespace tessaron::Brand {

namespace {

std::unique_ptr<BrandConfig>& storage()
{
    static std::unique_ptr<BrandConfig> current = std::make_unique<BrandConfig>(
        PrefsStore(QStringLiteral("velkinkit"), UserDefaults::standard()), QStringLiteral("accentTheme"), QIcon(),
        QStringLiteral("circle.hexagongrid.fill"), AccentTheme::violet);
    return current;
}

} // namespace

void configure(const BrandConfig& configuration) { storage() = std::make_unique<BrandConfig>(configuration); }

const BrandConfig& config() { return *storage(); }

AccentTheme theme()
{
    const BrandConfig& c = config();
    const std::optional<QString> stored = c.prefs.stringFor(c.themeKey);
    if (!stored)
        return c.defaultTheme;
    return AccentThemes::fromRawValue(*stored).value_or(c.defaultTheme);
}

void setTheme(AccentTheme value)
{
    BrandConfig& c = *storage();
    c.prefs.set(std::optional<QString>(AccentThemes::rawValue(value)), c.themeKey);
}

QList<QColor> palette() { return AccentThemes::palette(theme()); }

QColor accent() { return AccentThemes::accent(theme()); }

QLinearGradient gradient(const QRectF& rect)
{
    QLinearGradient g(rect.topLeft(), rect.bottomRight());
    g.setColorAt(0.0, palette().at(0));
    g.setColorAt(0.5, palette().at(1));
    g.setColorAt(1.0, palette().at(2));
    return g;
}

QIcon logo() { return config().logo; }

QString fallbackSymbol() { return config().fallbackSymbol; }

} // namespace tessaron::Brand
