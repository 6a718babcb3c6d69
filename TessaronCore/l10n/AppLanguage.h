#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace tessaron {

// The user's language choice, stored under L10n::key by its raw value.
enum class AppLanguage { system, en, pt };

// All choices in the order the settings offer them.
QList<AppLanguage> allAppLanguages();
QString rawValue(AppLanguage language); // "system", "en", "pt"; also its id
QString label(AppLanguage language);    // "System", "English", "Português"
std::optional<AppLanguage> appLanguageFromRawValue(const QString& raw);

} // namespace tessaron
