// The dock "Sensor e índices" of the main window, driven offscreen: its values follow the
// bars and the chart menu, the menu "Ver" closes and reopens it, and the settings remember it.
#include "app/windows/sensor_dock.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "app/widgets/controls.h"
#include "app/windows/main_window.h"
#include "sensor/band_tables.h"
#include "sensor/band_values.h"
#include "sensor/indices.h"
#include "support/scratch_settings.h"
#include "support/window_fixtures.h"
#include "support/work_dir.h"
#include "textio/number_text.h"

namespace tulmera::app {

class SensorDockTest : public QObject {
    Q_OBJECT

private:
    testing::WindowFixture<MainWindow> fixture_;

    SensorDock* Dock() const { return fixture_.Find<SensorDock>(QStringLiteral("sensorDock")); }
    QAction* ViewEntry() const { return fixture_.Find<QAction>(QStringLiteral("viewSensorDock")); }
    QAction* Menu211(int entry) const
    {
        return fixture_.Find<QAction>(QStringLiteral("menu211(%1)").arg(entry));
    }
    QScrollBar* Bar(const char* name, int i) const
    {
        return fixture_.Find<QScrollBar>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
    }
    // The shown value of the index called `name`.
    static QString IndexText(const QWidget* dock, std::string_view name)
    {
        const auto* table = dock->findChild<QTableWidget*>(QStringLiteral("indexTable"));
        for (std::size_t i = 0; i < sensor::kIndices.size(); ++i) {
            if (sensor::kIndices[i].name == name) return table->item(int(i), 1)->text();
        }
        qFatal("no index %s", name.data());
    }
    double IndexValue(std::string_view name) const
    {
        const std::optional<double> value = widgets::ParseValueText(IndexText(Dock(), name));
        if (!value) qFatal("index %s shows no number", name.data());
        return *value;
    }
    QString ShownSensor() const
    {
        return fixture_.Find<QLabel>(QStringLiteral("sensorName"))->text();
    }

private slots:
    // Settings go to a temporary folder, never the user's.
    void initTestCase()
    {
        testing::UseScratchSettings();
        QCoreApplication::setOrganizationName(QStringLiteral("tulmera-tests"));
        QCoreApplication::setApplicationName(QStringLiteral("sensor_dock_test"));
    }
    void init()
    {
        QSettings().clear();
        fixture_.Open();
    }
    void cleanup() { fixture_.Close(); }

    // The first start shows no dock; "Ver" opens it with the values of the charts on screen:
    // the band table holds the canopy run's band means, in percent with two decimals.
    void opensFromTheViewMenuWithTheChartsValues()
    {
        QVERIFY(Dock()->isHidden());
        QVERIFY(!ViewEntry()->isChecked());
        QCOMPARE(Dock()->RoomBeside(), QSize(0, 0));  // the window's natural size is its own
        ViewEntry()->trigger();
        QVERIFY(!Dock()->isHidden());
        QVERIFY(ViewEntry()->isChecked());
        QCOMPARE(ShownSensor(), QStringLiteral("Sentinel-2 MSI"));
        const auto* bands = fixture_.Find<QTableWidget>(QStringLiteral("bandTable"));
        QCOMPARE(bands->rowCount(), 13);
        QCOMPARE(bands->item(8, 0)->text(), QStringLiteral("B8A"));
        QCOMPARE(bands->item(8, 1)->text(), QStringLiteral("IRC"));
        QCOMPARE(bands->item(8, 2)->text(), QStringLiteral("855–875"));
        const canopy::CanopyState& state = fixture_.window()->canopyState();
        const std::optional<double> b4 =
            sensor::BandMean(state.canopyReflPct, sensor::kSentinel2MsiBands[3]);
        QCOMPARE(bands->item(3, 5)->text(), QString::fromStdString(textio::FixedText(*b4, 2)));
        const std::optional<double> soil =
            sensor::BandMean(state.soilRefl, sensor::kSentinel2MsiBands[3]);
        QCOMPARE(bands->item(3, 6)->text(), QString::fromStdString(textio::FixedText(*soil, 2)));
        QVERIFY(fixture_.Find<QLabel>(QStringLiteral("broadbandNdvi"))
                    ->text()
                    .contains(QStringLiteral("bandas B4 (rojo) y B8 (IRC)")));
        // Each index names its formula and wavelengths where the pointer rests.
        const auto* indices = fixture_.Find<QTableWidget>(QStringLiteral("indexTable"));
        QCOMPARE(indices->item(0, 1)->toolTip(),
                 QStringLiteral("NDVI = (ρ800−ρ670)/(ρ800+ρ670)\nLongitudes de onda: 670, 800 nm"));
        QVERIFY(indices->item(15, 0)->toolTip().contains(QStringLiteral("\nOSAVI = 1.16(")));
        QVERIFY(
            indices->item(15, 0)->toolTip().endsWith(QStringLiteral(": 550, 670, 700, 800 nm")));
        QVERIFY(!indices->item(2, 0)->toolTip().contains(QStringLiteral("OSAVI")));  // SAVI
    }

    // The indices come from the 5 nm spectrum unless the sensor's bands are chosen, and the
    // dock says which. From the bands, each wavelength reads the band holding it: Sentinel-2's
    // NDVI is (B8 - B4) / (B8 + B4) of the band values, and NDRE, reading 720 nm between B5
    // and B6, is undefined.
    void saysWhereTheIndicesComeFromAndOffersTheBands()
    {
        ViewEntry()->trigger();
        auto* source = fixture_.Find<QComboBox>(QStringLiteral("indexSource"));
        const auto* note = fixture_.Find<QLabel>(QStringLiteral("indexSourceNote"));
        const auto* indices = fixture_.Find<QTableWidget>(QStringLiteral("indexTable"));
        QCOMPARE(source->currentIndex(), 0);
        QVERIFY2(note->text().contains(QStringLiteral("cada 5 nm")), qPrintable(note->text()));
        QVERIFY(indices->isColumnHidden(2));
        const spectral::Spectrum rho =
            sensor::FractionOfPercent(fixture_.window()->canopyState().canopyReflPct);
        QCOMPARE(IndexValue("NDVI"),
                 widgets::ParseValueText(
                     QString::fromStdString(textio::FixedText(*sensor::ComputeIndices(rho)[0], 4)))
                     .value());

        source->setCurrentIndex(1);
        emit source->activated(1);
        QVERIFY2(note->text().contains(QStringLiteral("bandas de Sentinel-2 MSI")),
                 qPrintable(note->text()));
        QVERIFY(!indices->isColumnHidden(2));
        const double b4 = *sensor::BandMean(rho, sensor::kSentinel2MsiBands[3]);
        const double b8 = *sensor::BandMean(rho, sensor::kSentinel2MsiBands[7]);
        QCOMPARE(IndexText(Dock(), "NDVI"),
                 QString::fromStdString(textio::FixedText((b8 - b4) / (b8 + b4), 4)));
        QCOMPARE(indices->item(0, 2)->text(), QStringLiteral("B4, B8"));
        QCOMPARE(IndexText(Dock(), "NDRE"), QStringLiteral("—"));
        QCOMPARE(indices->item(5, 2)->text(), QStringLiteral("—, B7"));

        Menu211(4)->trigger();  // Landsat-TM: its own bands
        QVERIFY(note->text().contains(QStringLiteral("bandas de Landsat-TM")));
        QCOMPARE(indices->item(0, 2)->text(), QStringLiteral("3, 4"));
    }

    // The dock follows the bars: more leaves raise NDVI, more chlorophyll moves the red edge
    // to longer wavelengths. Changes made while the dock is closed show when it reopens.
    void followsTheBars()
    {
        ViewEntry()->trigger();
        Bar("hsbSailh", 0)->setValue(50);  // LAI 0.5
        const double sparse = IndexValue("NDVI");
        Bar("hsbSailh", 0)->setValue(400);  // LAI 4
        QVERIFY2(IndexValue("NDVI") > sparse + 0.05, qPrintable(IndexText(Dock(), "NDVI")));
        Bar("hsbProspect", 1)->setValue(2000);  // Cab 20
        const double pale = IndexValue("REIP");
        QCOMPARE(IndexText(Dock(), "REIP").section(QLatin1Char('.'), 1).size(), 1);  // nm
        Dock()->close();
        QVERIFY(!ViewEntry()->isChecked());
        Bar("hsbProspect", 1)->setValue(7000);  // Cab 70, while the dock is closed
        ViewEntry()->trigger();
        QVERIFY2(IndexValue("REIP") > pale + 1.0, qPrintable(IndexText(Dock(), "REIP")));
        QCOMPARE(IndexText(Dock(), "MSAVI").section(QLatin1Char('.'), 1).size(), 4);
    }

    // The shown sensor is the checked chart entry's; with the grid, the chooser's, which keeps
    // its choice while a sensor entry is checked.
    void showsTheSensorOfTheChartMenuOrTheChooser()
    {
        ViewEntry()->trigger();
        auto* chooser = fixture_.Find<QComboBox>(QStringLiteral("sensorChooser"));
        const auto* bands = fixture_.Find<QTableWidget>(QStringLiteral("bandTable"));
        QVERIFY(chooser->isEnabled());
        chooser->setCurrentIndex(2);
        emit chooser->activated(2);  // as a user's choice does
        QCOMPARE(ShownSensor(), QStringLiteral("Landsat-TM"));
        QCOMPARE(bands->rowCount(), 6);
        QCOMPARE(bands->item(5, 0)->text(), QStringLiteral("7"));  // 2080-2350 nm; 6 is thermal
        for (int entry = 2; entry <= 10; ++entry) {
            Menu211(entry)->trigger();
            const sensor::Sensor& expected = sensor::kSensors[std::size_t(entry - 2)];
            QCOMPARE(ShownSensor(),
                     QString::fromUtf8(expected.name.data(), qsizetype(expected.name.size())));
            QCOMPARE(bands->rowCount(), int(expected.bands.size()));
            QCOMPARE(chooser->currentText(), ShownSensor());
            QVERIFY(!chooser->isEnabled());
        }
        Menu211(1)->trigger();
        QCOMPARE(ShownSensor(), QStringLiteral("Landsat-TM"));
        QVERIFY(chooser->isEnabled());
    }

    // Whether the dock is open and where it stands outlives the window.
    void remembersItsStateAcrossWindows()
    {
        ViewEntry()->trigger();
        fixture_.window()->addDockWidget(Qt::LeftDockWidgetArea, Dock());
        fixture_.Reopen();
        QVERIFY(!Dock()->isHidden());
        QVERIFY(ViewEntry()->isChecked());
        QCOMPARE(fixture_.window()->dockWidgetArea(Dock()), Qt::LeftDockWidgetArea);
        QVERIFY(!IndexText(Dock(), "NDVI").isEmpty());
        QVERIFY(IndexText(Dock(), "NDVI") != QStringLiteral("—"));
        Dock()->close();  // its own close button
        fixture_.Reopen();
        QVERIFY(Dock()->isHidden());
        QVERIFY(!ViewEntry()->isChecked());
        QCOMPARE(fixture_.window()->dockWidgetArea(Dock()), Qt::LeftDockWidgetArea);
    }

    // Indices whose denominator is zero show "—", the others their value: a flat spectrum has
    // NDVI 0 and no red edge; a black one no ratio at all, nor a broadband NDVI.
    void showsUndefinedValuesAsADash_data()
    {
        QTest::addColumn<double>("percent");
        QTest::addColumn<QString>("ndvi");
        QTest::addColumn<QString>("reip");
        QTest::addColumn<QString>("broadband");
        QTest::newRow("flat 40 %") << 40.0 << "0.0000"
                                   << "—"
                                   << "0.0000";
        QTest::newRow("black") << 0.0 << "—"
                               << "—"
                               << "—";
    }
    void showsUndefinedValuesAsADash()
    {
        QFETCH(double, percent);
        QFETCH(QString, ndvi);
        QFETCH(QString, reip);
        QFETCH(QString, broadband);
        QMainWindow host;
        auto* dock = new SensorDock(&host, host.statusBar());
        dock->show();
        canopy::CanopyState state;
        state.canopyReflPct.fill(percent);
        dock->Show(state, 9);  // Sentinel-2 MSI
        QCOMPARE(IndexText(dock, "NDVI"), ndvi);
        QCOMPARE(IndexText(dock, "REIP"), reip);
        QVERIFY(dock->findChild<QLabel*>(QStringLiteral("broadbandNdvi"))
                    ->text()
                    .endsWith(QStringLiteral(": ") + broadband));
        QCOMPARE(dock->findChild<QTableWidget*>(QStringLiteral("bandTable"))->item(0, 5)->text(),
                 QString::fromStdString(textio::FixedText(percent, 2)));
        QVERIFY(host.statusBar()->currentMessage().isEmpty());
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::SensorDockTest)
#include "sensor_dock_test.moc"
