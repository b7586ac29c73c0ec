// The main window's controls, menus and charts, laid out: the leaf group above, the canopy
// group below, each chart to the right of its group.
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/core_texts.h"
#include "app/widgets/parameter_tips.h"
#include "app/windows/leaf_model_rows.h"
#include "app/windows/main_window.h"
#include "app/windows/main_window_rows.h"
#include "app/windows/measured_panel.h"
#include "plot/chart_background.h"
#include "plot/chart_geometry.h"
#include "spectral/soil_library.h"

namespace tulmera::app {
namespace {

using widgets::ChartDecorations;  // unqualified: lupdate takes a qualified return type for a class

constexpr int kVerticalMargin = 3;

QString Indexed(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QLineEdit* MakeValueBox(const QString& name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-0.00000")) + 16);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QLabel* MakeTitle(const QString& name, const QString& text, QWidget* parent)
{
    auto* title = new QLabel(text, parent);
    title->setObjectName(name);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.15);
    title->setFont(font);
    return title;
}

// Lower margins above and below, so that both charts fit a low screen (a projector at 200 %).
void TrimVerticalMargins(QLayout* layout)
{
    const QMargins m = layout->contentsMargins();
    layout->setContentsMargins(m.left(), kVerticalMargin, m.right(), kVerticalMargin);
}

void SetTip(std::initializer_list<QWidget*> controls, const QString& tip)
{
    for (QWidget* control : controls) control->setToolTip(tip);
}

// The ends of a row's bar in the unit of its box.
double BarLowest(const ParameterRow& row) { return double(row.bar.min) / row.divisor; }
double BarHighest(const ParameterRow& row) { return double(row.bar.max) / row.divisor; }

std::vector<widgets::ChartDecorations::AxisLabel> WavelengthLabels()
{
    std::vector<widgets::ChartDecorations::AxisLabel> labels;
    for (int nm = 400; nm <= 2500; nm += 300) labels.push_back({double(nm), QString::number(nm)});
    return labels;
}

ChartDecorations LeafChartDecorations()
{
    widgets::ChartDecorations d;
    d.legend = {
        {"Line1", QColor(0, 255, 0), 3, tulmera::app::MainWindow::tr("Reflectividad Hoja")},
        {"Line2", QColor(255, 0, 0), 3, tulmera::app::MainWindow::tr("Transmisividad Hoja")}};
    d.valueLabels = {{100, "1.0"}, {80, "0.8"}, {60, "0.6"}, {40, "0.4"}, {20, "0.2"}};
    d.valueAxisTitle = tulmera::app::MainWindow::tr("Reflectividad");
    d.valueAxisTitleName = QStringLiteral("lblEjeReflectividadHoja");
    // The transmittance is drawn downward from the top: 0 at the top, 1 at the bottom.
    d.rightLabels = {{100, "0.0"}, {80, "0.2"}, {60, "0.4"}, {40, "0.6"}, {20, "0.8"}, {0, "1.0"}};
    d.rightLabelsName = QStringLiteral("lblEjeT");
    d.rightAxisTitle = tulmera::app::MainWindow::tr("Transmisividad");
    d.rightAxisTitleName = QStringLiteral("lblEjeTransmisividad");
    d.wavelengthLabels = WavelengthLabels();
    d.firstLabelIndex = 0;
    d.axisTitle = tulmera::app::MainWindow::tr("LONGITUD DE ONDA (nm)");
    d.axisTitleName = QStringLiteral("Label2");
    return d;
}

ChartDecorations CanopyChartDecorations()
{
    widgets::ChartDecorations d;
    d.legend = {
        {"Line4", QColor(0, 255, 0), 3, tulmera::app::MainWindow::tr("Reflectividad Dosel")},
        {"Line3", QColor(0, 0, 0), 1, tulmera::app::MainWindow::tr("Reflectividad suelo")}};
    d.valueLabels = {{60, "0.6"}, {50, "0.5"}, {40, "0.4"}, {30, "0.3"}, {20, "0.2"}, {10, "0.1"}};
    d.valueAxisTitle = tulmera::app::MainWindow::tr("Reflectividad");
    d.valueAxisTitleName = QStringLiteral("lblEjeReflectividadDosel");
    d.wavelengthLabels = WavelengthLabels();
    d.firstLabelIndex = 13;
    d.axisTitle = tulmera::app::MainWindow::tr("LONGITUD DE ONDA (nm)");
    d.axisTitleName = QStringLiteral("Label1");
    return d;
}

}  // namespace

void MainWindow::BuildMenus()
{
    QMenu* menu1 = menuBar()->addMenu(tr("&Archivo"));
    menu1->setObjectName(QStringLiteral("menu1"));
    exportAction_ = menu1->addAction(tr("&Ver hoja de calculo"));
    exportAction_->setObjectName(QStringLiteral("menu11"));
    QMenu* menu12 = menu1->addMenu(tr("&Simulación múltiple"));
    menu12->setObjectName(QStringLiteral("menu12"));
    switchToSweepAction_ = menu12->addAction(tr("&Modelo Prospect"));
    switchToSweepAction_->setObjectName(QStringLiteral("menu121"));
    canopySweepAction_ = menu12->addAction(tr("Modelo &SAILH"));
    canopySweepAction_->setObjectName(QStringLiteral("menu122"));
    sensitivityAction_ = menu12->addAction(tr("Análisis de &sensibilidad"));
    sensitivityAction_->setObjectName(QStringLiteral("menu123"));
    measuredPanel_->AddMenuEntries(menu1);
    exitAction_ = menu1->addAction(tr("S&ailr"));
    exitAction_->setObjectName(QStringLiteral("menu13"));

    QMenu* menu2 = menuBar()->addMenu(tr("&Configuracion"));
    menu2->setObjectName(QStringLiteral("menu2"));
    QMenu* menu21 = menu2->addMenu(tr("&Gráficos"));
    menu21->setObjectName(QStringLiteral("menu21"));
    for (int entry = 1; entry <= plot::kBackgroundEntryCount; ++entry) {
        const std::string_view caption =
            plot::kBackgroundCaptions[static_cast<std::size_t>(entry - 1)];
        QAction* action = menu21->addAction(widgets::CoreText(caption));
        action->setObjectName(Indexed("menu211", entry));
        action->setCheckable(true);
        action->setChecked(entry == background_.checkedEntry);
        backgroundActions_[static_cast<std::size_t>(entry)] = action;
    }
    restoreStartAction_ = menu2->addAction(tr("&Restablecer valores iniciales"));
    restoreStartAction_->setObjectName(QStringLiteral("menu22"));
    BuildSharingMenus(menu1, menu2);
    BuildSessionMenus(menu1);
    BuildLanguageMenu(menu2);
    BuildLeafModelMenu(menu2);
    BuildSkyMixMenu(menu2);
}

// The leaf group above the canopy group, with as little room between and around them as
// reads well: on a low screen every line saved keeps the canopy chart's axis in view.
QWidget* MainWindow::BuildContent(QWidget* parent)
{
    auto* content = new QWidget(parent);
    auto* column = new QVBoxLayout(content);
    TrimVerticalMargins(column);
    column->setSpacing(kVerticalMargin);
    column->addWidget(BuildProspectGroup());
    auto* separator = new QFrame(content);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    column->addWidget(separator);
    column->addWidget(BuildSailhGroup());
    return content;
}

QWidget* MainWindow::BuildProspectGroup()
{
    auto* group = new QWidget(this);
    auto* row = new QHBoxLayout(group);
    TrimVerticalMargins(row);
    auto* controls = new QGridLayout;
    controls->addWidget(MakeTitle(QStringLiteral("Label3"), tr("Modelo PROSPECT"), group), 0, 0, 1,
                        2);
    for (int i = 0; i < 4; ++i) {
        const ParameterRow& p = kLeafRows[static_cast<std::size_t>(i)];
        const auto at = static_cast<std::size_t>(i);
        leafCaptions_[at] = new QLabel(widgets::CoreText(p.caption), group);
        leafCaptions_[at]->setObjectName(Indexed("lblProspect", i));
        leafBars_[at] =
            widgets::MakeScrollBar(Qt::Horizontal, Indexed("hsbProspect", i), p.bar, group);
        leafBoxes_[at] = MakeValueBox(Indexed("txtProspect", i), group);
        SetTip({leafCaptions_[at], leafBars_[at], leafBoxes_[at]},
               widgets::ParameterTip(static_cast<domain::Input>(i), BarLowest(p), BarHighest(p)));
        controls->addWidget(leafCaptions_[at], 1 + 2 * i, 0, 1, 2);
        controls->addWidget(leafBars_[at], 2 + 2 * i, 0);
        controls->addWidget(leafBoxes_[at], 2 + 2 * i, 1);
    }
    BuildLeafModelRows(group);
    controls->addWidget(leafModelRows_, 9, 0, 1, 2);
    leafRefusals_ =
        std::make_unique<widgets::RefusalMarks>(QStringLiteral("lblRechazoHoja"), group);
    controls->addWidget(leafRefusals_->note(), 10, 0, 1, 2);
    controls->setRowStretch(11, 1);
    controls->setColumnMinimumWidth(0, kControlsColumnWidth);
    controlGrids_[0] = controls;
    row->addLayout(controls, 1);
    leafChartPanel_ = new widgets::ChartPanel(QStringLiteral("pctProspect"), plot::kLeafChartScale,
                                              LeafChartDecorations(), group);
    row->addWidget(leafChartPanel_, 1);
    return group;
}

QWidget* MainWindow::BuildSailhGroup()
{
    auto* group = new QWidget(this);
    auto* row = new QHBoxLayout(group);
    TrimVerticalMargins(row);
    auto* controls = new QGridLayout;
    controls->addWidget(MakeTitle(QStringLiteral("Label5"), tr("Modelo SAILH"), group), 0, 0, 1, 2);
    for (int i = 0; i < 5; ++i) {
        const ParameterRow& p = kCanopyRows[static_cast<std::size_t>(i)];
        const auto at = static_cast<std::size_t>(i);
        auto* caption = new QLabel(widgets::CoreText(p.caption), group);
        caption->setObjectName(Indexed("lblSailh", i + 3));
        canopyCaptions_[at + 3] = caption;
        canopyBars_[at] =
            widgets::MakeScrollBar(Qt::Horizontal, Indexed("hsbSailh", i), p.bar, group);
        canopyBoxes_[at] = MakeValueBox(Indexed("txtSailh", i), group);
        SetTip(
            {caption, canopyBars_[at], canopyBoxes_[at]},
            widgets::ParameterTip(static_cast<domain::Input>(4 + i), BarLowest(p), BarHighest(p)));
        controls->addWidget(caption, 1 + 2 * i, 0, 1, 2);
        controls->addWidget(canopyBars_[at], 2 + 2 * i, 0);
        controls->addWidget(canopyBoxes_[at], 2 + 2 * i, 1);
    }

    const auto addList = [&](int index, const QString& caption, const QStringList& items,
                             int gridRow) {
        auto* label = new QLabel(caption, group);
        label->setObjectName(Indexed("lblSailh", index));
        canopyCaptions_[static_cast<std::size_t>(index)] = label;
        auto* combo = new QComboBox(group);
        combo->setObjectName(Indexed("cmbSailh", index));
        // Only the entries: typing picks the entry it begins, nothing else can be chosen. Each
        // entry carries the key the canopy run selects it by.
        combo->setEditable(false);
        for (const QString& item : items) {
            combo->addItem(widgets::CoreText(item.toStdString()), item);
        }
        combo->setCurrentIndex(0);
        canopyLists_[static_cast<std::size_t>(index)] = combo;
        controls->addWidget(label, gridRow, 0, 1, 2);
        controls->addWidget(combo, gridRow + 1, 0, 1, 2);
    };
    QStringList architectures;
    for (const std::string_view name : canopy::kLeafArchitectureNames) {
        architectures << QString::fromUtf8(name.data(), static_cast<int>(name.size()));
    }
    QStringList soils;
    for (const std::string_view key : spectral::kSoilKeys) {
        soils << QString::fromUtf8(key.data(), static_cast<int>(key.size()));
    }
    // Right under the boxes, where a refused value is typed, before the lists.
    canopyRefusals_ =
        std::make_unique<widgets::RefusalMarks>(QStringLiteral("lblRechazoDosel"), group);
    controls->addWidget(canopyRefusals_->note(), 11, 0, 1, 2);
    addList(0, tr("Arquitectura del dosel"), architectures, 12);
    addList(1, tr("Reflectividad del suelo:"), soils, 14);
    SetTip({canopyCaptions_[0], canopyLists_[0]}, widgets::ArchitectureTip());
    SetTip({canopyCaptions_[1], canopyLists_[1]}, widgets::SoilTip());

    canopyCaptions_[2] = new QLabel(tr("Visibilidad atmosférica:"), group);
    canopyCaptions_[2]->setObjectName(Indexed("lblSailh", 2));
    auto* visibility = new QHBoxLayout;
    visibility->addWidget(canopyCaptions_[2]);
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(i == 0 ? tr("15 Km") : tr("50 Km"), group);
        option->setObjectName(Indexed("tipocielo", i));
        option->setChecked(i == 0);
        visibilityOptions_[static_cast<std::size_t>(i)] = option;
        visibility->addWidget(option);
    }
    SetTip({canopyCaptions_[2], visibilityOptions_[0], visibilityOptions_[1]},
           widgets::VisibilityTip());
    visibility->addStretch(1);
    controls->addLayout(visibility, 16, 0, 1, 2);
    controls->setRowStretch(17, 1);
    controls->setColumnMinimumWidth(0, kControlsColumnWidth);
    controlGrids_[1] = controls;
    row->addLayout(controls, 1);
    canopyChartPanel_ = new widgets::ChartPanel(QStringLiteral("pctSailh"), plot::kCanopyChartScale,
                                                CanopyChartDecorations(), group);
    row->addWidget(canopyChartPanel_, 1);
    return group;
}

}  // namespace tulmera::app
