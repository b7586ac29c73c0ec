#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// The leaf inclination distributions of the canopy model: 13 inclination classes and the five
// named distribution types of the main window's leaf-architecture list.
namespace tulmera::canopy {

inline constexpr int kLeafAngleClassCount = 13;

// Centre of each inclination class, degrees (angle between the leaf normal and the vertical,
// which is the leaf's angle from the horizontal): eight classes 10° wide from 0 to 80°, then
// five classes 2° wide from 80 to 90°. No class is centred on 90°.
inline constexpr std::array<double, kLeafAngleClassCount> kLeafAngleClassesDeg = {
    5, 15, 25, 35, 45, 55, 65, 75, 81, 83, 85, 87, 89};

// Share of the leaf area in each class of kLeafAngleClassesDeg, percent. The model weights
// class j with lidf[j] / 100 exactly as stored: rows are never renormalised.
using LeafAngleDistribution = std::array<double, kLeafAngleClassCount>;

// The texts of the leaf-architecture list, in list order.
inline constexpr std::array<std::string_view, 5> kLeafArchitectureNames = {
    "Planofilo", "Erectofilo", "Plagiofilo", "Extremofilo", "Esferico"};

// Their English names, in the same order, for scripts and the Python module.
inline constexpr std::array<std::string_view, 5> kEnglishLeafArchitectureNames = {
    "planophile", "erectophile", "plagiophile", "extremophile", "spherical"};

// The entry of kLeafArchitectureNames that `name` names: the list's text exactly, or the
// English name in any case of ASCII letters ("Spherical"); nothing for any other text.
std::optional<std::size_t> FindLeafArchitecture(std::string_view name);

// The five distributions, in the order of kLeafArchitectureNames, with their two-decimal
// values as tabulated; the rows sum to 100.00, 100.00, 100.01, 99.98 and 100.02.
// clang-format off
inline constexpr std::array<LeafAngleDistribution, 5> kLeafAngleDistributions = {{
    //  5      15     25     35     45     55     65     75    81    83    85    87    89
    {22.00, 20.68, 18.22, 14.89, 11.11,  7.33,  4.01,  1.54, 0.11, 0.07, 0.03, 0.01, 0.00},
    { 0.22,  1.54,  4.01,  7.33, 11.11, 14.89, 18.22, 20.68, 4.34, 4.38, 4.41, 4.43, 4.44},
    { 0.88,  5.67, 13.00, 19.45, 22.00, 19.45, 13.00,  5.67, 0.43, 0.26, 0.14, 0.05, 0.01},
    {21.34, 16.55,  9.22,  2.77,  0.22,  2.77,  9.22, 16.55, 4.02, 4.18, 4.31, 4.39, 4.44},
    { 1.52,  4.51,  7.37, 10.00, 12.33, 14.28, 15.80, 16.84, 3.45, 3.46, 3.48, 3.49, 3.49},
}};
// clang-format on

// Selects a distribution by its list text: when `name` equals one of kLeafArchitectureNames
// exactly (case, blanks, every character), writes that row into `lidf` and returns true;
// otherwise leaves `lidf` as it was (the previous run's distribution stays in effect) and
// returns false.
bool SelectLeafAngles(std::string_view name, LeafAngleDistribution& lidf);

}  // namespace tulmera::canopy
