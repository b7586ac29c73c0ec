#include "app/widgets/settings_keys.h"

#include <QSettings>
#include <QString>

namespace tulmera::widgets {

QString FolderKey(const QString& kind) { return QStringLiteral("folders/") + kind; }

void MoveOldSettingsKeys(QSettings& settings)
{
    const struct {
        const char* old;
        QString key;
    } moves[] = {
        {"idioma", QLatin1String(kLanguageKey)},
        {"medido/recientes", QLatin1String(kRecentMeasuredKey)},
        {"charts/fondo", QLatin1String(kChartBackgroundKey)},
        {"charts/actualizarAlArrastrar", QLatin1String(kFollowThumbKey)},
        {"folders/espectros", FolderKey(QLatin1String(kSpectraFolder))},
        {"folders/graficos", FolderKey(QLatin1String(kChartsFolder))},
    };
    for (const auto& move : moves) {
        const QString old = QLatin1String(move.old);
        if (!settings.contains(old)) continue;
        if (!settings.contains(move.key)) settings.setValue(move.key, settings.value(old));
        settings.remove(old);
    }
}

}  // namespace tulmera::widgets
