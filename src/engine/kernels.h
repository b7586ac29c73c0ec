#pragma once
#include <algorithm>
#include <array>
#include <cstddef>

#include "leaf/leaf_parameters.h"
#include "spectral/grid.h"

// The engine's vector kernels (Highway, chosen at run time for the machine's instruction set)
// and the padded per-wavelength tables they read. Internal to the engine.
namespace tulmera::engine::detail {

// The grid padded to a whole number of vectors of every width (8 doubles): the last
// wavelength's values repeat in the three extra lanes, which are computed and never read.
inline constexpr std::size_t kPaddedCount = 424;
static_assert(kPaddedCount % 8 == 0 && kPaddedCount >= spectral::kWavelengthCount);

// |x| up to which e^x is a normal double: beyond it a kernel leaves the set to the exact path.
inline constexpr double kExpLimit = 700.0;

struct alignas(64) Padded {
    std::array<double, kPaddedCount> v;
    double* data() { return v.data(); }
    const double* data() const { return v.data(); }
};

// Padded copy of a grid spectrum.
void Pad(const spectral::Spectrum& from, Padded& to);

// What the plate of a model reads at each wavelength, including what depends on the
// wavelength alone (n, t1, t2 and their combinations in ElementaryLayerOptics, computed with
// its operations: the same values).
struct LeafModelTables {
    int terms = 0;                  // absorption terms, in the order the model sums them
    std::array<Padded, 7> kTerm{};  // their specific absorption coefficients
    bool hasBase = false;           // classic: kBase added after the division by N
    Padded kBase{};
    Padded n2{}, n4{}, t1{}, t1t1{}, x1{}, x5{}, x6{}, n2MinusT1{}, n2MinusT1Squared{};
};
const LeafModelTables& TablesOf(leaf::LeafModel model);

// The parameters of `p` in the order its model's absorption sums them (as kTerm).
std::array<double, 7> TermCoefficients(const leaf::LeafParameters& p);

// The absorptions k between which the leaf kernel's layer transmission τ is the exact path's to
// the bit: it takes e^(-k) and ln k from the C library there (see leaf_kernel.cpp). An ulp of
// ln k or of e^(-k) grows in the cancellations of E1 and τ (to 1e-12 at k = 50), and the pile
// (leaf::PileOptics: β - r cancels when t is small) magnifies τ's last bits up to a thousand-
// fold more; the contract test over random leaves found differences above 1e-12 down to
// k = 0.25 and none below. From 85 on E1 is 0 and τ = (1 - k)·e^(-k) keeps e^(-k)'s ulp.
inline constexpr double kCarefulLowK = 0.25;
inline constexpr double kCarefulHighK = 85.0;
inline bool TransmissionIsExact(double k) { return k > kCarefulLowK && k < kCarefulHighK; }

// One leaf's spectra and what the kernel computes on the way, every padded point.
struct LeafKernelWork {
    Padded k;          // the absorption
    Padded expMinusK;  // e^(-k) from the C library, at the careful points only
    Padded logK;       // ln k from the C library, at the careful points with k <= 4 only
    Padded tau;        // the layer transmission
    // The elementary layer and the pile's roots (leaf::ElementaryLayer, leaf::PileRoots), the
    // exact path's to the bit wherever τ is (the careful points): the exact leaf at a point
    // needs only the pile's powers then.
    Padded r, t, ra, ta, va, vb;
    Padded refl, trans;
};

// Padded points begin .. end, both multiples of 8 (so of every vector width): each point's
// values do not depend on which others are computed with it.
struct PaddedRange {
    std::size_t begin = 0;
    std::size_t end = kPaddedCount;
};

// The whole vectors around grid points first .. last (inclusive).
inline PaddedRange PaddedRangeAround(std::size_t first, std::size_t last)
{
    return {first / 8 * 8, std::min(kPaddedCount, (last / 8 + 1) * 8)};
}

// One leaf into w, at the points of `range` only: k, then the layer transmission (at the points
// with 0.25 < k < 85 from the C library's exponential and logarithm, as the exact path computes
// it: see leaf_kernel.cpp), then reflectance and transmittance. Returns true when every point of
// the range has k > 0, both values
// within 0 .. 1 (a NaN fails) and the arguments of Exp and Log in their ranges: otherwise the
// caller asks the exact path.
bool LeafKernel(const LeafModelTables& tables, const std::array<double, 7>& coefficients, double N,
                LeafKernelWork& w, PaddedRange range = {});

// The wavelength-independent values a canopy kernel reads (from canopy::SailhGeometry).
struct CanopyGeometryValues {
    double pi, L, Sc, S1, S2, kL, KL, tss, too, tsstoo, hotSpotIntegral;
};

// Optional outputs of the canopy kernel (the canopy fluxes' spectra), nullptr when not wanted.
struct CanopyFluxOutputs {
    double* rsot = nullptr;
    double* rdot = nullptr;
    double* rsdt = nullptr;
    double* rddt = nullptr;
    double* As = nullptr;
    double* Ad = nullptr;
    double* absorptance = nullptr;
    double* albedo = nullptr;
};

// One canopy at every padded point from the leaf's fractions (turned into percent as the
// canopy run reads them), the soil and the sky ratio in percent, the sky mix's weight being
// skyRatioPct · weightScale (1 classic, 1/100 physical: as SkyMixWeight's division by 100).
// Writes the canopy reflectance fraction into `refl` and the flux spectra asked for, and 1 into
// `nearSingular` where Ds or Do is within 5 % of kL² or KL² (else 0): at those points the
// caller recomputes with the exact path's functions (see canopy_kernel.cpp). Returns
// true when every grid point's layer values and results are finite and the reflectance lies
// within 0 .. 1: otherwise the caller asks the exact path.
bool CanopyKernel(const CanopyGeometryValues& g, const Padded& leafRefl, const Padded& leafTrans,
                  const Padded& soilReflPct, const Padded& skyRatioPct, bool physicalMix,
                  Padded& refl, Padded& nearSingular, const CanopyFluxOutputs& fluxes);

// The same at points 0 .. points - 1 (rounded up to whole vectors: the caller pads them) with
// the exact path's own operations (canopy::SailhCanopy, CanopyOverSoil, the mixed reflectance
// in percent and back, CanopyFluxesAt: their divisions and the C library's e^m), so that the
// values are the exact path's to the bit, for the points near the singularity gathered
// together. Returns true when they are all finite and the reflectance lies within 0 .. 1.
bool ExactCanopyKernel(const CanopyGeometryValues& g, const Padded& leafRefl,
                       const Padded& leafTrans, const Padded& soilReflPct,
                       const Padded& skyRatioPct, bool physicalMix, std::size_t points,
                       Padded& refl, const CanopyFluxOutputs& fluxes);

// The instruction set the kernels run with.
const char* KernelTargetName();

}  // namespace tulmera::engine::detail
