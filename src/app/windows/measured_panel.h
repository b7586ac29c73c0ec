#pragma once
#include <QDockWidget>
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>

#include "canopy/canopy_run.h"
#include "fit/leaf_fit.h"
#include "leaf/leaf_parameters.h"
#include "lut/canopy_refine.h"
#include "lut/lut_fit.h"
#include "lut/table_spec.h"
#include "measured/measured_grid.h"
#include "measured/measured_table.h"
#include "plot/chart_figures.h"
#include "plot/chart_surface.h"
#include "plot/measured_curve.h"
#include "session/session.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QProgressDialog;
class QPushButton;
class QStatusBar;

namespace tulmera::app {

// The canopy fit's answer: the table's best rows, and the parameters refined from their mean.
struct CanopyFit {
    lut::CanopyFitResult table;
    lut::RefinedCanopyFit refined;
    leaf::LeafModel leafModel = leaf::LeafModel::Classic;  // the table's, the main window's
};

// What a loaded measured spectrum is, and so which chart it is drawn over.
enum class MeasuredKind { LeafReflectance, LeafTransmittance, CanopyReflectance };
inline constexpr int kMeasuredKindCount = 3;

// The main window's measured spectra: one of each kind at most (a leaf R and its T may be
// loaded together), drawn over the model curves, compared with the model after every
// refresh, and the two fits: the leaf against a leaf R and/or T, the canopy against a canopy R.
// A dock, hidden until a spectrum is loaded. Object names:
//   dckMedido (the dock), lblMedidoRmse, chkMedidoBandasAgua, cmdQuitarMedido,
//   chkSubdominios, cmdAjustarHoja, cmdAjustarDosel, cmdCancelarAjuste, lblAjuste,
//   cmdAplicarAjuste, dlgProgresoDosel (the canopy fit's progress), menuAbrirMedido and
//   menuMedidoReciente in the file menu.
class MeasuredPanel : public QDockWidget {
    Q_OBJECT
public:
    // `status` is the window's status line, where failures are reported in Spanish.
    MeasuredPanel(QStatusBar* status, QWidget* parent);
    ~MeasuredPanel() override;  // cancels a running fit and waits for it

    // "Ver › Espectro medido" (mnuVerMedido): shows and hides the panel.
    QAction* ViewAction() const { return viewAction_; }

    // What a measured file most likely holds, from its name and the header of the chosen
    // column: canopy reflectance when either speaks of a canopy ("canopy", "dosel",
    // "cubierta"), leaf transmittance when either speaks of transmittance, else leaf
    // reflectance. Letter case does not matter.
    static MeasuredKind GuessKind(const QString& fileName, const QString& columnName);

    // Adds "Abrir espectro medido…" and the recent files to the window's file menu.
    void AddMenuEntries(QMenu* fileMenu);

    // Reads `fileName`, brings spectrum column `column` (0 is the first after the wavelength)
    // onto the grid and keeps it as `kind`, replacing any spectrum of that kind and ending any
    // fit (its result is cleared); the water band box takes the kind's default when it is the
    // only spectrum and the box was never clicked; the file goes first in the recent files and
    // the panel shows. Returns false, with the reason in the status line, when the file or the
    // column cannot be used; then nothing loaded before changes.
    bool LoadFile(const QString& fileName, int column, MeasuredKind kind);

    // Forgets every measured spectrum ("Quitar espectro medido") and any fit of them, and hides
    // the panel.
    void RemoveSpectra();

    // The model spectra of a good recomputation: the RMSE texts are computed again.
    void ModelChanged(const canopy::CanopyState& state);

    // Draws the loaded spectra over the model curves: leaf R and T on the leaf chart, canopy R
    // on the canopy chart; then the last fit's curves (fittedCurves) until it is applied, a
    // file is loaded or the spectra are removed. Cannot fail.
    void Paint(plot::ChartSurface& leafChart, plot::ChartSurface& canopyChart) const;

    // Which spectra Paint draws: the legend of a saved figure names them.
    plot::MeasuredCurves DrawnCurves() const;
    // The fit's curves Paint draws: the model at the fitted values for each spectrum the fit
    // compared (leaf R and/or T, or canopy R); none before a fit ends and after it is applied.
    const plot::FittedCurves& fittedCurves() const { return fitted_; }

    // The RMSE in percent reflectance of the loaded spectrum of `kind` against the last model,
    // as shown; nothing when not loaded or without common points.
    std::optional<double> Rmse(MeasuredKind kind) const;

    // "Ajustar hoja": fits the leaf to the loaded leaf R and/or T off the interface thread.
    // FitFinished is emitted when it has ended, been cancelled or failed.
    void StartFit();
    // The leaf model "Ajustar hoja" fits (the main window's choice).
    void SetLeafModel(leaf::LeafModel model) { leafModel_ = model; }
    void CancelFit();  // the running fit's result, if any arrives, is discarded
    bool Fitting() const { return fitThread_.joinable(); }
    const std::optional<fit::LeafFitResult>& fitResult() const { return fitResult_; }

    // "Ajustar dosel": a table of kCanopyFitRows simulations around `held` (the window's lists,
    // visibility and geometry; see lut::WithFitRanges for what varies), computed off the
    // interface thread behind a progress dialog that can cancel it, then the loaded canopy R
    // fitted against it and the answer refined (lut::RefineCanopyFit). FitFinished is emitted
    // as for the leaf fit. A geometry the table cannot be made at (sun or view at 90°) is
    // reported and nothing starts.
    void StartCanopyFit(const lut::TableSpec& held);
    const std::optional<CanopyFit>& canopyFitResult() const { return canopyFitResult_; }
    static constexpr std::uint64_t kCanopyFitRows = 20000;
    static constexpr int kCanopyFitBest = 20;

    // The recent files, most recent first.
    static QStringList RecentFiles();

    // What a session keeps of the panel (measured_panel_session.cpp): the loaded files, each
    // with its column and kind, and the two options, which SetOptions sets again.
    std::vector<session::MeasuredFile> LoadedFiles() const;
    bool ExcludesWaterBands() const;
    bool FitsBySubdomains() const;
    void SetOptions(bool excludeWaterBands, bool subdomains);

    // The panel's width: its natural one (44 characters), or less, down to the narrowest its
    // texts and buttons allow, when the screen leaves less beside the charts.
    int NaturalWidth() const;
    int NarrowestWidth() const;
    void FitWidth(int most);
    // The height that shows every text and button without scrolling, title bar included.
    int NeededHeight() const;

signals:
    // Loaded or removed, a fit's curves shown or gone: the charts must be drawn again.
    void SpectraChanged();
    // "Aplicar": the leaf fit's values, or the canopy fit's leaf values and LAI.
    void ApplyLeafRequested(const tulmera::leaf::LeafParameters& fitted);
    void ApplyCanopyRequested(const tulmera::leaf::LeafParameters& fitted, double lai);
    void CanopyFitRequested();  // "Ajustar dosel": the window answers with StartCanopyFit
    void FitFinished();

private:
    void OpenFile();
    void ChooseColumn(const QString& fileName);
    // Brings the column onto the grid and keeps it; a failure is said in the status line and,
    // with `sayInBox` (the user chose the file just now), in a box as well.
    bool Commit(const measured::MeasuredTable& table, int column, MeasuredKind kind,
                bool sayInBox = false);
    void ShowBesideTheCharts();
    void HideGivingBackRoom();
    void RememberRecent(const QString& fileName);
    void FillRecentMenu();
    void RunFit(std::function<void()> work, std::function<void(const QString&)> finish);
    void LeafFitDone(const std::optional<fit::LeafFitResult>& result,
                     const plot::FittedCurves& curves, const QString& failure);
    void CanopyFitDone(const std::optional<CanopyFit>& result, const plot::FittedCurves& curves,
                       const QString& failure);
    void ClearFit();
    void EndFit();
    void ApplyFit();
    void ShowTexts();
    void ShowFitResult();
    void ShowNewerModelFit();
    bool HasLeafSpectrum() const;

    QStatusBar* status_;
    QLabel* rmseLabel_ = nullptr;
    QCheckBox* waterBands_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QCheckBox* subdomains_ = nullptr;
    leaf::LeafModel leafModel_ = leaf::LeafModel::Classic;
    QPushButton* fitButton_ = nullptr;
    QPushButton* canopyFitButton_ = nullptr;
    QProgressDialog* canopyProgress_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QLabel* fitLabel_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* viewAction_ = nullptr;
    bool waterBandsChosen_ = false;  // clicked, or set by a session: no default replaces it

    // Element per MeasuredKind.
    std::array<std::optional<measured::MeasuredSpectrum>, kMeasuredKindCount> spectra_;
    std::array<int, kMeasuredKindCount> columns_{};  // the file column of each spectrum
    std::array<spectral::Spectrum, kMeasuredKindCount> model_{};  // fractions, last refresh
    bool modelKnown_ = false;
    QWidget* content_ = nullptr;  // what the panel's scroll area holds
    int grownBy_ = 0;             // the width the window grew by when the panel showed
    // The last fit's result: one of the two at most.
    std::optional<fit::LeafFitResult> fitResult_;
    std::optional<CanopyFit> canopyFitResult_;
    plot::FittedCurves fitted_;               // of the last fit, until applied or cleared
    std::atomic<std::uint64_t> rowsDone_{0};  // the canopy table's progress, from its workers
    std::atomic<bool> cancel_{false};
    bool cancelRequested_ = false;
    std::jthread fitThread_;  // last: joined before anything it uses goes
};

}  // namespace tulmera::app
