#pragma once
#include <array>
#include <string_view>

// The scroll bar rows of both windows, without Qt: the main window's leaf and canopy rows and
// the multiple-simulation window's leaf rows read their bars from here, and so do the sweep
// and the batch runner. Scroll values are 16-bit integers; the value shown is the scroll value
// divided by the row's divisor.
namespace tulmera::multi {

// One scroll bar's set-up. The limit bars are vertical with Min the larger number, so that
// their top is their largest value.
struct ScrollSetup {
    int min;
    int max;
    int smallChange;
    int largeChange;
    int value;  // the value when the window opens
};

// One parameter row: its caption, its bar as the window loads it, and the divisor of its
// value box.
struct ParameterRow {
    std::string_view caption;  // UTF-8, letter for letter as the window writes it
    ScrollSetup bar;
    int divisor;
};

// clang-format off
// The leaf rows N, Cab, Cw, Cm of the multiple-simulation window (index = btOption index;
// the typo "Esrtructura" is the product's).
inline constexpr std::array<ParameterRow, 4> kParameterRows{{
    {"Esrtructura interna de la hoja (N):",    {100, 400, 1, 50, 100},       100},
    {"Contenido de clorofila a+b (u.g.cm-2):", {1500, 9000, 10, 1500, 1500}, 100},
    {"Espesor equivalente de agua (cm)",       {1, 700, 1, 100, 1},          10000},
    {"Contenido de materia seca (g.cm-2):",    {20, 400, 10, 50, 20},        10000},
}};

// The rows of the parameters only PROSPECT-D and PROSPECT-PRO read (Car, Anth, Cbrown, Prot,
// CBC), which the multiple-simulation window shows after the classic four for the leaf model
// that reads them. Their bars are the main window's rows for them (Car 0 .. 30 µg/cm², Anth
// 0 .. 40 µg/cm², Cbrown 0 .. 1, Prot 0 .. 0.004 g/cm², CBC 0.0001 .. 0.02 g/cm²).
inline constexpr std::array<ParameterRow, 5> kModelParameterRows{{
    {"Carotenoides (Car, µg/cm²):",                  {0, 300, 1, 10, 40},   10},
    {"Antocianos (Anth, µg/cm²):",                   {0, 400, 1, 10, 0},    10},
    {"Pigmentos pardos (Cbrown, 0 a 1):",              {0, 100, 1, 10, 0},    100},
    {"Proteínas (Prot, g/cm²):",                      {0, 400, 1, 10, 20},   100000},
    {"Otros constituyentes de carbono (CBC, g/cm²):", {1, 200, 1, 10, 18},   10000},
}};

// The same four bars in the main window, with its own captions.
inline constexpr std::array<ParameterRow, 4> kMainLeafRows{{
    {"Estructura interna de la hoja (N):",     kParameterRows[0].bar, kParameterRows[0].divisor},
    {"Contenido de clorofila a+b (u.g.cm-2):", kParameterRows[1].bar, kParameterRows[1].divisor},
    {"Espesor equivalente de agua (cm):",      kParameterRows[2].bar, kParameterRows[2].divisor},
    {"Contenido de materia seca (g.cm-2):",    kParameterRows[3].bar, kParameterRows[3].divisor},
}};

// The canopy rows of the main window.
inline constexpr std::array<ParameterRow, 5> kCanopyRows{{
    {"Indice de área foliar (LAI):",  {10,    700,  10, 100,  10}, 100},
    {"Ángulo cenital solar:",         {0,     9000, 10, 1000, 0},  100},
    {"Ángulo de observación:",        {-7500, 7500, 10, 1000, 0},  100},
    {"Ángulo acimutal relativo:",     {0,     1800, 10, 100,  0},  10},
    {"Parámetro Hot-Spot:",           {0,     100,  5,  10,   0},  100},
}};
// clang-format on

}  // namespace tulmera::multi
