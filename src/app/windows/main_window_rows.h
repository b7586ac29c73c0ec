#pragma once
#include <array>

#include "app/widgets/controls.h"

// The scroll bar rows of the main window, shared by its layout and its event handlers.
namespace tulmera::app {

// One parameter row of the window: caption, scroll bar range and the divisor that turns the
// bar's integer into the parameter's value.
struct ParameterRow {
    const char* caption;
    widgets::ScrollRange range;
    int divisor;
};

// clang-format off
inline constexpr std::array<ParameterRow, 4> kLeafRows = {{
    {"Estructura interna de la hoja (N):",      {100,  400,  1,   50,  100},  100},
    {"Contenido de clorofila a+b (u.g.cm-2):",  {1500, 9000, 10, 1500, 1500}, 100},
    {"Espesor equivalente de agua (cm):",       {1,    700,  1,  100,  1},    10000},
    {"Contenido de materia seca (g.cm-2):",     {20,   400,  10,  50,  20},   10000},
}};

inline constexpr std::array<ParameterRow, 5> kCanopyRows = {{
    {"Indice de área foliar (LAI):",  {10,    700,  10, 100,  10}, 100},
    {"Ángulo cenital solar:",         {0,     9000, 10, 1000, 0},  100},
    {"Ángulo de observación:",        {-7500, 7500, 10, 1000, 0},  100},
    {"Ángulo acimutal relativo:",     {0,     1800, 10, 100,  0},  10},
    {"Parámetro Hot-Spot:",           {0,     100,  5,  10,   0},  100},
}};

// clang-format on

}  // namespace tulmera::app
