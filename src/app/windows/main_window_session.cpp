// The main window's sessions ("Archivo › Guardar sesión…", "Abrir sesión…", the last session
// at the next start) and its kept spectra ("Espectros › Fijar espectros").
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/widgets/chart_panel.h"
#include "app/widgets/chart_saving.h"
#include "app/widgets/controls.h"
#include "app/widgets/file_saving.h"
#include "app/widgets/settings_keys.h"
#include "app/windows/main_window.h"
#include "app/windows/main_window_rows.h"
#include "app/windows/measured_panel.h"
#include "app/windows/sensor_dock.h"
#include "plot/chart_figures.h"
#include "plot/measured_curve.h"
#include "textio/error.h"

namespace tulmera::app {
namespace {

// The nearest position of a bar to `value` (in the row's units), at its end beyond its range.
int NearestPosition(const ParameterRow& row, double value)
{
    const double position = std::round(value * row.divisor);
    return static_cast<int>(std::clamp(position, double(row.bar.min), double(row.bar.max)));
}

QPixmap Swatch(plot::Rgb colour)
{
    QPixmap swatch(16, 16);
    swatch.fill(QColor(colour.r, colour.g, colour.b));
    return swatch;
}

}  // namespace

void MainWindow::BuildSessionMenus(QMenu* fileMenu)
{
    auto* save = new QAction(tr("&Guardar sesión…"), fileMenu);
    save->setObjectName(QStringLiteral("mnuGuardarSesion"));
    auto* open = new QAction(tr("A&brir sesión…"), fileMenu);
    open->setObjectName(QStringLiteral("mnuAbrirSesion"));
    auto* reopen = new QAction(tr("Abrir la última sesión al iniciar"), fileMenu);
    reopen->setObjectName(QStringLiteral("mnuUltimaSesion"));
    reopen->setCheckable(true);
    reopen->setChecked(ReopensLastSession());
    for (QAction* action : {save, open, reopen}) fileMenu->insertAction(exitAction_, action);
    fileMenu->insertSeparator(exitAction_);
    const QString filter = tr("Sesión de Tulmera (*.tulmera)");
    connect(save, &QAction::triggered, this, [this, filter] {
        widgets::ChooseFileToSave(this, tr("Guardar sesión"), filter, QStringLiteral("tulmera"),
                                  QLatin1String(widgets::kSessionsFolder),
                                  [this](const QString& fileName) { SaveSession(fileName); });
    });
    connect(open, &QAction::triggered, this, [this, filter] {
        widgets::ChooseFileToOpen(this, tr("Abrir sesión"), filter,
                                  QLatin1String(widgets::kSessionsFolder),
                                  [this](const QString& fileName) { OpenSession(fileName); });
    });
    connect(reopen, &QAction::toggled, this,
            [](bool on) { QSettings().setValue(QLatin1String(widgets::kReopenSessionKey), on); });

    QMenu* spectra = menuBar()->addMenu(tr("&Espectros"));
    spectra->setObjectName(QStringLiteral("menuEspectros"));
    keepAction_ = spectra->addAction(tr("&Fijar espectros"));
    keepAction_->setObjectName(QStringLiteral("mnuFijarEspectros"));
    keepAction_->setToolTip(
        tr("Deja las curvas actuales de hoja y cubierta en los gráficos, "
           "como referencia para comparar"));
    connect(keepAction_, &QAction::triggered, this, [this] { KeepSpectra(); });
    removeKeptMenu_ = spectra->addMenu(tr("&Quitar espectros fijados"));
    removeKeptMenu_->setObjectName(QStringLiteral("mnuQuitarFijados"));
    ShowKeptEntries();
}

// One entry per kept set, in its colour, and one that removes them all.
void MainWindow::ShowKeptEntries()
{
    removeKeptMenu_->clear();
    for (std::size_t k = 0; k < kept_.size(); ++k) {
        QAction* action = removeKeptMenu_->addAction(QIcon(Swatch(plot::KeptColour(k))),
                                                     QString::fromStdString(kept_[k].label));
        action->setObjectName(QStringLiteral("mnuQuitarFijado(%1)").arg(k));
        connect(action, &QAction::triggered, this, [this, k] { RemoveKeptSpectra(k); });
    }
    if (!kept_.empty()) {
        removeKeptMenu_->addSeparator();
        QAction* all = removeKeptMenu_->addAction(tr("Quitar &todos"));
        all->setObjectName(QStringLiteral("mnuQuitarTodosFijados"));
        connect(all, &QAction::triggered, this, [this] {
            kept_.clear();
            ShowKeptEntries();
            Recompute();
        });
    }
    removeKeptMenu_->setEnabled(!kept_.empty());
    keepAction_->setEnabled(kept_.size() < session::kMaxKeptSpectra);
    ShowExtraLegends();
}

// After the charts' own legend: an entry per measured spectrum drawn (black, as its curve),
// a short caption per kept set (its values in the tooltip), then the measured panel's fitted
// curve on the chart it is drawn on.
void MainWindow::ShowExtraLegends()
{
    if (leafChartPanel_ == nullptr) return;  // the menus are made before the charts
    using Entries = std::vector<widgets::ChartDecorations::LegendEntry>;
    Entries leafEntries;
    Entries canopyEntries;
    QStringList leafTips;
    QStringList canopyTips;
    const QColor black(plot::kMeasuredBlack.r, plot::kMeasuredBlack.g, plot::kMeasuredBlack.b);
    const plot::MeasuredCurves measured = measuredPanel_->DrawnCurves();
    const plot::FigureTexts texts = widgets::WindowFigureTexts();
    if (measured.leafReflectance) {
        leafEntries.push_back({QStringLiteral("lnMedidoR"), black, 1, tr("R medida")});
        leafTips << QString::fromStdString(texts.measuredLeafReflectance);
    }
    if (measured.leafTransmittance) {
        leafEntries.push_back({QStringLiteral("lnMedidoT"), black, 1, tr("T medida")});
        leafTips << QString::fromStdString(texts.measuredLeafTransmittance);
    }
    if (measured.canopyReflectance) {
        canopyEntries.push_back({QStringLiteral("lnMedidoDosel"), black, 1, tr("R medida")});
        canopyTips << QString::fromStdString(texts.measuredCanopyReflectance);
    }
    for (std::size_t k = 0; k < kept_.size(); ++k) {
        const plot::Rgb c = plot::KeptColour(k);
        const widgets::ChartDecorations::LegendEntry entry{QStringLiteral("lnFijado(%1)").arg(k),
                                                           QColor(c.r, c.g, c.b), 1,
                                                           tr("Fijado %1").arg(k + 1)};
        leafEntries.push_back(entry);
        canopyEntries.push_back(entry);
        leafTips << QString::fromStdString(kept_[k].label);
        canopyTips << QString::fromStdString(kept_[k].label);
    }
    const plot::Rgb f = plot::kFittedMagenta;
    const widgets::ChartDecorations::LegendEntry fitted = {
        QStringLiteral("lnAjuste"), QColor(f.r, f.g, f.b), plot::kFittedPenWidth, tr("Ajuste")};
    if (measured.fittedLeaf) {
        leafEntries.push_back(fitted);
        leafTips << tr("Ajuste");
    }
    if (measured.fittedCanopy) {
        canopyEntries.push_back(fitted);
        canopyTips << tr("Ajuste");
    }
    leafChartPanel_->SetExtraLegend(leafEntries, leafTips);
    canopyChartPanel_->SetExtraLegend(canopyEntries, canopyTips);
}

// The kept set's caption: the values that make it differ, as the boxes show them.
QString MainWindow::KeptLabel() const
{
    const leaf::LeafParameters& p = lastGood_.leaf;
    const canopy::CanopyInputs& c = lastGood_.canopy;
    QString label =
        QStringLiteral("N %1, Cab %2, Cw %3, ")
            .arg(widgets::ValueText(p.N), widgets::ValueText(p.Cab), widgets::ValueText(p.Cw));
    if (p.model == leaf::LeafModel::ProspectPro) {
        label += QStringLiteral("Prot %1, CBC %2, ")
                     .arg(widgets::ValueText(p.Prot), widgets::ValueText(p.CBC));
    } else {
        label += QStringLiteral("Cm %1, ").arg(widgets::ValueText(p.Cm));
    }
    return label
           + tr("LAI %1, sol %2°").arg(widgets::ValueText(c.lai), widgets::ValueText(c.sunZenith));
}

void MainWindow::KeepSpectra()
{
    FinishEditing();  // a value being typed is applied first
    if (kept_.size() >= session::kMaxKeptSpectra) {
        widgets::ShowProblems(
            statusBar(),
            {tr("Ya hay %1 espectros fijados; quite alguno antes.").arg(session::kMaxKeptSpectra)});
        return;
    }
    kept_.push_back({KeptLabel().toStdString(), canopyState_.leafReflPct, canopyState_.leafTransPct,
                     canopyState_.canopyReflPct});
    ShowKeptEntries();
    if (Recompute()) {
        statusBar()->showMessage(
            tr("Espectros fijados: %1").arg(QString::fromStdString(kept_.back().label)));
    }
}

void MainWindow::RemoveKeptSpectra(std::size_t index)
{
    if (index >= kept_.size()) return;
    kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(index));
    ShowKeptEntries();
    Recompute();
}

session::Session MainWindow::CurrentSession() const
{
    session::Session s;
    s.leaf = lastGood_.leaf;
    s.canopy = lastGood_.canopy;
    s.background = background_.checkedEntry;
    s.measured = measuredPanel_->LoadedFiles();
    s.excludeWaterBands = measuredPanel_->ExcludesWaterBands();
    s.subdomains = measuredPanel_->FitsBySubdomains();
    s.kept = kept_;
    if (openWindows_) s.windows = openWindows_();
    s.windows.sensorDock = !sensorDock_->isHidden();
    s.windows.measuredPanel = !measuredPanel_->isHidden();
    return s;
}

void MainWindow::SetOpenWindowsQuery(std::function<session::OpenWindows()> query)
{
    openWindows_ = std::move(query);
}

bool MainWindow::SaveSession(const QString& fileName)
{
    FinishEditing();
    const bool saved = widgets::Guarded(
        statusBar(),
        tr("No se pudo guardar la sesión «%1»; el archivo anterior no cambió").arg(fileName),
        [&] { widgets::SaveWholeFile(fileName, session::SessionText(CurrentSession())); });
    if (saved) statusBar()->showMessage(tr("Sesión guardada en «%1».").arg(fileName));
    return saved;
}

bool MainWindow::OpenSession(const QString& fileName)
{
    session::Session opened;
    try {
        opened = session::ReadSessionFile(QFile::encodeName(fileName).toStdString());
    } catch (const std::exception& e) {
        // Said where the user looks, and without blocking: the window stays as it was.
        widgets::OpenFailureBox(
            this, QStringLiteral("dlgSesionRechazada"), tr("Abrir sesión"),
            tr("La sesión «%1» no se abrió; nada ha cambiado.").arg(QFileInfo(fileName).fileName()),
            QString::fromUtf8(e.what()));
        return false;
    }
    ApplySession(opened, QFileInfo(fileName).absolutePath());
    statusBar()->showMessage(tr("Sesión abierta: «%1».").arg(fileName));
    return true;
}

void MainWindow::ApplySession(const session::Session& s, const QString& folder)
{
    FinishEditing();
    ShownControls shown = lastGood_;
    const std::array<double, 4> leafValues = {s.leaf.N, s.leaf.Cab, s.leaf.Cw, s.leaf.Cm};
    for (std::size_t i = 0; i < kLeafRows.size(); ++i) {
        shown.leafBars[i] = NearestPosition(kLeafRows[i], leafValues[i]);
    }
    const std::array<double, 5> canopyValues = {s.canopy.lai, s.canopy.sunZenith,
                                                s.canopy.viewAngle, s.canopy.relAzimuth,
                                                s.canopy.hotSpot};
    for (std::size_t i = 0; i < kCanopyRows.size(); ++i) {
        shown.canopyBars[i] = NearestPosition(kCanopyRows[i], canopyValues[i]);
    }
    shown.canopy = s.canopy;
    const std::array<std::string, 2> keys = {s.canopy.leafArchitecture, s.canopy.soil};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        shown.listEntries[i] =
            std::max(0, canopyLists_[i]->findData(QString::fromStdString(keys[i])));
    }
    shown.background = s.background;
    shown.leaf = s.leaf;
    ShowControls(shown);
    // The session's values as saved, even between two bar positions.
    for (std::size_t i = 0; i < leafBoxes_.size(); ++i) {
        leafBoxes_[i]->setText(widgets::ValueText(leafValues[i]));
    }

    kept_ = s.kept;
    ShowKeptEntries();
    QStringList unread;
    measuredPanel_->RemoveSpectra();
    for (const session::MeasuredFile& file : s.measured) {
        const QString name =
            QDir(folder).absoluteFilePath(QFile::decodeName(file.fileName.c_str()));
        if (!measuredPanel_->LoadFile(name, file.column, static_cast<MeasuredKind>(file.kind))) {
            unread << name;
        }
    }
    measuredPanel_->SetOptions(s.excludeWaterBands, s.subdomains);
    if (!s.windows.measuredPanel) measuredPanel_->hide();
    sensorDock_->setVisible(s.windows.sensorDock);
    skyMix_ = s.canopy.skyMix;  // for this session only: the remembered choice stays
    Recompute();
    skyMix_ = lastGood_.canopy.skyMix;
    ShowSkyMix(skyMix_);
    if (!unread.isEmpty()) {
        auto* box =
            new QMessageBox(QMessageBox::Warning, tr("Abrir sesión"),
                            tr("No se pudieron leer estos espectros medidos de la sesión:\n%1")
                                .arg(unread.join(QLatin1Char('\n'))),
                            QMessageBox::Ok, this);
        box->setObjectName(QStringLiteral("dlgSesionSinMedidos"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    if (s.windows.canopySweep) emit CanopySweepRequested();
    if (s.windows.sensitivity) emit SensitivityRequested();
}

bool MainWindow::ReopensLastSession()
{
    return QSettings().value(QLatin1String(widgets::kReopenSessionKey), false).toBool();
}

// Beside the settings file, so that it goes where the settings go.
QString MainWindow::LastSessionFile()
{
    return QFileInfo(QSettings().fileName()).absolutePath()
           + QStringLiteral("/last-session.tulmera");
}

void MainWindow::RememberLastSession() const
{
    if (!ReopensLastSession()) return;
    try {
        QDir().mkpath(QFileInfo(LastSessionFile()).absolutePath());
        widgets::SaveWholeFile(LastSessionFile(), session::SessionText(CurrentSession()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tulmera: the last session was not kept: %s\n", e.what());
    }
}

}  // namespace tulmera::app
