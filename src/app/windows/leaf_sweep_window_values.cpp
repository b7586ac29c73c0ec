// The multiple-simulation window's typed values: the limits and the held values move their
// bars on Enter or focus-out, with the rules of the main window's leaf boxes.
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <algorithm>
#include <cmath>
#include <optional>

#include "app/widgets/controls.h"
#include "app/widgets/core_texts.h"
#include "app/widgets/value_messages.h"
#include "app/windows/leaf_sweep_window.h"
#include "leaf/leaf_models.h"

namespace tulmera::app {

using namespace multi;

namespace {

// Where a typed value puts a bar whose value is position / divisor: the nearest position, or
// nothing (with the message) when the text is no number or lies outside lowest .. highest.
std::optional<int> TypedPosition(const QString& control, const QString& text, int lowest,
                                 int highest, int divisor, QStringList& messages)
{
    const std::optional<double> typed = widgets::ParseValueText(text);
    const double scale = divisor;
    if (!typed) {
        messages << widgets::NotANumber(control, text);
        return std::nullopt;
    }
    if (!(*typed >= lowest / scale && *typed <= highest / scale)) {
        messages << widgets::OutsideRange(control, *typed, {lowest / scale, highest / scale});
        return std::nullopt;
    }
    const int position = static_cast<int>(std::lround(*typed * scale));
    if (position / scale != *typed) messages << widgets::Rounded(control, *typed, position / scale);
    return position;
}

}  // namespace

// A typed limit moves its bar (rounded to a position) or is refused; the box then shows the
// bar's value.
void LeafSweepWindow::ApplyLimitText(std::size_t bar)
{
    const LimitBars& limits = LimitBarsOf(Selected());
    const int divisor = bar == 2 ? limits.intervalDivisor : limits.limitDivisor;
    widgets::DescendingScrollBar* scroll = limitBars_[bar];
    QStringList messages;
    const std::optional<int> position = TypedPosition(
        widgets::ControlName(widgets::CoreText(kLimitCaptions[bar])), limitValues_[bar]->text(),
        -scroll->maximum(), -scroll->minimum(), divisor, messages);
    if (position && *position != scroll->DescendingValue()) {
        scroll->SetDescendingValue(*position);  // reported as a value the user set
    }
    ShowLimit(static_cast<int>(bar));
    if (position) {
        refusals_->Accept(limitValues_[bar]);
    } else {
        refusals_->Refuse(limitValues_[bar], messages.front());
    }
    widgets::ShowProblems(statusBar(), messages);
}

void LeafSweepWindow::ApplyHeldText(std::size_t row)
{
    QScrollBar* bar = parameterBars_[row];
    if (!bar->isEnabled()) return;  // the swept row holds no value
    const int divisor = RowOf(static_cast<SweptParameter>(row)).divisor;
    QStringList messages;
    const std::optional<int> position = TypedPosition(
        widgets::ControlName(parameterOptions_[row]->text()), parameterBoxes_[row]->text(),
        bar->minimum(), bar->maximum(), divisor, messages);
    if (position && *position != bar->value()) bar->setValue(*position);
    parameterBoxes_[row]->setText(QString::fromStdString(ScrollText(bar->value(), divisor)));
    if (position) {
        refusals_->Accept(parameterBoxes_[row]);
    } else {
        refusals_->Refuse(parameterBoxes_[row], messages.front());
    }
    widgets::ShowProblems(statusBar(), messages);
}

}  // namespace tulmera::app

namespace tulmera::app {

void LeafSweepWindow::HoldValues(const leaf::LeafParameters& leaf)
{
    ShowModel(leaf.model);
    for (std::size_t i = 0; i < parameterBars_.size(); ++i) {
        const multi::ParameterRow& row = multi::RowOf(static_cast<multi::SweptParameter>(i));
        // The rows follow the record's fields (multi::ParameterName is the field's name).
        const double position = std::round(leaf.*leaf::kLeafParameterFields[i].value * row.divisor);
        parameterBars_[i]->setValue(static_cast<int>(std::clamp(
            position, double(parameterBars_[i]->minimum()), double(parameterBars_[i]->maximum()))));
    }
    SetUpFor(Selected());  // the swept row's box empty again
}

}  // namespace tulmera::app
