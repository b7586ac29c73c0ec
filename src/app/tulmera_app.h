#pragma once
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "app/windows/frm_multi_prospect.h"
#include "app/windows/frm_multi_sailh.h"
#include "app/windows/frm_splash.h"
#include "app/windows/frm_tulmera.h"
#include "export/spreadsheet_automation.h"

namespace tulmera::app {

// The program's windows and their order: the splash, then the main window, then, for the rest
// of the run, the multiple-simulation window. Beside the main window, the canopy
// multiple-simulation window may be opened, closed and opened again. Each way out empties the
// working files of the window being left, and "MVS.dat".
class TulmeraApp : public QObject {
    Q_OBJECT
public:
    // How a spreadsheet application is reached; each export gets a new one.
    using AutomationFactory = std::function<std::unique_ptr<spreadsheet::SpreadsheetAutomation>()>;
    // How the program ends at once, without closing its windows.
    using EndProgram = std::function<void()>;

    // By default exports go to .xlsx workbooks shown in the desktop's spreadsheet program, and
    // ending the program leaves the application's event loop.
    TulmeraApp();
    TulmeraApp(AutomationFactory automation, EndProgram endProgram);
    ~TulmeraApp() override;

    // Program start: shows the splash; nothing else runs before it.
    void Start();

    // What a window started in a directory where another Tulmera already works says, in
    // Spanish, naming the other's process id (0: unknown).
    static QString BusyDirectoryText(long holderPid);

    FrmSplash* splash() const { return splash_; }
    FrmTulmera* mainWindow() const { return main_; }
    FrmMultiProspect* multiWindow() const { return multi_; }
    FrmMultiSailh* canopySweepWindow() const { return canopySweep_; }

private:
    void Enter();
    void SwitchToMultipleSimulation();
    void OpenCanopySweep();
    void ExportCanopySweep(const spreadsheet::QuantityTable& table);
    void ExitMain();
    void ExitMultipleSimulation();
    void ExportMain();
    void ExportSweep(int nsim);

    AutomationFactory automation_;
    EndProgram endProgram_;
    QPointer<FrmSplash> splash_;
    QPointer<FrmTulmera> main_;
    QPointer<FrmMultiProspect> multi_;
    QPointer<FrmMultiSailh> canopySweep_;
};

}  // namespace tulmera::app
