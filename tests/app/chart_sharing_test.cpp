// Reading and sharing the main window's charts, driven offscreen: the spectra file, the values
// under the pointer, charts that follow a dragged thumb, and the chart images.
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/widgets/chart_panel.h"
#include "app/windows/frm_tulmera.h"
#include "support/work_dir.h"
#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::app {

namespace fs = std::filesystem;

class ChartSharingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::ScopedWorkDir> dir_;
    std::unique_ptr<FrmTulmera> window_;

    template <typename T>
    T* Find(const QString& name) const
    {
        T* control = window_->findChild<T*>(name);
        if (control == nullptr) qFatal("no control named %s", qPrintable(name));
        return control;
    }
    QString Status() const { return window_->statusBar()->currentMessage(); }

    static std::string Text(const fs::path& file) { return textio::ReadTextFile(file.string()); }
    static void Write(const fs::path& file, const std::string& text)
    {
        std::ofstream(file, std::ios::binary) << text;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        dir_ = std::make_unique<testing::ScopedWorkDir>();
        window_ = std::make_unique<FrmTulmera>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup()
    {
        window_.reset();
        dir_.reset();
    }

    // The saved numbers are the charts' own, whatever the locale the window adopted (the
    // es_ES variant of this test writes "0,05" with the C library).
    void savedSpectraReadBackAsTheShownValues()
    {
        Find<QScrollBar>("hsbProspect(1)")->setValue(4000);  // Cab 40
        Find<QScrollBar>("hsbSailh(0)")->setValue(350);      // LAI 3.5
        const fs::path file = dir_->path() / "espectros.csv";
        QVERIFY(window_->SaveSpectraCsv(QString::fromStdString(file.string())));
        QVERIFY2(Status().startsWith(QStringLiteral("Espectros guardados")), qPrintable(Status()));

        const canopy::CanopyState& state = window_->canopyState();
        QCOMPARE(state.lai, 3.5);
        std::istringstream in(Text(file));
        std::string line;
        std::size_t row = 0;
        bool sawParameters = false;
        while (std::getline(in, line)) {
            if (line.starts_with('#')) {
                sawParameters = sawParameters || line == "# Cab_ug_per_cm2 = 40";
                continue;
            }
            if (line.starts_with("wavelength_nm")) continue;
            QVERIFY2(row < spectral::kWavelengthCount, line.c_str());
            std::vector<double> fields;
            std::istringstream cells(line);
            std::string cell;
            while (std::getline(cells, cell, ',')) {
                const auto value = textio::ParseNumberText(cell);
                QVERIFY2(value.has_value(), line.c_str());
                fields.push_back(*value);
            }
            QCOMPARE(fields.size(), std::size_t{5});
            QCOMPARE(fields[0], static_cast<double>(spectral::WavelengthNm(static_cast<int>(row))));
            QCOMPARE(fields[1], state.leafReflPct[row] / 100.0);
            QCOMPARE(fields[2], state.leafTransPct[row] / 100.0);
            QCOMPARE(fields[3], state.canopyReflPct[row] / 100.0);
            QCOMPARE(fields[4], state.soilRefl[row] / 100.0);
            ++row;
        }
        QCOMPARE(row, std::size_t{spectral::kWavelengthCount});
        QVERIFY(sawParameters);
    }

    // A save that fails says so in Spanish and leaves the file that was there.
    void aFailedSaveKeepsThePreviousFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("folder that cannot be written") << "folder";
        QTest::newRow("full disk") << "disk";
    }
    void aFailedSaveKeepsThePreviousFile()
    {
        QFETCH(QString, how);
        fs::path file = dir_->path() / "previo.csv";
        std::unique_ptr<testing::ScopedFileSizeLimit> limit;
        if (how == "folder") {
            const fs::path folder = dir_->path() / "cerrada";
            fs::create_directory(folder);
            file = folder / "previo.csv";
            Write(file, "previous\n");
            if (::geteuid() == 0) {
                // root writes into any folder: a name under a plain file fails the same way
                file = dir_->path() / "previo.csv" / "x.csv";
                Write(dir_->path() / "previo.csv", "previous\n");
            } else {
                fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
            }
        } else {
            Write(file, "previous\n");
            limit = std::make_unique<testing::ScopedFileSizeLimit>(4096);
        }
        QVERIFY(!window_->SaveSpectraCsv(QString::fromStdString(file.string())));
        limit.reset();
        QVERIFY2(Status().startsWith(QStringLiteral("No se pudo guardar")), qPrintable(Status()));
        if (how == "folder" && ::geteuid() == 0) file = dir_->path() / "previo.csv";
        QCOMPARE(Text(file), std::string("previous\n"));
        if (how == "folder" && ::geteuid() != 0) {
            fs::permissions(dir_->path() / "cerrada", fs::perms::owner_all);
        }
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::ChartSharingTest)
#include "chart_sharing_test.moc"
