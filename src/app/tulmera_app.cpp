#include "app/tulmera_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QStatusBar>
#include <cstdio>

#include "app/widgets/controls.h"
#include "app/widgets/output_texts.h"
#include "app/windows/leaf_sweep_window.h"
#include "app/windows/main_window.h"
#include "app/windows/splash_window.h"
#include "app/workbook_viewer.h"
#include "export/canopy_sweep_export.h"
#include "export/main_export.h"
#include "export/sweep_export.h"

namespace tulmera::app {
namespace {

QString ExportFailed()
{
    return TulmeraApp::tr("No se pudo pasar los resultados a la hoja de cálculo");
}

// An exit cannot be refused: a working file that cannot be emptied is only reported.
void ReportOnStandardError(const QString& failure)
{
    if (!failure.isEmpty()) std::fprintf(stderr, "tulmera: %s\n", qPrintable(failure));
}

// Runs an export under the hourglass pointer; a failure goes to `status`.
void Export(QStatusBar* status, const std::function<void()>& body)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    widgets::Guarded(status, ExportFailed(), body);
    QApplication::restoreOverrideCursor();
}

}  // namespace

TulmeraApp::TulmeraApp()
    : TulmeraApp([](const exports::Workbook& workbook) { ShowWorkbook(workbook); },
                 [] { QCoreApplication::exit(0); })
{
}

TulmeraApp::TulmeraApp(WorkbookShower showWorkbook, EndProgram endProgram)
    : showWorkbook_(std::move(showWorkbook)), endProgram_(std::move(endProgram))
{
}

TulmeraApp::~TulmeraApp()
{
    delete splash_;
    delete main_;
    delete multi_;
    delete canopySweep_;
    delete sensitivity_;
}

QString TulmeraApp::BusyDirectoryText(long holderPid)
{
    const QString who = holderPid > 0 ? tr("Otra ventana de Tulmera (PID %1)").arg(holderPid)
                                      : tr("Otra ventana de Tulmera");
    return who
           + tr(
               " ya trabaja en este directorio. Si sigue, las dos escribirán "
               "los mismos ficheros de resultados.");
}

void TulmeraApp::Start()
{
    splash_ = new SplashWindow;
    splash_->setAttribute(Qt::WA_DeleteOnClose);
    connect(splash_, &SplashWindow::EnterRequested, this, &TulmeraApp::Enter);
    connect(splash_, &SplashWindow::EndRequested, this, [this] { endProgram_(); });
    splash_->show();
}

// The entry picture: the splash goes, the main window loads (its first recomputation writes
// "VP.dat" and "VS.dat") and shows. It shows before the splash is gone, so that the program
// never has no window.
void TulmeraApp::Enter()
{
    if (main_ != nullptr || splash_ == nullptr) return;  // a second Enter while leaving
    MakeMainWindow()->show();
    splash_->hide();
    splash_->deleteLater();
    // The session asked for on the command line, else the last one when so chosen.
    if (!startSession_.isEmpty()) {
        main_->OpenSession(startSession_);
    } else if (MainWindow::ReopensLastSession()
               && QFileInfo::exists(MainWindow::LastSessionFile())) {
        main_->OpenSession(MainWindow::LastSessionFile());
    }
}

MainWindow* TulmeraApp::MakeMainWindow()
{
    main_ = new MainWindow;
    main_->setAttribute(Qt::WA_DeleteOnClose);
    connect(main_, &MainWindow::ExportRequested, this, &TulmeraApp::ExportMain);
    connect(main_, &MainWindow::MultipleSimulationRequested, this,
            &TulmeraApp::SwitchToMultipleSimulation);
    connect(main_, &MainWindow::CanopySweepRequested, this, &TulmeraApp::OpenCanopySweep);
    connect(main_, &MainWindow::SensitivityRequested, this, &TulmeraApp::OpenSensitivity);
    connect(main_, &MainWindow::ExitRequested, this, &TulmeraApp::ExitMain);
    main_->SetOpenWindowsQuery([this] {
        session::OpenWindows open;
        open.canopySweep = canopySweep_ != nullptr;
        open.sensitivity = sensitivity_ != nullptr;
        return open;
    });
    return main_;
}

// "Volver a la ventana principal": the sweep's files are emptied and the main window loads
// again (writing "VP.dat" and "VS.dat") with the values it had when it gave way.
void TulmeraApp::ReturnToMain()
{
    if (multi_ == nullptr || main_ != nullptr) return;
    const QString failure = LeafSweepWindow::EmptyWorkingFiles();
    MakeMainWindow();
    if (leftMain_) main_->ApplySession(*leftMain_, QString());
    main_->show();
    if (!failure.isEmpty()) {
        main_->statusBar()->showMessage(tr("No se pudieron vaciar los ficheros de resultados: ")
                                        + failure);
    }
    multi_->hide();
    multi_->deleteLater();
}

// "Modelo Prospect": the leaf and canopy files are emptied, the multiple-simulation window
// takes over and the main window is gone for the rest of the run.
void TulmeraApp::SwitchToMultipleSimulation()
{
    main_->FinishEditing();
    main_->RememberLastSession();
    leftMain_ = main_->CurrentSession();
    leftMain_->windows.canopySweep = leftMain_->windows.sensitivity = false;
    delete canopySweep_;  // it belongs beside the main window, which goes
    delete sensitivity_;
    const QString failure = MainWindow::EmptyWorkingFiles();
    multi_ = new LeafSweepWindow;
    multi_->setAttribute(Qt::WA_DeleteOnClose);
    multi_->HoldValues(main_->leafParameters());
    connect(multi_, &LeafSweepWindow::ExportRequested, this, &TulmeraApp::ExportSweep);
    connect(multi_, &LeafSweepWindow::ExitRequested, this, &TulmeraApp::ExitMultipleSimulation);
    connect(multi_, &LeafSweepWindow::BackToMainRequested, this, &TulmeraApp::ReturnToMain);
    multi_->show();
    if (!failure.isEmpty()) {
        multi_->ShowMessage(tr("No se pudieron vaciar los ficheros de resultados: ") + failure);
    }
    main_->hide();
    main_->deleteLater();  // unloaded without its close handling: the files are emptied already
}

// "Modelo SAILH": the canopy multiple-simulation window opens beside the main window, which
// stays as it is, from the main window's current leaf parameters and canopy inputs. Opened
// already, it comes to the front.
void TulmeraApp::OpenCanopySweep()
{
    if (main_ == nullptr) return;
    if (canopySweep_ != nullptr) {
        canopySweep_->raise();
        canopySweep_->activateWindow();
        return;
    }
    main_->FinishEditing();
    canopySweep_ = new CanopySweepWindow(main_->leafParameters(), main_->canopyInputs());
    canopySweep_->setAttribute(Qt::WA_DeleteOnClose);
    // Every "Ejecutar" holds the main window's values of that moment.
    canopySweep_->FollowValues(
        [main = main_]() -> std::optional<std::pair<leaf::LeafParameters, canopy::CanopyInputs>> {
            if (main == nullptr) return std::nullopt;
            main->FinishEditing();
            return std::pair{main->leafParameters(), main->canopyInputs()};
        });
    connect(canopySweep_, &CanopySweepWindow::ExportRequested, this,
            &TulmeraApp::ExportCanopySweep);
    canopySweep_->show();
}

// "Análisis de sensibilidad": beside the main window, holding its current values.
void TulmeraApp::OpenSensitivity()
{
    if (main_ == nullptr) return;
    if (sensitivity_ != nullptr) {
        sensitivity_->raise();
        sensitivity_->activateWindow();
        return;
    }
    main_->FinishEditing();
    sensitivity_ = new SensitivityWindow(main_->leafParameters(), main_->canopyInputs());
    sensitivity_->setAttribute(Qt::WA_DeleteOnClose);
    sensitivity_->show();
}

void TulmeraApp::ExportCanopySweep(const exports::QuantityTable& table)
{
    Export(canopySweep_->statusBar(),
           [this, &table] { showWorkbook_(exports::CanopySweepWorkbook(table)); });
}

void TulmeraApp::ExitMain()
{
    if (main_ != nullptr) main_->RememberLastSession();
    delete canopySweep_;
    delete sensitivity_;
    ReportOnStandardError(CanopySweepWindow::EmptyWorkingFiles());
    ReportOnStandardError(MainWindow::EmptyWorkingFiles());
    endProgram_();
}

void TulmeraApp::ExitMultipleSimulation()
{
    ReportOnStandardError(CanopySweepWindow::EmptyWorkingFiles());
    ReportOnStandardError(LeafSweepWindow::EmptyWorkingFiles());
    endProgram_();
}

void TulmeraApp::ExportMain()
{
    Export(main_->statusBar(), [this] {
        showWorkbook_(
            exports::MainWindowWorkbook(main_->ExportHeader(), widgets::WindowOutputTexts()));
    });
}

void TulmeraApp::ExportSweep(int valueCount)
{
    Export(multi_->statusBar(), [this, valueCount] {
        showWorkbook_(exports::SweepWorkbook(valueCount, kSweepFile,
                                             widgets::WindowOutputTexts().sweepHeader));
    });
}

}  // namespace tulmera::app
