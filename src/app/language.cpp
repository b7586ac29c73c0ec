#include "app/language.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTranslator>

#include "app/widgets/settings_keys.h"

namespace tulmera::app {

std::optional<Language> ParseLanguage(const QString& code)
{
    if (code == QLatin1String("es")) return Language::Spanish;
    if (code == QLatin1String("en")) return Language::English;
    return std::nullopt;
}

QString LanguageCode(Language language)
{
    return language == Language::Spanish ? QStringLiteral("es") : QStringLiteral("en");
}

Language SystemLanguage(const QString& localeName)
{
    return localeName.startsWith(QLatin1String("es")) ? Language::Spanish : Language::English;
}

Language RunLanguage(std::optional<Language> commandLine, const QSettings& settings,
                     const QString& localeName)
{
    if (commandLine) return *commandLine;
    if (const auto remembered =
            ParseLanguage(settings.value(QLatin1String(widgets::kLanguageKey)).toString())) {
        return *remembered;
    }
    return SystemLanguage(localeName);
}

bool InstallTranslator(Language language, QObject* owner)
{
    if (language == Language::Spanish) return true;
    auto* translator = new QTranslator(owner);
    if (!translator->load(QStringLiteral(":/i18n/tulmera_en.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

Language CurrentLanguage()
{
    //: The language of this translation: "es" in the Spanish program, "en" in English.
    return ParseLanguage(QCoreApplication::translate("tulmera::app::Language", "es"))
        .value_or(Language::Spanish);
}

}  // namespace tulmera::app
