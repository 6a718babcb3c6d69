#include "TessaronCore/l10n/AppLanguage.h"

namespace tessaron {

QList<AppLanguage> allAppLanguages() { return {AppLanguage::system, AppLanguage::en, AppLanguage::pt}; }

QString rawValue(AppLanguage language)
{
    switch (language) {
    case AppLanguage::en:
        return QStringLiteral("en");
    case AppLanguage::pt:
        return QStringLiteral("pt");
    case AppLanguage::system:
        break;
    }
    return QStringLiteral("system");
}

QString label(AppLanguage language)
{
    switch (language) {
    case AppLanguage::en:
        return QStringLiteral("English");
    case AppLanguage::pt:
        return QStringLiteral("Português");
    case AppLanguage::system:
        break;
    }
    return QStringLiteral("System");
}

std::optional<AppLanguage> appLanguageFromRawValue(const QString& raw)
{
    for (AppLanguage language : allAppLanguages()) {
        if (rawValue(language) == raw)
            return language;
    }
    return std::nullopt;
}

} // namespace tessaron
