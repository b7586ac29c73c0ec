// The main window's sky mix: "Configuracion › Mezcla de cielo" (remembered), which every canopy
// run of the window uses, and the note the canopy chart carries while it is not the classic one.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSettings>

#include "app/widgets/chart_panel.h"
#include "app/widgets/settings_keys.h"
#include "app/windows/main_window.h"

namespace tulmera::app {
namespace {

constexpr std::array<canopy::SkyMix, 2> kSkyMixes = {canopy::SkyMix::Classic,
                                                     canopy::SkyMix::Physical};

QString SkyMixKey(canopy::SkyMix mix)
{
    return mix == canopy::SkyMix::Physical ? QStringLiteral("physical") : QStringLiteral("classic");
}

}  // namespace

// The remembered mix; classic when none was chosen or the value is not one of the two names.
canopy::SkyMix MainWindow::RememberedSkyMix()
{
    const QString saved = QSettings().value(QLatin1String(widgets::kSkyMixKey)).toString();
    return saved == SkyMixKey(canopy::SkyMix::Physical) ? canopy::SkyMix::Physical
                                                        : canopy::SkyMix::Classic;
}

void MainWindow::BuildSkyMixMenu(QMenu* settingsMenu)
{
    QMenu* menu = settingsMenu->addMenu(tr("Mezcla de &cielo"));
    menu->setObjectName(QStringLiteral("menu25"));
    menu->setToolTip(
        tr("Cómo se suman la reflectividad para la luz directa del sol y la de la "
           "luz difusa del cielo"));
    menu->setToolTipsVisible(true);
    auto* group = new QActionGroup(menu);
    const std::array<QString, 2> captions = {tr("&Clásica (difusa ×100)"),
                                             tr("&Física (cociente difuso/directo)")};
    const std::array<QString, 2> tips = {
        tr("La del programa: la parte difusa pesa cien veces el cociente del cielo, como un "
           "cielo casi cubierto"),
        tr("La parte difusa pesa el cociente de irradiancias difusa y directa: el punto "
           "caliente y los efectos angulares se ven")};
    for (std::size_t i = 0; i < kSkyMixes.size(); ++i) {
        const canopy::SkyMix mix = kSkyMixes[i];
        QAction* action = menu->addAction(captions[i]);
        action->setObjectName(QStringLiteral("menu25(%1)").arg(SkyMixKey(mix)));
        action->setToolTip(tips[i]);
        action->setCheckable(true);
        group->addAction(action);
        skyMixActions_[i] = action;
        connect(action, &QAction::triggered, this, [this, mix] { ChooseSkyMix(mix); });
    }
    ShowSkyMix(skyMix_);
}

void MainWindow::ShowSkyMix(canopy::SkyMix mix)
{
    for (std::size_t i = 0; i < kSkyMixes.size(); ++i) {
        skyMixActions_[i]->setChecked(kSkyMixes[i] == mix);
    }
}

// The charts are recomputed with the new mix; the choice is remembered once they show it, and
// the entries show the mix of what the charts show either way.
void MainWindow::ChooseSkyMix(canopy::SkyMix mix)
{
    skyMix_ = mix;
    Recompute();
    skyMix_ = lastGood_.canopy.skyMix;
    ShowSkyMix(skyMix_);
    if (skyMix_ == mix) QSettings().setValue(QLatin1String(widgets::kSkyMixKey), SkyMixKey(mix));
}

QString MainWindow::SkyMixNote(canopy::SkyMix mix)
{
    return mix == canopy::SkyMix::Physical ? tr("Mezcla de cielo física") : QString();
}

}  // namespace tulmera::app
