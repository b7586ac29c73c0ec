#include "canopy/sailh.h"

#include <array>
#include <cmath>
#include <cstring>
#include <string>

#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::canopy {
namespace {

int WavelengthAt(std::size_t index) { return spectral::WavelengthNm(static_cast<int>(index)); }

[[noreturn]] void FailAt(int wavelengthNm, const std::string& problem)
{
    throw Error("Canopy model at " + std::to_string(wavelengthNm) + " nm: " + problem);
}

// The layer at one wavelength is computed in two parts around the exponential e1 = exp(m), so
// that a whole grid can take each part for every wavelength before the next (see
// CanopyReflectancePct). The first part: leaf optics, layer coefficients and the root m.
struct LayerCoefficients {
    double A, d;      // leaf optics (ρ + τ)/2 and the class-weighted (ρ - τ)/2 term, times L
    double a, sigma;  // attenuation and backscatter
    double wL;        // bidirectional scattering
    double m;         // sqrt(a² - σ²)
};

LayerCoefficients Coefficients(const SailhGeometry& g, double leafReflPct, double leafTransPct,
                               int wavelengthNm)
{
    const double L = g.lai;
    // Leaf optics.
    const double A = (leafReflPct + leafTransPct) * 0.005;
    const double B = (leafReflPct - leafTransPct) * 0.005;
    const double rho = leafReflPct * 0.01;
    // Layer coefficients, already multiplied by L; 0.01 turns percent frequencies into shares.
    const double d = g.Sc * B * L * 0.01;
    const double a = L * (1.0 - A) + d;
    const double sigma = L * A + d;
    const double wL = (L * 0.01) * (rho * g.S1 + 2.0 * A * g.S2 / g.pi);
    const double m2 = a * a - sigma * sigma;
    if (m2 < 0.0) FailAt(wavelengthNm, "a² - σ² is negative (" + textio::NumberText(m2) + ").");
    return {A, d, a, sigma, wL, std::sqrt(m2)};
}

// Two grid points side by side (a GCC/Clang vector type): +, -, * and / act on each lane
// exactly as on a double, correctly rounded, so the second part can take two wavelengths per
// instruction with the values of one after the other. A double mixed in is used for both.
using Pair [[gnu::vector_size(2 * sizeof(double))]] = double;

Pair Load(const double* first)
{
    Pair pair;
    std::memcpy(&pair, first, sizeof pair);
    return pair;
}

// The second part for one point (T = double) or two (T = Pair): the layer solution from the
// coefficients and e1 = exp(m), without checks (a division by exactly 0 or a negative root
// shows up as a value that is not finite; see FailLayer).
template <class T>
struct LayerSolution {
    T rdd, tdd, rsd, tsd, rdo, tdo, rso;
};

template <class T>
LayerSolution<T> Solve(const SailhGeometry& g, T A, T d, T a, T sigma, T wL, T m, T e1)
{
    const double kL = g.kL, KL = g.KL, tss = g.tss, too = g.too;
    const T sp = kL * A + d, sm = kL * A - d;  // sun scattering pair
    const T vp = KL * A + d, vm = KL * A - d;  // view scattering pair
    const T h1 = (a + m) / sigma;
    const T h2 = 1.0 / h1;
    const T e2 = 1.0 / e1;
    const T Ds = kL * kL - m * m;
    const T Do = KL * KL - m * m;
    const T cs = (sp * (kL - a) - sm * sigma) / Ds;
    const T cs2 = (-sm * (kL + a) - sp * sigma) / Ds;
    const T co = (vp * (KL - a) - vm * sigma) / Do;
    const T co2 = (-vm * (KL + a) - vp * sigma) / Do;
    const T rsos = wL * g.hotSpotIntegral;
    // Layer reflectances and transmittances.
    LayerSolution<T> o;
    const T dns = h1 * e1 - h2 * e2;
    o.rdd = (e1 - e2) / dns;
    o.tdd = (h1 - h2) / dns;
    o.rsd = cs * (1.0 - tss * o.tdd) - cs2 * o.rdd;
    o.tsd = cs2 * (tss - o.tdd) - cs * tss * o.rdd;
    o.rdo = co * (1.0 - too * o.tdd) - co2 * o.rdd;
    o.tdo = co2 * (too - o.tdd) - co * too * o.rdd;
    const T z = (sm * co + sp * co2) / (KL + kL);
    const T rsod = z * (1.0 - too * tss) - co * o.tsd * too - co2 * o.rsd;
    o.rso = rsos + rsod;
    return o;
}

// The layer over the soil, rs = soil reflectance in percent × 0.01 (tss, too and tsstoo are
// the same at every wavelength).
template <class T>
struct OverSoilResult {
    T rsot, rdot;
};

template <class T>
OverSoilResult<T> OverSoil(double tss, double too, double tsstoo, const LayerSolution<T>& o,
                           T soilReflPct)
{
    const T rs = soilReflPct * 0.01;
    const T dn = 1.0 - rs * o.rdd;
    const T rsot =
        o.rso + rs * (tsstoo + ((o.tsd + tss) * o.tdo + too * (o.tsd + tss * rs * o.rdd)) / dn);
    const T rdot = o.rdo + o.tdd * rs * (too + o.tdo) / dn;
    return {rsot, rdot};
}

// The sky mix with the sky ratio S used as stored (× 100): the kept reflectance in percent.
template <class T>
T SkyMix(const OverSoilResult<T>& r, T skyRatioPct)
{
    const T S = skyRatioPct;
    return 100.0 * (r.rdot * S + r.rsot) / (S + 1.0);
}

template <class T>
T CanopyPct(const SailhGeometry& g, const LayerSolution<T>& o, T soilReflPct, T skyRatioPct)
{
    return SkyMix(OverSoil(g.tss, g.too, g.tsstoo, o, soilReflPct), skyRatioPct);
}

// x - x is 0 for every finite x and NaN otherwise, so one sum tests a whole solution.
template <class T>
T FiniteProbe(const LayerSolution<T>& o)
{
    return (o.rdd - o.rdd) + (o.tdd - o.tdd) + (o.rsd - o.rsd) + (o.tsd - o.tsd) + (o.rdo - o.rdo)
           + (o.tdo - o.tdo) + (o.rso - o.rso);
}

// Says why the layer at one wavelength is not finite: the first divisor that is exactly 0,
// recomputed as the solution computes it, or else that a value overflowed.
[[noreturn]] void FailLayer(const SailhGeometry& g, const LayerCoefficients& c, double e1,
                            int wavelengthNm)
{
    if (c.sigma == 0.0) FailAt(wavelengthNm, "the backscatter σ is 0.");
    const double h1 = (c.a + c.m) / c.sigma;
    if (h1 == 0.0) FailAt(wavelengthNm, "h1 is 0.");
    if (g.kL * g.kL - c.m * c.m == 0.0) {
        FailAt(wavelengthNm, "the sun extinction kL equals m (Ds = 0).");
    }
    if (g.KL * g.KL - c.m * c.m == 0.0) {
        FailAt(wavelengthNm, "the view extinction KL equals m (Do = 0).");
    }
    const double h2 = 1.0 / h1;
    const double e2 = 1.0 / e1;
    if (h1 * e1 - h2 * e2 == 0.0) FailAt(wavelengthNm, "h1·e1 - h2·e2 is 0.");
    if (g.KL + g.kL == 0.0) FailAt(wavelengthNm, "KL + kL is 0.");
    FailAt(wavelengthNm, "a reflectance or transmittance of the layer is not finite.");
}

}  // namespace

CanopyOptics SailhCanopy(const SailhGeometry& g, double leafReflPct, double leafTransPct,
                         int wavelengthNm)
{
    const LayerCoefficients c = Coefficients(g, leafReflPct, leafTransPct, wavelengthNm);
    const double e1 = std::exp(c.m);
    const LayerSolution<double> o = Solve(g, c.A, c.d, c.a, c.sigma, c.wL, c.m, e1);
    if (FiniteProbe(o) != 0.0) FailLayer(g, c, e1, wavelengthNm);
    return {g.tss, g.too, g.tsstoo, o.rdd, o.tdd, o.rsd, o.tsd, o.rdo, o.tdo, o.rso};
}

SoilCoupledReflectance CanopyOverSoil(const CanopyOptics& o, double soilReflPct)
{
    const LayerSolution<double> layer{o.rdd, o.tdd, o.rsd, o.tsd, o.rdo, o.tdo, o.rso};
    const OverSoilResult<double> r = OverSoil(o.tss, o.too, o.tsstoo, layer, soilReflPct);
    return {r.rsot, r.rdot};
}

double SkyMixPct(const SoilCoupledReflectance& r, double skyRatioPct)
{
    return SkyMix(OverSoilResult<double>{r.rsot, r.rdot}, skyRatioPct);
}

spectral::Spectrum CanopyReflectancePct(const SailhGeometry& g,
                                        const spectral::Spectrum& leafReflPct,
                                        const spectral::Spectrum& leafTransPct,
                                        const spectral::Spectrum& soilReflPct,
                                        const spectral::Spectrum& skyRatioPct)
{
    // Each part for the whole grid before the next, the second two wavelengths at a time: the
    // 421 chains of divisions are then independent work the processor overlaps, with the
    // values of one point after the other.
    constexpr std::size_t kCount = spectral::kWavelengthCount;
    struct Columns {  // the coefficients by symbol, so that two neighbours load as one Pair
        std::array<double, kCount> A, d, a, sigma, wL, m, e1;
    } col;
    for (std::size_t i = 0; i < kCount; ++i) {
        const LayerCoefficients c =
            Coefficients(g, leafReflPct[i], leafTransPct[i], WavelengthAt(i));
        col.A[i] = c.A, col.d[i] = c.d, col.a[i] = c.a, col.sigma[i] = c.sigma;
        col.wL[i] = c.wL, col.m[i] = c.m;
    }
    for (std::size_t i = 0; i < kCount; ++i) col.e1[i] = std::exp(col.m[i]);

    const auto solveAt = [&](std::size_t i) {
        return Solve(g, col.A[i], col.d[i], col.a[i], col.sigma[i], col.wL[i], col.m[i], col.e1[i]);
    };
    const auto failAt = [&](std::size_t i) {
        if (FiniteProbe(solveAt(i)) != 0.0) {
            const LayerCoefficients c{col.A[i],     col.d[i],  col.a[i],
                                      col.sigma[i], col.wL[i], col.m[i]};
            FailLayer(g, c, col.e1[i], WavelengthAt(i));
        }
        FailAt(WavelengthAt(i), "the canopy reflectance over the soil is not finite.");
    };
    spectral::Spectrum canopyReflPct{};
    std::size_t i = 0;
    for (; i + 2 <= kCount; i += 2) {
        const LayerSolution<Pair> o =
            Solve(g, Load(&col.A[i]), Load(&col.d[i]), Load(&col.a[i]), Load(&col.sigma[i]),
                  Load(&col.wL[i]), Load(&col.m[i]), Load(&col.e1[i]));
        const Pair pct = CanopyPct(g, o, Load(&soilReflPct[i]), Load(&skyRatioPct[i]));
        const Pair probe = FiniteProbe(o) + (pct - pct);
        if (probe[0] != 0.0) failAt(i);
        if (probe[1] != 0.0) failAt(i + 1);
        std::memcpy(&canopyReflPct[i], &pct, sizeof pct);
    }
    for (; i < kCount; ++i) {  // the last, odd wavelength
        const LayerSolution<double> o = solveAt(i);
        const double pct = CanopyPct(g, o, soilReflPct[i], skyRatioPct[i]);
        if (FiniteProbe(o) + (pct - pct) != 0.0) failAt(i);
        canopyReflPct[i] = pct;
    }
    return canopyReflPct;
}

}  // namespace tulmera::canopy
