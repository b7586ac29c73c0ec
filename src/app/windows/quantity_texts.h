#pragma once
#include <QString>
#include <string_view>

// How the windows' quantity lists show a quantity of multi::SweepQuantityNames.
namespace tulmera::app {

// The entry text of quantity `name`: the name itself, and for a sensor's band its region in
// the windows' language ("Landsat-TM band 3 (rojo)"). The entry keeps `name` as its data: the
// text may be translated, the name is what multi::ParseSweepQuantity reads.
QString QuantityEntryText(std::string_view name);

}  // namespace tulmera::app
