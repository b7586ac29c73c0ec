// The main window on its screen: docks beside the charts, stacked while both fit the height
// and tabified when not; on a screen too narrow for the controls, the charts and a dock side
// by side, the bars' column and the measured panel narrow; the canopy chart never grows past
// the bottom of the view.
#include <QDockWidget>
#include <QEvent>
#include <QGridLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "app/widgets/chart_panel.h"
#include "app/windows/main_window.h"
#include "app/windows/measured_panel.h"
#include "app/windows/sensor_dock.h"

namespace tulmera::app {
namespace {

bool DockedAndShown(const QDockWidget* dock) { return !dock->isHidden() && !dock->isFloating(); }

}  // namespace

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FitToScreenSoon();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (scroller_ != nullptr && watched == scroller_->viewport()
        && event->type() == QEvent::Resize) {
        KeepCanopyChartInView();
    }
    return QMainWindow::eventFilter(watched, event);
}

// Once the docks shown or hidden by the same action have settled.
void MainWindow::FitToScreenSoon()
{
    if (fitPending_) return;
    fitPending_ = true;
    QTimer::singleShot(0, this, [this] { FitToScreen(); });
}

void MainWindow::FitToScreen()
{
    fitPending_ = false;
    const QScreen* shown = screen();
    if (shown == nullptr || !isVisible()) return;
    const QRect free = shown->availableGeometry();
    TabifyIfStacked(free);
    NarrowIfTooWide(free);
    if (isMaximized() || isFullScreen()) return;
    layout()->activate();  // the least size of the narrowed content
    // Never larger than the screen, and wholly on it.
    const QSize frame = frameGeometry().size() - size();
    const QSize most = free.size() - frame;
    if (width() > most.width() || height() > most.height()) resize(size().boundedTo(most));
    QRect placed = frameGeometry();
    placed.moveRight(std::min(placed.right(), free.right()));
    placed.moveBottom(std::min(placed.bottom(), free.bottom()));
    placed.moveLeft(std::max(placed.left(), free.left()));
    placed.moveTop(std::max(placed.top(), free.top()));
    if (placed.topLeft() != frameGeometry().topLeft()) move(placed.topLeft());
}

// The two docks on the same side share its height; when the measured panel would then not
// show all of its texts and buttons, they become tabs, the measured panel in front.
void MainWindow::TabifyIfStacked(const QRect& free)
{
    if (!DockedAndShown(sensorDock_) || !DockedAndShown(measuredPanel_)) return;
    if (dockWidgetArea(sensorDock_) != dockWidgetArea(measuredPanel_)) return;
    if (tabifiedDockWidgets(measuredPanel_).contains(sensorDock_)) return;
    const int needed = measuredPanel_->NeededHeight() + sensorDock_->minimumSizeHint().height();
    const int height = std::min(scroller_->height(), free.height());
    if (needed <= height) return;
    tabifyDockWidget(sensorDock_, measuredPanel_);
    measuredPanel_->raise();
}

// The width the docks at the left and right take: one column per side, as wide as its widest
// dock (stacked or tabified), and the separator.
int MainWindow::DockRoomBeside() const
{
    const int separator = style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
    int left = 0;
    int right = 0;
    const auto add = [&](QDockWidget* dock, int width) {
        if (!DockedAndShown(dock)) return;
        const Qt::DockWidgetArea area = dockWidgetArea(dock);
        if (area == Qt::LeftDockWidgetArea) left = std::max(left, width + separator);
        if (area == Qt::RightDockWidgetArea) right = std::max(right, width + separator);
    };
    add(sensorDock_, sensorDock_->PreferredWidth());
    add(measuredPanel_, measuredPanel_->NaturalWidth());
    return left + right;
}

// The least width of the controls and charts with the bars' column `columnWidth` wide, and
// the vertical scroll bar.
int MainWindow::ContentMinimumWidth(int columnWidth) const
{
    for (QGridLayout* grid : controlGrids_) {
        grid->setColumnMinimumWidth(0, columnWidth);
        grid->invalidate();
        // The layouts around it keep its old least size until told.
        for (QWidget* w = grid->parentWidget(); w != nullptr && w != scroller_;
             w = w->parentWidget()) {
            if (w->layout() != nullptr) w->layout()->invalidate();
            w->updateGeometry();  // and the size its parent's layout keeps of it
        }
    }
    return scroller_->widget()->minimumSizeHint().width()
           + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

// The bars' column at its usual width when the window, its docks and the charts fit the
// screen; else as narrow as the captions allow, and the measured panel narrower too.
void MainWindow::NarrowIfTooWide(const QRect& free)
{
    const int frame = frameGeometry().width() - width();
    const int room = free.width() - frame;
    int content = ContentMinimumWidth(kControlsColumnWidth);
    if (content + DockRoomBeside() > room)
        content = ContentMinimumWidth(kNarrowControlsColumnWidth);
    scroller_->setMinimumWidth(content);
    // What is left beside the content goes to the docks, each at most its preferred width; the
    // window grows to hold them when the screen has room.
    const int separator = style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
    const int beside = std::min(room - content, DockRoomBeside());
    const bool sameSide = dockWidgetArea(sensorDock_) == dockWidgetArea(measuredPanel_);
    const bool both = DockedAndShown(sensorDock_) && DockedAndShown(measuredPanel_);
    const int column = (both && !sameSide ? beside / 2 : beside) - separator;
    measuredPanel_->FitWidth(column);
    if (DockedAndShown(sensorDock_)
        && (dockWidgetArea(sensorDock_) == Qt::LeftDockWidgetArea
            || dockWidgetArea(sensorDock_) == Qt::RightDockWidgetArea)) {
        resizeDocks({sensorDock_}, {std::min(column, sensorDock_->PreferredWidth())},
                    Qt::Horizontal);
    }
    if (!isMaximized() && !isFullScreen() && width() < content + beside) {
        resize(content + beside, height());
    }
}

// Beside the canopy controls, which may be taller than the view (and then scroll), the canopy
// chart grows only as far as the view's bottom, so that it stays wholly in view.
void MainWindow::KeepCanopyChartInView()
{
    const int top = canopyChartPanel_->mapTo(scroller_->widget(), QPoint(0, 0)).y();
    canopyChartPanel_->SetGrowthHeight(scroller_->viewport()->height() - top);
}

}  // namespace tulmera::app
