// "Ver › Modo presentación": the main window for a lecture hall, larger texts around the
// charts and thicker curves on them, and the saved figures likewise; remembered.
#include <QAction>
#include <QMenu>

#include "app/widgets/chart_panel.h"
#include "app/widgets/window_settings.h"
#include "app/windows/main_window.h"

namespace tulmera::app {

void MainWindow::BuildPresentationEntry(QMenu* viewMenu)
{
    presentationAction_ = viewMenu->addAction(tr("Modo &presentación"));
    presentationAction_->setObjectName(QStringLiteral("mnuModoPresentacion"));
    presentationAction_->setCheckable(true);
    presentationAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    presentationAction_->setChecked(widgets::PresentationMode());
    // The start-up's recomputation, which follows, draws the curves as the mode asks.
    presenting_ = presentationAction_->isChecked();
    leafChartPanel_->SetPresentation(presenting_);
    canopyChartPanel_->SetPresentation(presenting_);
    connect(presentationAction_, &QAction::toggled, this, [this](bool on) {
        widgets::RememberPresentationMode(on);
        ApplyPresentation(on);
    });
}

void MainWindow::ApplyPresentation(bool on)
{
    presenting_ = on;
    leafChartPanel_->SetPresentation(on);
    canopyChartPanel_->SetPresentation(on);
    Recompute();
}

}  // namespace tulmera::app
