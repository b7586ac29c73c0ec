#pragma once
#include "leaf/leaf_parameters.h"
#include "spectral/leaf_tables.h"

// The PROSPECT leaf model (Jacquemoud & Baret 1990, "PROSPECT: a model of leaf optical
// properties spectra", Remote Sensing of Environment 34: 75-91): a leaf is a pile of N
// elementary absorbing plates separated by N - 1 air gaps, N not necessarily whole.
namespace tulmera::leaf {

// Hemispherical reflectance and transmittance of a leaf at one wavelength, fractions 0 .. 1.
struct LeafOptics {
    double refl;   // leafRefl
    double trans;  // leafTrans
};

// Total absorption coefficient k of grid point `index` (0 .. 420):
// (Cw·kCw + Cab·kCab + Cm·kCm) / N + kBase, summed in that order. Needs N != 0.
double LeafAbsorption(const LeafParameters& p, const spectral::LeafTables& tables, int index);

// The exponential integral E1(k) for k > 0 by its piecewise Chebyshev-type expansion
// (k <= 4; 4 < k < 85); 0 for k >= 85. Accurate to about 3e-12 relative just above k = 4 and
// 2.5e-13 elsewhere.
double ExpIntegral(double k);

// Average transmissivity of a plane dielectric surface of refractive index n for light
// incident isotropically within the cone of half-angle `thetaDeg` degrees (0 .. 90) around
// the normal (Stern 1964; Allen 1973).
double Tav(double thetaDeg, double n);

// The two interface transmissivities of one refractive index: t1 = Tav(90, n) for the
// isotropic light of the interior interfaces, t2 = Tav(60, n) for the light falling on the
// leaf. They depend on n alone, so a run may compute them once per grid point.
struct Transmissivities {
    double t1;
    double t2;
};
Transmissivities InterfaceTransmissivities(double n);

// The model at one grid point: refractive index n, absorption coefficient k, structure N.
// Formulas are evaluated exactly as written, with no guards beyond k <= 0 (tau = 1): a caller
// that needs finite results checks N > 0 and k > 0 first (see leaf_spectrum.h).
LeafOptics ProspectLeaf(double N, double n, double k);
LeafOptics ProspectLeaf(double N, double n, double k, const Transmissivities& tav);

// The two steps of ProspectLeaf, for a run that takes them grid-wide one after the other:
// the transmission tau through one elementary layer of absorption k (1 for k <= 0), then the
// optics of the pile of N layers of refractive index n. The second form of LayerTransmission
// takes ExpIntegral(k) computed beforehand (k > 0) and gives the same value.
double LayerTransmission(double k);
double LayerTransmission(double k, double expIntegralOfK);
LeafOptics StackOptics(double N, double n, double tau, const Transmissivities& tav);

}  // namespace tulmera::leaf
