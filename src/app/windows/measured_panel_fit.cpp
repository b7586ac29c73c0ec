// The measured panel's leaf fit: run on a thread of its own, so that the window never waits
// for it, and its result shown, applied or discarded on the interface thread.
#include <QCheckBox>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QStatusBar>
#include <exception>

#include "app/widgets/controls.h"
#include "app/windows/measured_panel.h"
#include "textio/number_text.h"

namespace tulmera::app {
namespace {

QString Number(double value, int digits)
{
    return QString::fromStdString(textio::NumberText(value, digits));
}

QString RmseText(const std::optional<double>& rmse)
{
    return rmse ? Number(*rmse, 3) + QStringLiteral(" %") : QStringLiteral("—");
}

}  // namespace

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
    const fit::LeafFitOptions options{subdomains_->isChecked(), &cancel_};
    cancel_ = false;
    cancelRequested_ = false;
    status_->showMessage(tr("Ajustando la hoja…"));
    fitThread_ = std::jthread([this, target, options] {
        std::optional<fit::LeafFitResult> result;
        QString failure;
        try {
            result = fit::FitLeaf(target, options);
        } catch (const std::exception& e) {  // tulmera::Error and anything unexpected
            failure = QString::fromUtf8(e.what());
        } catch (...) {
            failure = QStringLiteral("unknown failure");
        }
        QMetaObject::invokeMethod(
            this, [this, result, failure] { FitDone(result, failure); }, Qt::QueuedConnection);
    });
    ShowTexts();
}

void MeasuredPanel::CancelFit()
{
    if (!Fitting()) return;
    cancelRequested_ = true;
    cancel_ = true;
}

// On the interface thread, once the fit's thread has posted its end.
void MeasuredPanel::FitDone(const std::optional<fit::LeafFitResult>& result, const QString& failure)
{
    fitThread_.join();
    if (cancelRequested_ || (!result && failure.isEmpty())) {
        status_->showMessage(tr("Ajuste de la hoja cancelado."));
    } else if (!result) {
        widgets::ShowProblems(status_, {tr("No se pudo ajustar la hoja.")}, failure);
    } else {
        fitResult_ = result;
        status_->showMessage(
            tr("Hoja ajustada en %1 evaluaciones del modelo.").arg(fitResult_->evaluations));
    }
    ShowFitResult();
    ShowTexts();
    emit FitFinished();
}

void MeasuredPanel::ShowFitResult()
{
    applyButton_->setEnabled(fitResult_.has_value());
    if (!fitResult_) {
        fitLabel_->setText(tr("Sin ajuste."));
        return;
    }
    const leaf::LeafParameters& p = fitResult_->parameters;
    fitLabel_->setText(tr("N %1 · Cab %2 · Cw %3 · Cm %4\nRMSE R %5 · T %6 · %7 evaluaciones")
                           .arg(Number(p.N, 5), Number(p.Cab, 5), Number(p.Cw, 5), Number(p.Cm, 5),
                                RmseText(fitResult_->rmseReflectancePercent),
                                RmseText(fitResult_->rmseTransmittancePercent))
                           .arg(fitResult_->evaluations));
}

}  // namespace tulmera::app
