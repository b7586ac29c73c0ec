#pragma once
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "app/windows/canopy_sweep_window.h"
#include "app/windows/leaf_sweep_window.h"
#include "app/windows/main_window.h"
#include "app/windows/sensitivity_window.h"
#include "app/windows/splash_window.h"
#include "export/canopy_sweep_export.h"
#include "export/workbook.h"
#include "session/session.h"

namespace tulmera::app {

// The program's windows and their order: the splash, then the main window, then, for the rest
// of the run, the multiple-simulation window. Beside the main window, the canopy
// multiple-simulation window may be opened, closed and opened again. Each way out empties the
// working files of the window being left, and "MVS.dat".
class TulmeraApp : public QObject {
    Q_OBJECT
public:
    // How an export's workbook reaches the user. Throws tulmera::Error when it cannot.
    using WorkbookShower = std::function<void(const exports::Workbook& workbook)>;
    // How the program ends at once, without closing its windows.
    using EndProgram = std::function<void()>;

    // By default exports go to .xlsx workbooks shown in the desktop's spreadsheet program
    // (ShowWorkbook), and ending the program leaves the application's event loop.
    TulmeraApp();
    TulmeraApp(WorkbookShower showWorkbook, EndProgram endProgram);
    ~TulmeraApp() override;

    // Program start: shows the splash; nothing else runs before it.
    void Start();

    // A session file the main window opens when it first shows (`tulmera FILE.tulmera`), in
    // place of the last session ("Abrir la última sesión al iniciar").
    void SetStartSession(const QString& fileName) { startSession_ = fileName; }

    // What a window started in a directory where another Tulmera already works says, in
    // Spanish, naming the other's process id (0: unknown).
    static QString BusyDirectoryText(long holderPid);

    SplashWindow* splash() const { return splash_; }
    MainWindow* mainWindow() const { return main_; }
    LeafSweepWindow* multiWindow() const { return multi_; }
    CanopySweepWindow* canopySweepWindow() const { return canopySweep_; }
    SensitivityWindow* sensitivityWindow() const { return sensitivity_; }

private:
    void Enter();
    MainWindow* MakeMainWindow();
    void ReturnToMain();
    void SwitchToMultipleSimulation();
    void OpenCanopySweep();
    void OpenSensitivity();
    void ExportCanopySweep(const exports::QuantityTable& table);
    void ExitMain();
    void ExitMultipleSimulation();
    void ExportMain();
    void ExportSweep(int valueCount);

    WorkbookShower showWorkbook_;
    EndProgram endProgram_;
    QPointer<SplashWindow> splash_;
    QPointer<MainWindow> main_;
    QPointer<LeafSweepWindow> multi_;
    QPointer<CanopySweepWindow> canopySweep_;
    QPointer<SensitivityWindow> sensitivity_;
    QString startSession_;
    // The main window's session when it gave way to the leaf sweep, shown again on return.
    std::optional<session::Session> leftMain_;
};

}  // namespace tulmera::app
