#include "VelkinUI/AccentTheme.h"

namespace tessaron::AccentThemes {

const std::array<AccentTheme, 5>& allCases()
{
    static const std::array<AccentTheme, 5> all{AccentTheme::violet, AccentTheme::ocean, AccentTheme::sunset,
                                                AccentTheme::forest, AccentTheme::mono};
    return all;
}

std::optional<AccentTheme> fromRawValue(const QString& raw)
{
    for (AccentTheme theme : allCases()) {
        if (rawValue(theme) == raw)
            return theme;
    }
    return std::nullopt;
}

QString rawValue(AccentTheme theme)
{
    switch (theme) {
    case AccentTheme::violet:
        return QStringLiteral("violet");
    case AccentTheme::ocean:
        return QStringLiteral("ocean");
    case AccentTheme::sunset:
        return QStringLiteral("sunset");
    case AccentTheme::forest:
        return QStringLiteral("forest");
    case AccentTheme::mono:
        return QStringLiteral("mono");
    }
    return QStringLiteral("violet");
}

QString label(AccentTheme theme)
{
    switch (theme) {
    case AccentTheme::violet:
        return QStringLiteral("Violet");
    case AccentTheme::ocean:
        return QStringLiteral("Ocean");
    case AccentTheme::sunset:
        return QStringLiteral("Sunset");
    case AccentTheme::forest:
        return QStringLiteral("Forest");
    case AccentTheme::mono:
        return QStringLiteral("Graphite");
    }
    return QString();
}

static QColor rgb(double r, double g, double b) { return QColor::fromRgbF(float(r), float(g), float(b), 1.0f); }

QList<QColor> palette(AccentTheme theme)
{
    switch (theme) {
    case AccentTheme::violet:
        return {rgb(0.42, 0.31, 0.95), rgb(0.2, 0.65, 0.95), rgb(0.95, 0.35, 0.65), rgb(0.34, 0.86, 0.78),
                rgb(0.99, 0.55, 0.36)};
    case AccentTheme::ocean:
        return {rgb(0.2, 0.55, 0.95), rgb(0.18, 0.78, 0.92), rgb(0.34, 0.86, 0.78), rgb(0.45, 0.62, 1.0),
                rgb(0.3, 0.9, 0.66)};
    case AccentTheme::sunset:
        return {rgb(0.98, 0.45, 0.35), rgb(0.95, 0.35, 0.62), rgb(0.99, 0.7, 0.3), rgb(0.85, 0.3, 0.55),
                rgb(0.99, 0.55, 0.36)};
    case AccentTheme::forest:
        return {rgb(0.3, 0.78, 0.55), rgb(0.55, 0.82, 0.35), rgb(0.2, 0.65, 0.6), rgb(0.34, 0.86, 0.62),
                rgb(0.75, 0.85, 0.3)};
    case AccentTheme::mono:
        return {rgb(0.55, 0.55, 0.62), rgb(0.45, 0.48, 0.58), rgb(0.65, 0.62, 0.78), rgb(0.38, 0.4, 0.48),
                rgb(0.72, 0.7, 0.82)};
    }
    return palette(AccentTheme::violet);
}

QColor accent(AccentTheme theme)
{
    switch (theme) {
    case AccentTheme::violet:
        return rgb(0.55, 0.42, 1.0);
    case AccentTheme::ocean:
        return rgb(0.26, 0.66, 0.98);
    case AccentTheme::sunset:
        return rgb(0.98, 0.48, 0.42);
    case AccentTheme::forest:
        return rgb(0.3, 0.8, 0.55);
    case AccentTheme::mono:
        return rgb(0.68, 0.66, 0.8);
    }
    return rgb(0.55, 0.42, 1.0);
}

} // namespace tessaron::AccentThemes
