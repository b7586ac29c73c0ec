// The main window's value boxes and what its controls show: typed values applied on Enter
// or focus-out, and the controls set back to the last good recomputation or to the start.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <algorithm>
#include <cmath>

#include "app/widgets/controls.h"
#include "app/widgets/value_messages.h"
#include "app/windows/leaf_model_rows.h"
#include "app/windows/main_window.h"
#include "app/windows/main_window_rows.h"
#include "domain/input_domain.h"
#include "leaf/leaf_models.h"
#include "plot/chart_background.h"

namespace tulmera::app {

MainWindow::ShownControls MainWindow::StartControls() const
{
    ShownControls start;
    for (std::size_t i = 0; i < kLeafRows.size(); ++i) start.leafBars[i] = kLeafRows[i].bar.value;
    for (std::size_t i = 0; i < kCanopyRows.size(); ++i) {
        start.canopyBars[i] = kCanopyRows[i].bar.value;
    }
    start.background = plot::ChartBackground{}.checkedEntry;
    start.leaf = leaf::StartLeafParameters(leaf_.model);  // the chosen model stays
    return start;
}

MainWindow::ShownControls MainWindow::CapturedControls(const canopy::CanopyInputs& inputs) const
{
    ShownControls shown;
    for (std::size_t i = 0; i < leafBars_.size(); ++i) shown.leafBars[i] = leafBars_[i]->value();
    for (std::size_t i = 0; i < canopyBars_.size(); ++i) {
        shown.canopyBars[i] = canopyBars_[i]->value();
    }
    shown.canopy = inputs;
    for (std::size_t i = 0; i < canopyLists_.size(); ++i) {
        shown.listEntries[i] = canopyLists_[i]->currentIndex();
    }
    shown.background = background_.checkedEntry;
    shown.leaf = leaf_;
    return shown;
}

// Sets every control to `shown` without starting a recomputation.
void MainWindow::ShowControls(const ShownControls& shown)
{
    for (std::size_t i = 0; i < leafBars_.size(); ++i) {
        const QSignalBlocker block(leafBars_[i]);
        leafBars_[i]->setValue(shown.leafBars[i]);
    }
    ShowLeafValues(shown.leaf);
    for (std::size_t i = 0; i < canopyBars_.size(); ++i) {
        const QSignalBlocker block(canopyBars_[i]);
        canopyBars_[i]->setValue(shown.canopyBars[i]);
    }
    const std::array<double, 5> values = {shown.canopy.lai, shown.canopy.sunZenith,
                                          shown.canopy.viewAngle, shown.canopy.relAzimuth,
                                          shown.canopy.hotSpot};
    for (std::size_t i = 0; i < values.size(); ++i) {
        canopyBoxes_[i]->setText(widgets::ValueText(values[i]));
    }
    for (std::size_t i = 0; i < canopyLists_.size(); ++i) {
        const QSignalBlocker block(canopyLists_[i]);
        canopyLists_[i]->setCurrentIndex(shown.listEntries[i]);
    }
    const bool km15 = shown.canopy.visibility == canopy::Visibility::Km15;
    visibilityOptions_[km15 ? 0 : 1]->setChecked(true);
    for (int i = 1; i <= plot::kBackgroundEntryCount; ++i) {
        backgroundActions_[static_cast<std::size_t>(i)]->setChecked(i == shown.background);
    }
    background_.checkedEntry = shown.background;
    leaf_ = shown.leaf;
    leafModelRows_->ShowValues(shown.leaf);
    ShowLeafModel(shown.leaf.model);
}

void MainWindow::RestoreStartValues()
{
    leafRefusals_->Clear();
    canopyRefusals_->Clear();
    ShowControls(StartControls());
    Recompute();
}

// A typed leaf value within its bar's range moves the bar to the nearest position (rounded,
// and said so); one beyond the bar but accepted by the leaf model is used as typed, with the
// bar at its end and a note, as the canopy boxes do. A text that is no number, or a value the
// model refuses, is refused and the box shows the value in use.
void MainWindow::ApplyLeafBox(std::size_t i)
{
    const ParameterRow& row = kLeafRows[i];
    QScrollBar* bar = leafBars_[i];
    const double divisor = row.divisor;
    const QString text = leafBoxes_[i]->text();
    const std::optional<double> typed = widgets::ParseValueText(text);
    const QString name = widgets::ControlName(leafCaptions_[i]->text());
    const domain::InputRange accepted = domain::AcceptedRange(static_cast<domain::Input>(i));
    if (!typed || !accepted.Contains(*typed)) {
        ShowLeafValues(leaf_);  // the value in use
        const QString reason =
            typed ? widgets::OutsideRange(name, *typed, accepted) : widgets::NotANumber(name, text);
        leafRefusals_->Refuse(leafBoxes_[i], reason);
        widgets::ShowProblems(statusBar(), {reason});
        return;
    }
    leafRefusals_->Accept(leafBoxes_[i]);
    const double lowest = row.bar.min / divisor;
    const double highest = row.bar.max / divisor;
    if (*typed < lowest || *typed > highest) {
        const int end = *typed < lowest ? row.bar.min : row.bar.max;
        if (*typed == LeafBoxValues(leaf_)[i]) {
            ShowLeafValues(leaf_);
            return;
        }
        {
            const QSignalBlocker block(bar);
            bar->setValue(end);
        }
        leafBoxes_[i]->setText(widgets::ValueText(*typed));
        SetLeafParametersFromTexts();
        if (Recompute()) {
            widgets::ShowProblems(statusBar(), {widgets::BarAtItsEnd(name, *typed, end / divisor)});
        }
        return;
    }
    const int position = static_cast<int>(std::lround(*typed * divisor));
    const double used = position / divisor;
    if (used == LeafBoxValues(leaf_)[i]) {
        ShowLeafValues(leaf_);
    } else {
        {
            const QSignalBlocker block(bar);
            bar->setValue(position);
        }
        if (!ApplyLeafBar(i)) return;
    }
    if (used != *typed) widgets::ShowProblems(statusBar(), {widgets::Rounded(name, *typed, used)});
}

// The four classic values in the order of the leaf boxes.
std::array<double, 4> MainWindow::LeafBoxValues(const leaf::LeafParameters& leaf)
{
    return {leaf.N, leaf.Cab, leaf.Cw, leaf.Cm};
}

// Each leaf box shows its bar's value, or the value of `leaf` when the bar stands at an end
// and that value lies beyond it: a typed value the bar cannot show.
void MainWindow::ShowLeafValues(const leaf::LeafParameters& leaf)
{
    const std::array<double, 4> values = LeafBoxValues(leaf);
    for (std::size_t i = 0; i < kLeafRows.size(); ++i) {
        const ParameterRow& row = kLeafRows[i];
        const int position = leafBars_[i]->value();
        const bool beyond = (position == row.bar.min && values[i] * row.divisor < row.bar.min)
                            || (position == row.bar.max && values[i] * row.divisor > row.bar.max);
        const bool read = i != 3 || leaf::ModelHasParameter(leaf.model, "Cm");
        leafBoxes_[i]->setText(widgets::ValueText(
            beyond && read ? values[i] : static_cast<double>(position) / row.divisor));
    }
}

// The fitted leaf values move the bars to their nearest positions, as typed values do; a
// value beyond a bar's range leaves that bar at its end, and the status line says so. A fitted
// LAI is rounded to its bar's resolution and then used as a typed LAI is: in its box, its bar
// at the nearest position or at its end with a note. The measured panel keeps the exact
// values.
void MainWindow::ApplyFitted(const leaf::LeafParameters& fitted, std::optional<double> lai)
{
    const std::array<double, 4> values = {fitted.N, fitted.Cab, fitted.Cw, fitted.Cm};
    QStringList notes;
    for (std::size_t i = 0; i < kLeafRows.size(); ++i) {
        const ParameterRow& row = kLeafRows[i];
        if (i == 3 && !leaf::ModelHasParameter(fitted.model, "Cm")) continue;  // PRO: no Cm
        const long nearest = std::lround(values[i] * row.divisor);
        const long position = std::clamp(nearest, long{row.bar.min}, long{row.bar.max});
        if (position != nearest) {
            notes << tr("%1: el ajuste da %2; la barra queda en su extremo (%3).")
                         .arg(widgets::ControlName(leafCaptions_[i]->text()),
                              widgets::ValueText(values[i]),
                              widgets::ValueText(static_cast<double>(position) / row.divisor));
        }
        const QSignalBlocker block(leafBars_[i]);
        leafBars_[i]->setValue(static_cast<int>(position));
    }
    if (lai) {  // rounded to the LAI bar's resolution, and used as a typed LAI is
        const ParameterRow& row = kCanopyRows[0];
        const long nearest = std::lround(*lai * row.divisor);
        const long position = std::clamp(nearest, long{row.bar.min}, long{row.bar.max});
        const double used = static_cast<double>(nearest) / row.divisor;
        if (position != nearest) {
            notes << widgets::BarAtItsEnd(CanopyControlName(0), used,
                                          static_cast<double>(position) / row.divisor);
        }
        canopyBoxes_[0]->setText(widgets::ValueText(used));
        const QSignalBlocker block(canopyBars_[0]);
        canopyBars_[0]->setValue(static_cast<int>(position));
    }
    if (fitted.model == leaf_.model) leafModelRows_->ShowValues(fitted);  // its own rows
    if (!ApplyLeafBars()) return;
    if (notes.isEmpty()) {
        statusBar()->showMessage(
            tr("Valores ajustados aplicados: cada barra en su posición más cercana."));
    } else {
        widgets::ShowProblems(statusBar(), notes);
    }
}

// A typed canopy value is used as typed; its bar goes to the nearest position, or to its end
// (with a note) when the value lies beyond the bar's range.
void MainWindow::ApplyCanopyBox(std::size_t i)
{
    const ParameterRow& row = kCanopyRows[i];
    const std::optional<double> typed = widgets::ParseValueText(canopyBoxes_[i]->text());
    const std::array<double, 5> previous = {lastGood_.canopy.lai, lastGood_.canopy.sunZenith,
                                            lastGood_.canopy.viewAngle, lastGood_.canopy.relAzimuth,
                                            lastGood_.canopy.hotSpot};
    const auto input =
        static_cast<domain::Input>(static_cast<int>(domain::Input::Lai) + static_cast<int>(i));
    const domain::InputRange range = domain::AcceptedRange(input);
    if (!typed || *typed == previous[i] || !range.Contains(*typed)) {
        QStringList problems;
        if (!typed) {
            problems << widgets::NotANumber(CanopyControlName(i), canopyBoxes_[i]->text());
        } else if (!range.Contains(*typed)) {
            problems << widgets::OutsideRange(CanopyControlName(i), *typed, range);
        }
        canopyBoxes_[i]->setText(widgets::ValueText(previous[i]));  // the value in use
        if (problems.isEmpty()) {
            canopyRefusals_->Accept(canopyBoxes_[i]);  // the value in use, typed again
        } else {
            canopyRefusals_->Refuse(canopyBoxes_[i], problems.front());
            widgets::ShowProblems(statusBar(), problems);
        }
        return;
    }
    canopyRefusals_->Accept(canopyBoxes_[i]);
    const double divisor = row.divisor;
    const double position = std::clamp(*typed * divisor, double(row.bar.min), double(row.bar.max));
    const bool beyond = position != *typed * divisor
                        && (*typed * divisor < row.bar.min || *typed * divisor > row.bar.max);
    {
        const QSignalBlocker block(canopyBars_[i]);
        canopyBars_[i]->setValue(static_cast<int>(std::lround(position)));
    }
    if (Recompute() && beyond) {
        widgets::ShowProblems(
            statusBar(), {widgets::BarAtItsEnd(CanopyControlName(i), *typed, position / divisor)});
    }
}

}  // namespace tulmera::app
