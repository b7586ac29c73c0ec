// The settings of the first releases, under Spanish keys, carried over to the English ones.
#include "app/widgets/settings_keys.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace tulmera::widgets {

class SettingsKeysTest : public QObject {
    Q_OBJECT

private slots:
    void MovesEachOldKeyOnceAndKeepsNewerChoices()
    {
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        QSettings settings(directory.filePath(QStringLiteral("Tulmera.conf")),
                           QSettings::IniFormat);
        const QStringList recent{QStringLiteral("/data/leaf.csv"), QStringLiteral("/data/b.txt")};
        settings.setValue(QStringLiteral("idioma"), QStringLiteral("en"));
        settings.setValue(QStringLiteral("medido/recientes"), recent);
        settings.setValue(QStringLiteral("charts/fondo"), 3);
        settings.setValue(QStringLiteral("folders/espectros"), QStringLiteral("/data"));
        // Chosen after an update already: the newer choice stays, the old key still goes.
        settings.setValue(QStringLiteral("charts/actualizarAlArrastrar"), false);
        settings.setValue(QLatin1String(kFollowThumbKey), true);
        settings.setValue(QStringLiteral("sensorDock/visible"), true);  // English already

        MoveOldSettingsKeys(settings);
        QCOMPARE(settings.value(QLatin1String(kLanguageKey)).toString(), QStringLiteral("en"));
        QCOMPARE(settings.value(QLatin1String(kRecentMeasuredKey)).toStringList(), recent);
        QCOMPARE(settings.value(QLatin1String(kChartBackgroundKey)).toInt(), 3);
        QCOMPARE(settings.value(FolderKey(QLatin1String(kSpectraFolder))).toString(),
                 QStringLiteral("/data"));
        QCOMPARE(settings.value(QLatin1String(kFollowThumbKey)).toBool(), true);
        QVERIFY(!settings.contains(FolderKey(QLatin1String(kChartsFolder))));  // none to move
        QCOMPARE(settings.value(QStringLiteral("sensorDock/visible")).toBool(), true);
        for (const char* old : {"idioma", "medido/recientes", "charts/fondo",
                                "charts/actualizarAlArrastrar", "folders/espectros"}) {
            QVERIFY2(!settings.contains(QLatin1String(old)), old);
        }

        // The next start finds nothing to move and changes nothing.
        const QStringList keys = settings.allKeys();
        settings.setValue(QLatin1String(kChartBackgroundKey), 2);
        MoveOldSettingsKeys(settings);
        QCOMPARE(settings.allKeys(), keys);
        QCOMPARE(settings.value(QLatin1String(kChartBackgroundKey)).toInt(), 2);
    }
};

}  // namespace tulmera::widgets

QTEST_GUILESS_MAIN(tulmera::widgets::SettingsKeysTest)
#include "settings_keys_test.moc"
