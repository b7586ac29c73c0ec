// The main window's leaf model: "Configuracion › Modelo de hoja" (remembered), the leaf group's
// rows for the pigments and constituents of PROSPECT-D and PROSPECT-PRO, and the Cm row, which
// PRO replaces by its proteins and carbon-based constituents.
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>

#include "app/widgets/controls.h"
#include "app/windows/leaf_model_rows.h"
#include "app/windows/main_window.h"
#include "app/windows/measured_panel.h"
#include "leaf/leaf_models.h"

namespace tulmera::app {
namespace {

const QString kLeafModelSetting = QStringLiteral("leaf/model");

QString ModelKey(leaf::LeafModel model)
{
    const std::string_view name = leaf::LeafModelName(model);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

leaf::LeafModel MainWindow::RememberedLeafModel()
{
    const QString saved = QSettings().value(kLeafModelSetting).toString();
    return leaf::ParseLeafModel(saved.toStdString()).value_or(leaf::LeafModel::Classic);
}

void MainWindow::BuildLeafModelMenu(QMenu* settingsMenu)
{
    QMenu* menu = settingsMenu->addMenu(tr("&Modelo de hoja"));
    menu->setObjectName(QStringLiteral("menu24"));
    auto* group = new QActionGroup(menu);
    const std::array<QString, 3> captions = {tr("PROSPECT &clásico"), tr("PROSPECT-&D"),
                                             tr("PROSPECT-&PRO")};
    for (std::size_t i = 0; i < leaf::kLeafModels.size(); ++i) {
        const leaf::LeafModel model = leaf::kLeafModels[i];
        QAction* action = menu->addAction(captions[i]);
        action->setObjectName(QStringLiteral("menu24(%1)").arg(ModelKey(model)));
        action->setCheckable(true);
        group->addAction(action);
        leafModelActions_[i] = action;
        connect(action, &QAction::triggered, this, [this, model] { ChooseLeafModel(model); });
    }
}

// The rows below the classic four; hidden for the classic model.
void MainWindow::BuildLeafModelRows(QWidget* group)
{
    leafModelRows_ = new LeafModelRows(group);
    connect(leafModelRows_, &LeafModelRows::Changed, this, [this] {
        SetLeafParametersFromTexts();
        Recompute();
    });
    connect(leafModelRows_, &LeafModelRows::Problems, this,
            [this](const QStringList& problems) { widgets::ShowProblems(statusBar(), problems); });
    connect(leafModelRows_, &LeafModelRows::Refused, this,
            [this](QLineEdit* box, const QString& reason) { leafRefusals_->Refuse(box, reason); });
    connect(leafModelRows_, &LeafModelRows::Accepted, this,
            [this](QLineEdit* box) { leafRefusals_->Accept(box); });
}

// Shows the controls of `model`: its menu entry checked, its rows, the Cm row unless PRO.
void MainWindow::ShowLeafModel(leaf::LeafModel model)
{
    for (std::size_t i = 0; i < leaf::kLeafModels.size(); ++i) {
        leafModelActions_[i]->setChecked(leaf::kLeafModels[i] == model);
    }
    const bool hasCm = leaf::ModelHasParameter(model, "Cm");
    leafCaptions_[3]->setVisible(hasCm);
    leafBars_[3]->setVisible(hasCm);
    leafBoxes_[3]->setVisible(hasCm);
    leafModelRows_->ShowModel(model);
    measuredPanel_->SetLeafModel(model);
}

// The choice is remembered; the shown values stay (Cm and the rows the model lacks are 0 for
// it) and the charts are recomputed with the new model.
void MainWindow::ChooseLeafModel(leaf::LeafModel model)
{
    QSettings().setValue(kLeafModelSetting, ModelKey(model));
    const leaf::LeafModel previous = leaf_.model;
    leaf_.model = model;
    leafRefusals_->Clear();  // a marked row may be one the new model hides
    ShowLeafModel(model);
    SetLeafParametersFromTexts();
    if (!Recompute() && leaf_.model != model) ShowLeafModel(previous);
}

// The classic boxes hold N, Cab, Cw, Cm; the model's rows the rest.
void MainWindow::ReadLeafModelRows(leaf::LeafParameters& p) const
{
    if (!leaf::ModelHasParameter(p.model, "Cm")) p.Cm = 0.0;
    leafModelRows_->ReadInto(p);
}

}  // namespace tulmera::app
