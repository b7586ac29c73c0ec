#pragma once

namespace tulmera::leaf {

// The four parameters of the leaf model.
struct LeafParameters {
    double N;    // leaf structure: number of elementary layers, dimensionless (1 = compact leaf)
    double Cab;  // chlorophyll a+b content, µg/cm²
    double Cw;   // equivalent water thickness, cm
    double Cm;   // dry matter content, g/cm²
};

// The main window's start values.
inline constexpr LeafParameters kStartLeafParameters{1.0, 15.0, 0.0001, 0.002};

}  // namespace tulmera::leaf
