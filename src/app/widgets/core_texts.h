#pragma once
#include <QString>
#include <string_view>

// The texts of the core's tables that windows show (parameter captions, "Gráficos" entries,
// leaf architectures, soils), in the windows' language. The core keeps them in Spanish, as
// the keys the runs select by; only what the windows show is translated.
namespace tulmera::widgets {

// `spanish` (UTF-8) in the installed translators' language; unchanged when none translates it.
QString CoreText(std::string_view spanish);

// The name of a band's region (sensor::RegionName: "red", "red edge", "NIR") in the windows'
// language: "rojo", "borde rojo", "IRC" in Spanish. An unknown name is shown as it is.
QString BandRegionText(std::string_view englishName);

}  // namespace tulmera::widgets
