#pragma once
#include <QString>
#include <optional>

class QObject;
class QSettings;

// The language of the windows. The Spanish texts are the source texts and need no translator;
// English comes from the translation embedded in the program (":/i18n/tulmera_en.qm").
namespace tulmera::app {

enum class Language { Spanish, English };

// "es" or "en" (as --lang and the settings write them) → the language; anything else: nothing.
std::optional<Language> ParseLanguage(const QString& code);
QString LanguageCode(Language language);

// The system's language: Spanish for a locale name beginning "es" ("es_ES", "es"), else English.
Language SystemLanguage(const QString& localeName);

// The language of this run: `commandLine` (--lang, for this run only) when given, else the one
// remembered in `settings`, else the system's (`localeName`).
Language RunLanguage(std::optional<Language> commandLine, const QSettings& settings,
                     const QString& localeName);

// Installs the translator of `language` on the application, owned by `owner`. Spanish installs
// nothing. False when the English translation cannot be loaded (the windows stay Spanish).
bool InstallTranslator(Language language, QObject* owner);

// The language the installed translators give the windows.
Language CurrentLanguage();

}  // namespace tulmera::app
