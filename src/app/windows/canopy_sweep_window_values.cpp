// The canopy sweep window's typed values: the limits, checked before a sweep runs and marked
// where refused, and the quantity chosen for the second chart.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <exception>
#include <limits>

#include "app/widgets/controls.h"
#include "app/widgets/value_messages.h"
#include "app/windows/canopy_sweep_window.h"
#include "app/windows/quantity_texts.h"
#include "domain/input_domain.h"

namespace tulmera::app {
namespace {

using multi::CanopySweptParameter;

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

constexpr double kInfinity = std::numeric_limits<double>::infinity();

}  // namespace

QString CanopySweepWindow::OtherWavelengthKey() { return QStringLiteral("wavelength"); }

// The chooser's entries: the quantities by their names, each band with its region ("Landsat-TM
// band 3 (rojo)"), and after 670 nm the entry of the wavelength box. Each entry carries the
// name multi::ParseSweepQuantity reads.
void CanopySweepWindow::FillQuantityList()
{
    for (const std::string& name : multi::SweepQuantityNames(true)) {
        quantityList_->addItem(QuantityEntryText(name), Utf8(name));
        if (name == "670 nm") {
            quantityList_->addItem(tr("Otra longitud de onda"), OtherWavelengthKey());
        }
    }
}

// The wavelength box's value on the grid (a value between two grid wavelengths goes to the
// nearer, and the status line says so), and its entry chosen.
void CanopySweepWindow::ChooseWavelength()
{
    const int typed = wavelengthBox_->value();
    const int step = spectral::kWavelengthStepNm;
    const int onGrid = (typed + step / 2) / step * step;
    if (onGrid != typed) {
        const QSignalBlocker block(wavelengthBox_);
        wavelengthBox_->setValue(onGrid);
        statusBar()->showMessage(
            widgets::Rounded(tr("Longitud de onda"), double(typed), double(onGrid)));
    }
    const int entry = quantityList_->findData(OtherWavelengthKey());
    if (quantityList_->currentIndex() != entry) {
        quantityList_->setCurrentIndex(entry);  // redraws
    } else {
        RedrawQuantity();
    }
}

std::optional<multi::SweepQuantity> CanopySweepWindow::ChosenQuantity() const
{
    QString name = quantityList_->currentData().toString();
    if (name == OtherWavelengthKey()) name = QStringLiteral("%1 nm").arg(wavelengthBox_->value());
    return multi::ParseSweepQuantity(name.toStdString(), true);
}

multi::CanopySweepRequest CanopySweepWindow::HeldRequest() const
{
    multi::CanopySweepRequest request;
    request.swept = static_cast<CanopySweptParameter>(parameterList_->currentIndex());
    request.leaf = leaf_;
    request.canopy = canopy_;
    return request;
}

std::optional<multi::SweepLimits> CanopySweepWindow::ReadLimits(
    const multi::CanopySweepRequest& request)
{
    refusals_->Clear();
    QStringList problems;
    const auto refuse = [&](QLineEdit* box, const QString& reason) {
        refusals_->Refuse(box, reason);
        problems << reason;
    };
    std::array<double, 3> typed{};
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const std::optional<double> value = widgets::ParseValueText(limitBoxes_[i]->text());
        if (value) {
            typed[i] = *value;
        } else {
            refuse(limitBoxes_[i], widgets::NotANumber(LimitName(i), limitBoxes_[i]->text()));
        }
    }
    if (!problems.isEmpty()) {
        widgets::ShowProblems(statusBar(), problems);
        return std::nullopt;
    }
    const multi::SweepLimits limits{typed[0], typed[1], typed[2]};
    if (!(limits.interval > 0)) {
        refuse(limitBoxes_[2],
               widgets::OutsideRange(LimitName(2), limits.interval, {0, kInfinity, true, false}));
    }
    if (limits.lower > limits.upper) {
        refuse(limitBoxes_[0],
               tr("Límite inferior: %1 está por encima del límite superior %2.")
                   .arg(widgets::ValueText(limits.lower), widgets::ValueText(limits.upper)));
    }
    // Each limit within the swept parameter's accepted range; the values between them then
    // are too.
    for (std::size_t i = 0; i < 2; ++i) {
        const double limit = i == 0 ? limits.lower : limits.upper;
        const multi::CanopyStepInputs step = multi::CanopyStepOf(request, limit);
        const std::optional<domain::DomainProblem> problem = multi::FirstRefusedInput(step);
        if (problem && problem->input == multi::SweptInput(request.swept)) {
            refuse(limitBoxes_[i],
                   widgets::OutsideRange(LimitName(i), problem->value, problem->range));
        }
    }
    if (problems.isEmpty()) {
        multi::CanopySweepRequest checked = request;
        checked.limits = limits;
        try {
            multi::CheckedCanopySweepValues(checked);
        } catch (const std::exception& e) {  // too many values, or a held value refused
            refuse(nullptr, tr("La simulación no se realizó: %1").arg(QString::fromUtf8(e.what())));
        }
    }
    if (!problems.isEmpty()) {
        widgets::ShowProblems(statusBar(), problems);
        return std::nullopt;
    }
    return limits;
}

}  // namespace tulmera::app
