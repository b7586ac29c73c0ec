#pragma once
#include "leaf/leaf_parameters.h"
#include "spectral/leaf_tables.h"
#include "spectral/prospect_dpro_tables.h"

// The PROSPECT plate model (Jacquemoud & Baret 1990, "PROSPECT: a model of leaf optical
// properties spectra", Remote Sensing of Environment 34: 75-91): a leaf is a pile of N
// elementary absorbing plates separated by N - 1 air gaps, N not necessarily whole. The three
// leaf models share the plate (steps 2 to 5 below); they differ in the absorption k (step 1)
// and in the cone of the light falling on the leaf (step 3). PROSPECT-D: Féret et al. 2017,
// Remote Sensing of Environment 193: 204-215; PROSPECT-PRO: Féret et al. 2021, Remote Sensing
// of Environment 252: 112173.
//
// Each function is one step of the model and evaluates its formulas in their published order
// of operations: a second implementation that agrees with these functions to the last bit
// agrees with the written files.
namespace tulmera::leaf {

// Hemispherical reflectance and transmittance of a leaf at one wavelength, fractions 0 .. 1.
struct LeafOptics {
    double refl;   // leafRefl
    double trans;  // leafTrans
};

// Step 1, classic: the total absorption coefficient k of grid point `index` (0 .. 420),
// k = (Cw·kCw + Cab·kCab + Cm·kCm) / N + kBase: the three products summed in that order, the
// sum divided by N, kBase added undivided. Reads N, Cab, Cw, Cm of `p` (not p.model). Needs
// N != 0.
double LeafAbsorption(const LeafParameters& p, const spectral::LeafTables& tables, int index);

// Step 1, PROSPECT-D: k = (Cab·kCab + Car·kCar + Anth·kAnth + Cbrown·kBrown + Cw·kCw +
// Cm·kCm) / N, summed left to right, no base term. Reads those parameters of `p` (not
// p.model). Needs N != 0.
double ProspectDAbsorption(const LeafParameters& p, const spectral::ProspectDproTables& tables,
                           int index);

// Step 1, PROSPECT-PRO: as PROSPECT-D with Cm·kCm replaced by Prot·kProt + CBC·kCBC in place:
// k = (Cab·kCab + Car·kCar + Anth·kAnth + Cbrown·kBrown + Cw·kCw + Prot·kProt + CBC·kCBC) / N.
double ProspectProAbsorption(const LeafParameters& p, const spectral::ProspectDproTables& tables,
                             int index);

// Step 2: the transmission tau through one elementary layer of absorption k: 1 for k <= 0,
// else (1 - k)·e^(-k) + k²·E1(k) with k² as k·k. The second form takes ExpIntegral(k) computed
// beforehand (k > 0) and gives the same value.
double LayerTransmission(double k);
double LayerTransmission(double k, double expIntegralOfK);

// Step 3: the two interface transmissivities of refractive index n: t1 = Tav(90, n) for the
// isotropic light of the interior interfaces, t2 = Tav(topConeDeg, n) for the light falling
// on the leaf (60° for the classic model, 40° for PROSPECT-D and PRO; see TopConeDeg in
// leaf_models.h). They depend on n and the cone alone. The one-argument form is the classic
// model's (60°).
struct Transmissivities {
    double t1;
    double t2;
};
Transmissivities InterfaceTransmissivities(double n);
Transmissivities InterfaceTransmissivities(double n, double topConeDeg);

// Step 4: one elementary layer of refractive index n and transmission tau. r and t are its
// reflectance and transmittance for isotropic light, ra and ta those of the top layer, which
// receives the light of the cone of t2:
//   x1 = 1 - t1, x2 = t1²·tau²·(n² - t1), x3 = t1²·tau·n², x4 = n⁴ - tau²·(n² - t1)²,
//   x5 = t2 / t1, x6 = x5·(t1 - 1) + 1 - t2,
//   r = x1 + x2 / x4, t = x3 / x4, ra = x5·r + x6, ta = x5·t,
// squares as products, n⁴ as n²·n².
struct ElementaryLayer {
    double r, t;    // one interior layer, isotropic light
    double ra, ta;  // the top layer
};
ElementaryLayer ElementaryLayerOptics(double n, double tau, const Transmissivities& tav);

// Step 5: the pile of N layers (Stokes' solution):
//   Δ = (t² - r² - 1)² - 4·r², α = (1 + r² - t² + √Δ) / (2·r), β = (1 + r² - t² - √Δ) / (2·r),
//   va = α, vb = √(β·(α - r) / (α·(β - r))), m = N - 1,
//   s1 = ra·(va·vb^m - va^(-1)·vb^(-m)) + (ta·t - ra·r)·(vb^m - vb^(-m)),
//   s2 = ta·(va - va^(-1)), s3 = va·vb^m - va^(-1)·vb^(-m) - r·(vb^m - vb^(-m)),
//   leafRefl = s1 / s3, leafTrans = s2 / s3,
// with the three real powers through std::pow. No guards: with N = 1 the pile is the top
// layer (ra, ta); a non-absorbing layer (r + t = 1) divides 0 by 0.
LeafOptics PileOptics(double N, const ElementaryLayer& layer);

// Step 5 in its two halves, PileOptics(N, layer) = PileOpticsOfRoots(N, layer,
// PileRootsOf(layer)): va and vb of the layer, then the pile of N layers from them (for a
// caller that has computed the roots already, with these operations).
struct PileRoots {
    double va, vb;
};
PileRoots PileRootsOf(const ElementaryLayer& layer);
LeafOptics PileOpticsOfRoots(double N, const ElementaryLayer& layer, const PileRoots& roots);

// Steps 4 and 5 in turn.
LeafOptics StackOptics(double N, double n, double tau, const Transmissivities& tav);

// Steps 2 to 5 at one grid point: refractive index n, absorption coefficient k, structure N.
// Formulas are evaluated exactly as written, with no guards beyond k <= 0 (tau = 1): a caller
// that needs finite results checks N > 0 and k > 0 first (see leaf_spectrum.h). The
// three-argument form is the classic model's (t2 for 60°).
LeafOptics ProspectLeaf(double N, double n, double k);
LeafOptics ProspectLeaf(double N, double n, double k, const Transmissivities& tav);

// The exponential integral E1(k) for k > 0 by its piecewise Chebyshev-type expansion
// (k <= 4; 4 < k < 85); 0 for k >= 85. Accurate to about 3e-12 relative just above k = 4 and
// 2.5e-13 elsewhere.
double ExpIntegral(double k);

// Average transmissivity of a plane dielectric surface of refractive index n for light
// incident isotropically within the cone of half-angle `thetaDeg` degrees (0 .. 90) around
// the normal (Stern 1964; Allen 1973).
double Tav(double thetaDeg, double n);

}  // namespace tulmera::leaf
