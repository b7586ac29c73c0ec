#include "app/windows/measured_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <string>

#include "app/widgets/controls.h"
#include "app/widgets/file_saving.h"
#include "app/widgets/settings_keys.h"
#include "plot/measured_curve.h"
#include "textio/error.h"

namespace tulmera::app {
namespace {

constexpr int kRecentFileCount = 6;

QString KindName(MeasuredKind kind)
{
    switch (kind) {
        case MeasuredKind::LeafReflectance:
            return tulmera::app::MeasuredPanel::tr("Reflectividad de hoja");
        case MeasuredKind::LeafTransmittance:
            return tulmera::app::MeasuredPanel::tr("Transmisividad de hoja");
        case MeasuredKind::CanopyReflectance:
            return tulmera::app::MeasuredPanel::tr("Reflectividad de dosel");
    }
    return {};
}

std::size_t At(MeasuredKind kind) { return static_cast<std::size_t>(kind); }

QPushButton* MakeButton(const QString& name, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

MeasuredPanel::MeasuredPanel(QStatusBar* status, QWidget* parent)
    : QDockWidget(tr("Espectro medido"), parent), status_(status)
{
    setObjectName(QStringLiteral("dckMedido"));
    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    rmseLabel_ = new QLabel(content);
    rmseLabel_->setObjectName(QStringLiteral("lblMedidoRmse"));
    rmseLabel_->setWordWrap(true);
    // Never squeezed below the height of its wrapped lines when another dock shares the side.
    rmseLabel_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    waterBands_ = new QCheckBox(tr("Excluir bandas de agua"), content);
    waterBands_->setToolTip(
        tr("Bandas de absorción atmosférica del agua: "
           "1340–1450 nm y 1800–1960 nm."));
    waterBands_->setObjectName(QStringLiteral("chkMedidoBandasAgua"));
    removeButton_ =
        MakeButton(QStringLiteral("cmdQuitarMedido"), tr("Quitar espectro medido"), content);
    auto* separator = new QFrame(content);
    separator->setFrameShape(QFrame::HLine);
    subdomains_ = new QCheckBox(tr("subdominios"), content);
    subdomains_->setObjectName(QStringLiteral("chkSubdominios"));
    fitButton_ = MakeButton(QStringLiteral("cmdAjustarHoja"), tr("Ajustar hoja"), content);
    cancelButton_ = MakeButton(QStringLiteral("cmdCancelarAjuste"), tr("Cancelar"), content);
    canopyFitButton_ = MakeButton(QStringLiteral("cmdAjustarDosel"), tr("Ajustar dosel"), content);
    canopyFitButton_->setToolTip(
        tr("Compara la reflectividad de dosel medida con %1 simulaciones (LAI 0.1–8, Cab 5–90, "
           "Cw 0.001–0.05, Cm 0.002–0.02, N 1–2.5) hechas con la geometría, la distribución "
           "foliar, el suelo y la visibilidad de la ventana, promedia las %2 más parecidas y "
           "afina el resultado con el modelo.")
            .arg(kCanopyFitRows)
            .arg(kCanopyFitBest));
    fitLabel_ = new QLabel(content);
    fitLabel_->setObjectName(QStringLiteral("lblAjuste"));
    fitLabel_->setWordWrap(true);
    fitLabel_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    fitLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    applyButton_ = MakeButton(QStringLiteral("cmdAplicarAjuste"), tr("Aplicar"), content);
    // The option under its two buttons, so that the panel can narrow on a small screen.
    auto* fitRow = new QHBoxLayout;
    fitRow->addWidget(fitButton_);
    fitRow->addWidget(cancelButton_);
    for (QWidget* w : {static_cast<QWidget*>(rmseLabel_), static_cast<QWidget*>(waterBands_),
                       static_cast<QWidget*>(removeButton_), static_cast<QWidget*>(separator)}) {
        column->addWidget(w);
    }
    column->addLayout(fitRow);
    column->addWidget(subdomains_);
    column->addWidget(canopyFitButton_);
    column->addWidget(fitLabel_);
    column->addWidget(applyButton_);
    column->addStretch(1);
    // When the docks beside the charts share less height than the texts need, the panel
    // scrolls instead of cutting them.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(content);
    setWidget(scroll);
    // A fixed width: longer texts wrap instead of taking room from the charts.
    content_ = content;
    FitWidth(NaturalWidth());

    connect(waterBands_, &QCheckBox::toggled, this, [this] { ShowTexts(); });
    connect(waterBands_, &QCheckBox::clicked, this, [this] { waterBandsChosen_ = true; });
    viewAction_ = toggleViewAction();
    viewAction_->setText(tr("Espectro &medido"));
    viewAction_->setObjectName(QStringLiteral("mnuVerMedido"));
    connect(removeButton_, &QPushButton::clicked, this, [this] { RemoveSpectra(); });
    connect(fitButton_, &QPushButton::clicked, this, [this] { StartFit(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { CancelFit(); });
    connect(canopyFitButton_, &QPushButton::clicked, this, [this] { emit CanopyFitRequested(); });
    connect(applyButton_, &QPushButton::clicked, this, [this] { ApplyFit(); });
    ShowTexts();
    ShowFitResult();
    hide();
}

MeasuredPanel::~MeasuredPanel()
{
    cancel_ = true;
    if (fitThread_.joinable()) fitThread_.join();
}

void MeasuredPanel::AddMenuEntries(QMenu* fileMenu)
{
    QAction* open = fileMenu->addAction(tr("Abrir espectro &medido…"));
    open->setObjectName(QStringLiteral("menuAbrirMedido"));
    connect(open, &QAction::triggered, this, [this] { OpenFile(); });
    recentMenu_ = fileMenu->addMenu(tr("Espectros medidos &recientes"));
    recentMenu_->setObjectName(QStringLiteral("menuMedidoReciente"));
    FillRecentMenu();
}

void MeasuredPanel::OpenFile()
{
    // Non-modal, in the folder of the last measured file opened.
    const QStringList recent = RecentFiles();
    const QString start = recent.isEmpty() ? QString() : QFileInfo(recent.first()).path();
    widgets::ChooseFileToOpen(
        this, tr("Abrir espectro medido"),
        tr("Espectros (*.csv *.txt *.dat *.asc);;Todos los archivos (*)"),
        QLatin1String(widgets::kMeasuredFolder),
        [this](const QString& fileName) { ChooseColumn(fileName); }, start);
}

// Reads the file, then asks for the column and what it holds in a window of its own.
void MeasuredPanel::ChooseColumn(const QString& fileName)
{
    measured::MeasuredTable table;
    const QString name = QFileInfo(fileName).fileName();
    try {
        table = measured::ReadMeasuredFile(fileName.toStdString());
    } catch (const std::exception& e) {
        // The reader names the line and field; the user asked for this file, so say it in a
        // box as well as in the status line.
        const QString what = tr("No se pudo leer el espectro medido «%1»").arg(name);
        widgets::ShowProblems(status_, {what + QLatin1Char('.')}, QString::fromUtf8(e.what()));
        widgets::OpenFailureBox(this, QStringLiteral("dlgMedidoIlegible"),
                                tr("Abrir espectro medido"), what + QLatin1Char('.'),
                                QString::fromUtf8(e.what()));
        return;
    }
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Abrir espectro medido: %1").arg(name));
    auto* form = new QFormLayout(dialog);
    auto* columns = new QComboBox(dialog);
    for (const measured::MeasuredColumn& c : table.columns) {
        columns->addItem(QString::fromStdString(c.name));
    }
    auto* kinds = new QComboBox(dialog);
    kinds->setObjectName(QStringLiteral("cmbMedidoContiene"));
    for (int k = 0; k < kMeasuredKindCount; ++k) kinds->addItem(KindName(MeasuredKind(k)));
    const auto guess = [fileName, columns, kinds] {
        kinds->setCurrentIndex(static_cast<int>(GuessKind(fileName, columns->currentText())));
    };
    guess();
    connect(columns, &QComboBox::currentIndexChanged, dialog, guess);
    form->addRow(tr("Muestra (columna):"), columns);
    form->addRow(tr("Contiene:"), kinds);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Abrir"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancelar"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    connect(dialog, &QDialog::accepted, this, [this, table, columns, kinds] {
        Commit(table, columns->currentIndex(), MeasuredKind(kinds->currentIndex()), true);
    });
    dialog->open();
}

bool MeasuredPanel::LoadFile(const QString& fileName, int column, MeasuredKind kind)
{
    measured::MeasuredTable table;
    const QString name = QFileInfo(fileName).fileName();
    if (!widgets::Guarded(status_, tr("No se pudo leer el espectro medido «%1»").arg(name),
                          [&] { table = measured::ReadMeasuredFile(fileName.toStdString()); })) {
        return false;
    }
    return Commit(table, column, kind);
}

bool MeasuredPanel::Commit(const measured::MeasuredTable& table, int column, MeasuredKind kind,
                           bool sayInBox)
{
    std::optional<measured::MeasuredSpectrum> spectrum;
    const QString name = QFileInfo(QString::fromStdString(table.fileName)).fileName();
    try {
        if (column < 0 || static_cast<std::size_t>(column) >= table.columns.size()) {
            throw Error("\"" + table.fileName + "\" has no spectrum column "
                        + std::to_string(column + 1) + ".");
        }
        spectrum = measured::SpectrumOnGrid(table, static_cast<std::size_t>(column));
    } catch (const std::exception& e) {
        const QString what = tr("No se pudo usar la columna %1 de «%2».").arg(column + 1).arg(name);
        widgets::ShowProblems(status_, {what}, QString::fromUtf8(e.what()));
        if (sayInBox) {
            widgets::OpenFailureBox(this, QStringLiteral("dlgMedidoIlegible"),
                                    tr("Abrir espectro medido"), what, QString::fromUtf8(e.what()));
        }
        return false;
    }
    ClearFit();  // a fit of the spectra loaded before no longer describes what is shown
    const bool first = std::none_of(spectra_.begin(), spectra_.end(),
                                    [](const auto& loaded) { return loaded.has_value(); });
    spectra_[At(kind)] = std::move(spectrum);
    columns_[At(kind)] = column;
    if (first && !waterBandsChosen_) {
        const QSignalBlocker block(waterBands_);
        waterBands_->setChecked(kind == MeasuredKind::CanopyReflectance);
    }
    RememberRecent(QString::fromStdString(table.fileName));
    ShowBesideTheCharts();
    ShowTexts();
    status_->showMessage(
        tr("%1 leída de «%2»: %3")
            .arg(KindName(kind), name, QString::fromStdString(spectra_[At(kind)]->name)));
    emit SpectraChanged();
    return true;
}

MeasuredKind MeasuredPanel::GuessKind(const QString& fileName, const QString& columnName)
{
    const QString words =
        (QFileInfo(fileName).fileName() + QLatin1Char(' ') + columnName).toLower();
    const auto speaksOf = [&words](std::initializer_list<const char*> stems) {
        return std::any_of(stems.begin(), stems.end(), [&words](const char* stem) {
            return words.contains(QLatin1String(stem));
        });
    };
    if (speaksOf({"canopy", "dosel", "cubierta"})) return MeasuredKind::CanopyReflectance;
    if (speaksOf({"transm"})) return MeasuredKind::LeafTransmittance;
    return MeasuredKind::LeafReflectance;
}

void MeasuredPanel::RemoveSpectra()
{
    for (auto& spectrum : spectra_) spectrum.reset();
    ClearFit();  // nothing is left to apply it to
    ShowTexts();
    HideGivingBackRoom();
    emit SpectraChanged();
}

int MeasuredPanel::NaturalWidth() const
{
    return fontMetrics().horizontalAdvance(QLatin1Char('x')) * 44;
}

int MeasuredPanel::NarrowestWidth() const
{
    // The content's own least width, its scroll bar and the dock's frame.
    return content_->minimumSizeHint().width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent)
           + 2 * style()->pixelMetric(QStyle::PM_DockWidgetFrameWidth, nullptr, this);
}

int MeasuredPanel::NeededHeight() const
{
    const int width = widget()->width() > 0 ? widget()->width() : NaturalWidth();
    const int content = content_->hasHeightForWidth() ? content_->heightForWidth(width)
                                                      : content_->sizeHint().height();
    return content + style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
}

void MeasuredPanel::FitWidth(int most)
{
    setFixedWidth(std::clamp(most, std::min(NarrowestWidth(), NaturalWidth()), NaturalWidth()));
}

// The window grows by the panel's width, as far as the screen allows, so that the charts keep
// their room; the panel gives that width back when it goes.
void MeasuredPanel::ShowBesideTheCharts()
{
    if (!isHidden()) return;
    auto* main = qobject_cast<QMainWindow*>(parentWidget());
    if (main == nullptr || main->centralWidget() == nullptr || main->isMaximized()
        || main->isFullScreen()) {
        show();
        return;
    }
    const int centralWidth = main->centralWidget()->width();
    show();
    main->layout()->activate();  // the central widget's width with the panel beside it
    int grown = centralWidth - main->centralWidget()->width();
    if (const QScreen* shown = main->screen(); shown != nullptr) {
        grown = std::min(grown, shown->availableGeometry().width() - main->frameGeometry().width());
    }
    grownBy_ = std::max(grown, 0);
    main->resize(main->width() + grownBy_, main->height());
}

void MeasuredPanel::HideGivingBackRoom()
{
    hide();
    QWidget* main = parentWidget();
    if (main != nullptr && grownBy_ > 0 && !main->isMaximized() && !main->isFullScreen()) {
        main->resize(main->width() - grownBy_, main->height());
    }
    grownBy_ = 0;
}

QStringList MeasuredPanel::RecentFiles()
{
    return QSettings().value(QLatin1String(widgets::kRecentMeasuredKey)).toStringList();
}

void MeasuredPanel::RememberRecent(const QString& fileName)
{
    const QString path = QFileInfo(fileName).absoluteFilePath();
    QStringList recent = RecentFiles();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kRecentFileCount) recent.removeLast();
    QSettings().setValue(QLatin1String(widgets::kRecentMeasuredKey), recent);
    FillRecentMenu();
}

void MeasuredPanel::FillRecentMenu()
{
    if (recentMenu_ == nullptr) return;
    recentMenu_->clear();
    const QStringList recent = RecentFiles();
    for (const QString& path : recent) {
        connect(recentMenu_->addAction(QFileInfo(path).fileName()), &QAction::triggered, this,
                [this, path] { ChooseColumn(path); });
    }
    recentMenu_->setEnabled(!recent.isEmpty());
}

void MeasuredPanel::ModelChanged(const canopy::CanopyState& state)
{
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        model_[At(MeasuredKind::LeafReflectance)][at] = state.leafReflPct[at] / 100.0;
        model_[At(MeasuredKind::LeafTransmittance)][at] = state.leafTransPct[at] / 100.0;
        model_[At(MeasuredKind::CanopyReflectance)][at] = state.canopyReflPct[at] / 100.0;
    }
    modelKnown_ = true;
    ShowTexts();
}

plot::MeasuredCurves MeasuredPanel::DrawnCurves() const
{
    const auto loaded = [this](MeasuredKind kind) { return spectra_[At(kind)].has_value(); };
    return {loaded(MeasuredKind::LeafReflectance), loaded(MeasuredKind::LeafTransmittance),
            loaded(MeasuredKind::CanopyReflectance),
            fitted_.leafReflectance || fitted_.leafTransmittance,
            fitted_.canopyReflectance.has_value()};
}

void MeasuredPanel::Paint(plot::ChartSurface& leafChart, plot::ChartSurface& canopyChart) const
{
    using plot::MeasuredDirection;
    if (const auto& r = spectra_[At(MeasuredKind::LeafReflectance)]) {
        plot::PaintMeasured(leafChart, r->value, MeasuredDirection::Upward);
    }
    if (const auto& t = spectra_[At(MeasuredKind::LeafTransmittance)]) {
        plot::PaintMeasured(leafChart, t->value, MeasuredDirection::Downward);
    }
    if (const auto& c = spectra_[At(MeasuredKind::CanopyReflectance)]) {
        plot::PaintMeasured(canopyChart, c->value, MeasuredDirection::Upward);
    }
    constexpr int kLeafLastNm = spectral::WavelengthNm(spectral::kWavelengthCount - 1);
    constexpr int kCanopyLastNm = kLeafLastNm - spectral::kWavelengthStepNm;  // as its curve
    if (fitted_.leafReflectance) {
        plot::PaintFitted(leafChart, *fitted_.leafReflectance, MeasuredDirection::Upward,
                          kLeafLastNm);
    }
    if (fitted_.leafTransmittance) {
        plot::PaintFitted(leafChart, *fitted_.leafTransmittance, MeasuredDirection::Downward,
                          kLeafLastNm);
    }
    if (fitted_.canopyReflectance) {
        plot::PaintFitted(canopyChart, *fitted_.canopyReflectance, MeasuredDirection::Upward,
                          kCanopyLastNm);
    }
}

std::optional<double> MeasuredPanel::Rmse(MeasuredKind kind) const
{
    const auto& spectrum = spectra_[At(kind)];
    if (!spectrum || !modelKnown_) return std::nullopt;
    return measured::RmsePercent(model_[At(kind)], spectrum->value, waterBands_->isChecked());
}

bool MeasuredPanel::HasLeafSpectrum() const
{
    return spectra_[At(MeasuredKind::LeafReflectance)]
           || spectra_[At(MeasuredKind::LeafTransmittance)];
}

// One paragraph per loaded spectrum: what it is, its column and file, the RMSE over the
// compared points, and the values below 0 and above 1.
void MeasuredPanel::ShowTexts()
{
    QStringList lines;
    for (int k = 0; k < kMeasuredKindCount; ++k) {
        const auto kind = MeasuredKind(k);
        const auto& spectrum = spectra_[At(kind)];
        if (!spectrum) continue;
        const std::optional<double> rmse = Rmse(kind);
        const QString error =
            rmse ? tr("RMSE %1 puntos porcentuales en %2 longitudes de onda")
                       .arg(widgets::ValueText(*rmse, 3))
                       .arg(measured::PointsCompared(spectrum->value, waterBands_->isChecked())
                                .index.size())
                 : tr("RMSE: sin longitudes de onda comunes");
        lines << tr("%1 («%2», %3): %4; %5 valores negativos, %6 mayores que 1.")
                     .arg(KindName(kind), QString::fromStdString(spectrum->name),
                          QFileInfo(QString::fromStdString(spectrum->fileName)).fileName(), error)
                     .arg(spectrum->negativeCount)
                     .arg(spectrum->aboveOneCount);
    }
    rmseLabel_->setText(lines.isEmpty() ? tr("Ningún espectro medido.")
                                        : lines.join(QLatin1Char('\n')));
    const bool any = !lines.isEmpty();
    removeButton_->setEnabled(any);
    waterBands_->setEnabled(any);
    fitButton_->setEnabled(HasLeafSpectrum() && !Fitting());
    canopyFitButton_->setEnabled(spectra_[At(MeasuredKind::CanopyReflectance)] && !Fitting());
    cancelButton_->setEnabled(Fitting());
}

}  // namespace tulmera::app
