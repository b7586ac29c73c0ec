// The measured panel's two fits: each runs on a thread of its own, so that the window never
// waits for it, and its result is shown, applied or discarded on the interface thread.
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMetaObject>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <exception>
#include <memory>
#include <thread>

#include "app/widgets/controls.h"
#include "app/windows/measured_panel.h"
#include "leaf/leaf_models.h"
#include "leaf/leaf_spectrum.h"
#include "lut/simulation.h"
#include "parallel/parallel_for.h"
#include "textio/number_text.h"

namespace tulmera::app {
namespace {

// The canopy fit's table is the same for the same window: its samples depend on this seed.
constexpr std::uint64_t kCanopyFitSeed = 1;
// How often the progress dialog reads how many rows the workers have done.
constexpr int kProgressIntervalMs = 100;

QString RmseText(const std::optional<double>& rmse)
{
    if (!rmse) return QStringLiteral("—");
    return QCoreApplication::translate("tulmera::app::MeasuredPanel", "%1 puntos porcentuales")
        .arg(widgets::ValueText(*rmse, 3));
}

int Cores() { return parallel::HardwareThreads(); }

// The leaf model at the fitted values, for the spectra the fit compared. Throws tulmera::Error
// as leaf::ComputeLeafSpectrum does.
plot::FittedCurves FittedLeaf(const fit::LeafFitResult& result, const fit::LeafFitTarget& target)
{
    const leaf::LeafSpectrum spectrum = leaf::ComputeLeafSpectrum(result.parameters);
    plot::FittedCurves curves;
    if (target.reflectance) curves.leafReflectance = spectrum.refl;
    if (target.transmittance) curves.leafTransmittance = spectrum.trans;
    return curves;
}

// "LAI 3.1 ± 0.42": the mean of the best rows and their standard deviation.
QString MeanAndSd(const lut::CanopyFitResult& result, lut::Parameter parameter)
{
    const auto at = static_cast<std::size_t>(parameter);
    QString text = QString::fromUtf8(lut::kParameterNames[at].data(),
                                     static_cast<qsizetype>(lut::kParameterNames[at].size()))
                   + QLatin1Char(' ') + widgets::ValueText(result.mean[at], 4);
    if (result.sd[at]) text += QStringLiteral(" ± ") + widgets::ValueText(*result.sd[at], 2);
    return text;
}

}  // namespace

// Runs `work` on the fit's thread, then `finish` on the interface thread with the failure's
// text, empty when `work` returned.
void MeasuredPanel::RunFit(std::function<void()> work, std::function<void(const QString&)> finish)
{
    cancel_ = false;
    cancelRequested_ = false;
    fitThread_ = std::jthread([this, work = std::move(work), finish = std::move(finish)] {
        QString failure;
        try {
            work();
        } catch (const std::exception& e) {  // tulmera::Error and anything unexpected
            failure = QString::fromUtf8(e.what());
        } catch (...) {
            failure = QStringLiteral("unknown failure");
        }
        QMetaObject::invokeMethod(
            this, [this, finish, failure] { finish(failure); }, Qt::QueuedConnection);
    });
    ShowTexts();
}

void MeasuredPanel::StartFit()
{
    if (Fitting() || !HasLeafSpectrum()) return;
    fit::LeafFitTarget target;
    if (const auto& r = spectra_[static_cast<std::size_t>(MeasuredKind::LeafReflectance)]) {
        target.reflectance = r->value;
    }
    if (const auto& t = spectra_[static_cast<std::size_t>(MeasuredKind::LeafTransmittance)]) {
        target.transmittance = t->value;
    }
    fit::LeafFitOptions options{subdomains_->isChecked(), &cancel_};
    options.model = leafModel_;
    status_->showMessage(tr("Ajustando la hoja…"));
    auto result = std::make_shared<std::optional<fit::LeafFitResult>>();
    auto curves = std::make_shared<plot::FittedCurves>();
    RunFit(
        [result, curves, target, options] {
            *result = fit::FitLeaf(target, options);
            if (*result) *curves = FittedLeaf(**result, target);
        },
        [this, result, curves](const QString& failure) { LeafFitDone(*result, *curves, failure); });
}

void MeasuredPanel::StartCanopyFit(const lut::TableSpec& held)
{
    const auto& canopy = spectra_[static_cast<std::size_t>(MeasuredKind::CanopyReflectance)];
    if (Fitting() || !canopy) return;
    lut::TableSpec spec = lut::WithFitRanges(held);
    spec.samples = kCanopyFitRows;
    spec.seed = kCanopyFitSeed;
    for (const lut::Parameter column : lut::TableColumns(spec.leafModel)) {
        const auto at = static_cast<std::size_t>(column);
        if (const auto problem = lut::RangeProblem(column, spec.ranges[at])) {
            widgets::ShowProblems(status_,
                                  {tr("No se puede ajustar el dosel con %1 = %2.")
                                       .arg(QString::fromUtf8(lut::kParameterNames[at].data()),
                                            widgets::ValueText(spec.ranges[at].lo))},
                                  QString::fromStdString(*problem));
            return;
        }
    }
    const lut::CanopyFitOptions options{kCanopyFitBest, waterBands_->isChecked(), Cores()};
    const measured::GridValues target = canopy->value;
    rowsDone_ = 0;
    status_->showMessage(tr("Ajustando el dosel…"));
    canopyProgress_ =
        new QProgressDialog(tr("Calculando %1 simulaciones del dosel…").arg(kCanopyFitRows),
                            tr("Cancelar"), 0, static_cast<int>(kCanopyFitRows), this);
    canopyProgress_->setObjectName(QStringLiteral("dlgProgresoDosel"));
    canopyProgress_->setWindowTitle(tr("Ajustar dosel"));
    canopyProgress_->setWindowModality(Qt::WindowModal);
    canopyProgress_->setAutoClose(false);
    canopyProgress_->setAutoReset(false);
    canopyProgress_->setMinimumDuration(0);
    canopyProgress_->setAttribute(Qt::WA_DeleteOnClose);
    connect(canopyProgress_, &QProgressDialog::canceled, this, [this] { CancelFit(); });
    auto* timer = new QTimer(canopyProgress_);
    connect(timer, &QTimer::timeout, canopyProgress_, [this, dialog = canopyProgress_] {
        dialog->setValue(static_cast<int>(rowsDone_.load()));
    });
    timer->start(kProgressIntervalMs);
    canopyProgress_->show();
    auto result = std::make_shared<std::optional<CanopyFit>>();
    auto curves = std::make_shared<plot::FittedCurves>();
    RunFit(
        [this, result, curves, spec, options, target] {
            const lut::TableRows rows = lut::ComputeTableRows(
                spec, options.threads, &cancel_, [this](std::uint64_t done) { rowsDone_ = done; });
            const lut::CanopyFitResult table = lut::FitCanopy(rows, target, options);
            const std::optional<lut::RefinedCanopyFit> refined = lut::RefineCanopyFit(
                spec, target, table.mean, options.leaveOutWaterBands, &cancel_);
            if (!refined) return;
            curves->canopyReflectance = lut::SimulateReflectance(spec, refined->values);
            *result = CanopyFit{table, *refined, spec.leafModel};
        },
        [this, result, curves](const QString& failure) {
            CanopyFitDone(*result, *curves, failure);
        });
}

void MeasuredPanel::CancelFit()
{
    if (!Fitting()) return;
    cancelRequested_ = true;
    cancel_ = true;
}

// On the interface thread, once the leaf fit's thread has posted its end.
void MeasuredPanel::LeafFitDone(const std::optional<fit::LeafFitResult>& result,
                                const plot::FittedCurves& curves, const QString& failure)
{
    fitThread_.join();
    if (cancelRequested_ || (!result && failure.isEmpty())) {
        status_->showMessage(tr("Ajuste de la hoja cancelado."));
    } else if (!result) {
        widgets::ShowProblems(status_, {tr("No se pudo ajustar la hoja.")}, failure);
    } else {
        fitResult_ = result;
        canopyFitResult_.reset();
        fitted_ = curves;
        emit SpectraChanged();  // the fitted curves drawn before "Aplicar"
        status_->showMessage(
            tr("Hoja ajustada en %1 evaluaciones del modelo.").arg(fitResult_->evaluations));
    }
    EndFit();
}

// As LeafFitDone, for the canopy fit; a cancelled table is reported as cancelled, not as a
// failure, even when its workers ended with "interrupted".
void MeasuredPanel::CanopyFitDone(const std::optional<CanopyFit>& result,
                                  const plot::FittedCurves& curves, const QString& failure)
{
    fitThread_.join();
    if (canopyProgress_ != nullptr) canopyProgress_->close();
    canopyProgress_ = nullptr;
    if (cancelRequested_ || (!result && failure.isEmpty())) {
        status_->showMessage(tr("Ajuste del dosel cancelado."));
    } else if (!result) {
        widgets::ShowProblems(status_, {tr("No se pudo ajustar el dosel.")}, failure);
    } else {
        canopyFitResult_ = result;
        fitResult_.reset();
        fitted_ = curves;
        emit SpectraChanged();
        status_->showMessage(
            tr("Dosel ajustado: %1 simulaciones de la tabla y %2 del refinamiento.")
                .arg(kCanopyFitRows)
                .arg(result->refined.evaluations));
    }
    EndFit();
}

void MeasuredPanel::EndFit()
{
    ShowFitResult();
    ShowTexts();
    emit FitFinished();
}

// The end of the fit's answer: no result to apply and no curves drawn.
void MeasuredPanel::ClearFit()
{
    CancelFit();
    fitResult_.reset();
    canopyFitResult_.reset();
    fitted_ = {};
    ShowFitResult();
}

// The fitted values go to the window, whose model curves then show what the fit's curves
// showed; those go.
void MeasuredPanel::ApplyFit()
{
    const bool drawn =
        fitted_.leafReflectance || fitted_.leafTransmittance || fitted_.canopyReflectance;
    fitted_ = {};
    if (fitResult_) {
        emit ApplyLeafRequested(fitResult_->parameters);
    } else if (canopyFitResult_) {
        const lut::ParameterValues& fitted = canopyFitResult_->refined.values;
        emit ApplyCanopyRequested(lut::LeafOf(canopyFitResult_->leafModel, fitted),
                                  fitted[static_cast<std::size_t>(lut::Parameter::Lai)]);
    }
    if (drawn) emit SpectraChanged();
}

// A PROSPECT-D or PRO fit: each of the model's parameters by its symbol, then the RMSE.
void MeasuredPanel::ShowNewerModelFit()
{
    const leaf::LeafParameters& p = fitResult_->parameters;
    QStringList values;
    for (const leaf::LeafParameterField& field : leaf::ModelParameters(p.model)) {
        values << QString::fromLatin1(field.name.data(), static_cast<qsizetype>(field.name.size()))
                      + QLatin1Char(' ') + widgets::ValueText(p.*field.value, 5);
    }
    fitLabel_->setText(values.join(QStringLiteral(" · ")) + QLatin1Char('\n')
                       + tr("RMSE R %1 · T %2 · %3 evaluaciones")
                             .arg(RmseText(fitResult_->rmseReflectancePercent),
                                  RmseText(fitResult_->rmseTransmittancePercent))
                             .arg(fitResult_->evaluations));
}

void MeasuredPanel::ShowFitResult()
{
    applyButton_->setEnabled(fitResult_.has_value() || canopyFitResult_.has_value());
    if (fitResult_ && fitResult_->parameters.model != leaf::LeafModel::Classic) {
        ShowNewerModelFit();
    } else if (fitResult_) {
        const leaf::LeafParameters& p = fitResult_->parameters;
        fitLabel_->setText(tr("N %1 · Cab %2 · Cw %3 · Cm %4\nRMSE R %5 · T %6 · %7 evaluaciones")
                               .arg(widgets::ValueText(p.N, 5), widgets::ValueText(p.Cab, 5),
                                    widgets::ValueText(p.Cw, 5), widgets::ValueText(p.Cm, 5),
                                    RmseText(fitResult_->rmseReflectancePercent),
                                    RmseText(fitResult_->rmseTransmittancePercent))
                               .arg(fitResult_->evaluations));
    } else if (canopyFitResult_) {
        using lut::Parameter;
        const lut::CanopyFitResult& table = canopyFitResult_->table;
        const lut::RefinedCanopyFit& refined = canopyFitResult_->refined;
        const auto value = [&](Parameter p) {
            return widgets::ValueText(refined.values[static_cast<std::size_t>(p)], 4);
        };
        // The dry matter as the fit's leaf model holds it: PROSPECT-PRO fits CBC in its place.
        const QString dryMatter = canopyFitResult_->leafModel == leaf::LeafModel::ProspectPro
                                      ? QStringLiteral("CBC %1").arg(value(Parameter::CBC))
                                      : QStringLiteral("Cm %1").arg(value(Parameter::Cm));
        fitLabel_->setText(
            tr("LAI %1 · N %2 · Cab %3 · Cw %4 · %5\nRMSE %6\n"
               "Tabla (%7 mejores de %8): %9 · RMSE %10")
                .arg(value(Parameter::Lai), value(Parameter::N), value(Parameter::Cab),
                     value(Parameter::Cw), dryMatter, RmseText(refined.rmsePercent))
                .arg(kCanopyFitBest)
                .arg(kCanopyFitRows)
                .arg(MeanAndSd(table, Parameter::Lai), RmseText(table.bestRmsePercent.front())));
    } else {
        fitLabel_->setText(tr("Sin ajuste."));
    }
}

}  // namespace tulmera::app
