#pragma once
#include "multi/parameter_rows.h"

// The scroll bar rows of the main window, shared by its layout and its event handlers: the
// leaf bars are those of the multiple-simulation window, with the main window's captions.
namespace tulmera::app {

using multi::ParameterRow;
inline constexpr const auto& kLeafRows = multi::kMainLeafRows;
inline constexpr const auto& kCanopyRows = multi::kCanopyRows;

}  // namespace tulmera::app
