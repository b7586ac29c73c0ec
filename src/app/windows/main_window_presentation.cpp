// "Ver › Modo presentación": the main window for a lecture hall, larger texts around the
// charts and thicker curves on them, and the saved figures likewise; remembered.
#include "app/widgets/chart_panel.h"
#include "app/widgets/presentation_entry.h"
#include "app/windows/main_window.h"

namespace tulmera::app {

void MainWindow::BuildPresentationEntry(QMenu* viewMenu)
{
    presentation_ =
        new widgets::PresentationEntry(this, viewMenu, [this](bool on) { ApplyPresentation(on); });
    // The start-up's recomputation, which follows, draws the curves as the mode asks.
    presenting_ = presentation_->on();
    leafChartPanel_->SetPresentation(presenting_);
    canopyChartPanel_->SetPresentation(presenting_);
}

void MainWindow::ApplyPresentation(bool on)
{
    presenting_ = on;
    leafChartPanel_->SetPresentation(on);
    canopyChartPanel_->SetPresentation(on);
    Recompute();
}

}  // namespace tulmera::app
