#pragma once
#include <QString>

#include "domain/input_domain.h"

// The tooltips of the parameter controls: what the parameter is, its unit, the values its bar
// offers and those its box accepts, and one sentence of what it does to the spectrum.
namespace tulmera::widgets {

// The tip of `input`'s bar and box, whose bar runs from `barLowest` to `barHighest` (in the
// parameter's unit), in the installed translators' language.
QString ParameterTip(domain::Input input, double barLowest, double barHighest);

// The tips of the other controls of the canopy group.
QString ArchitectureTip();
QString SoilTip();
QString VisibilityTip();

}  // namespace tulmera::widgets
