#include "canopy/sailh.h"

#include <cmath>
#include <string>

#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::canopy {
namespace {

[[noreturn]] void FailAt(int wavelengthNm, const std::string& problem)
{
    throw Error("Canopy model at " + std::to_string(wavelengthNm) + " nm: " + problem);
}

bool IsFinite(const CanopyOptics& o)
{
    for (const double value :
         {o.tss, o.too, o.tsstoo, o.rdd, o.tdd, o.rsd, o.tsd, o.rdo, o.tdo, o.rso}) {
        if (!std::isfinite(value)) return false;
    }
    return true;
}

// Says why the layer at one wavelength is not finite: a negative a² - σ², else the first
// divisor that is exactly 0, as the solution computed it, else that a value overflowed.
[[noreturn]] void FailLayer(const SailhGeometry& g, const SailhCoefficients& c,
                            const SailhSolution& s, int wavelengthNm)
{
    const double m2 = c.a * c.a - c.sigma * c.sigma;
    if (m2 < 0.0) FailAt(wavelengthNm, "a² - σ² is negative (" + textio::NumberText(m2) + ").");
    if (c.sigma == 0.0) FailAt(wavelengthNm, "the backscatter σ is 0.");
    if (s.h1 == 0.0) FailAt(wavelengthNm, "h1 is 0.");
    if (s.Ds == 0.0) FailAt(wavelengthNm, "the sun extinction kL equals m (Ds = 0).");
    if (s.Do == 0.0) FailAt(wavelengthNm, "the view extinction KL equals m (Do = 0).");
    if (s.h1 * s.e1 - s.h2 * s.e2 == 0.0) FailAt(wavelengthNm, "h1·e1 - h2·e2 is 0.");
    if (g.KL + g.kL == 0.0) FailAt(wavelengthNm, "KL + kL is 0.");
    FailAt(wavelengthNm, "a reflectance or transmittance of the layer is not finite.");
}

}  // namespace

SailhLeaf SailhLeafOptics(double leafReflPct, double leafTransPct)
{
    const double A = (leafReflPct + leafTransPct) * 0.005;
    const double B = (leafReflPct - leafTransPct) * 0.005;
    const double rho = leafReflPct * 0.01;
    return {A, B, rho};
}

SailhCoefficients SailhLayerCoefficients(const SailhGeometry& g, const SailhLeaf& leaf)
{
    const double L = g.lai;
    const double kL = g.kL;
    const double KL = g.KL;
    const double A = leaf.A;
    // 0.01 turns the percent frequencies of the class sums into shares.
    const double d = g.Sc * leaf.B * L * 0.01;
    const double a = L * (1.0 - A) + d;
    const double sigma = L * A + d;
    const double sp = kL * A + d;
    const double sm = kL * A - d;
    const double vp = KL * A + d;
    const double vm = KL * A - d;
    const double wL = (L * 0.01) * (leaf.rho * g.S1 + 2.0 * A * g.S2 / g.pi);
    return {d, a, sigma, sp, sm, vp, vm, wL};
}

SailhSolution SailhLayerSolution(const SailhGeometry& g, const SailhCoefficients& c)
{
    const double kL = g.kL;
    const double KL = g.KL;
    const double a = c.a;
    const double sigma = c.sigma;
    const double m = std::sqrt(a * a - sigma * sigma);
    const double h1 = (a + m) / sigma;
    const double h2 = 1.0 / h1;
    const double e1 = std::exp(m);
    const double e2 = 1.0 / e1;
    const double Ds = kL * kL - m * m;
    const double Do = KL * KL - m * m;
    const double cs = (c.sp * (kL - a) - c.sm * sigma) / Ds;
    const double cs2 = (-c.sm * (kL + a) - c.sp * sigma) / Ds;
    const double co = (c.vp * (KL - a) - c.vm * sigma) / Do;
    const double co2 = (-c.vm * (KL + a) - c.vp * sigma) / Do;
    return {m, h1, h2, e1, e2, Ds, Do, cs, cs2, co, co2};
}

CanopyOptics SailhLayerOptics(const SailhGeometry& g, const SailhCoefficients& c,
                              const SailhSolution& s)
{
    const double tss = g.tss;
    const double too = g.too;
    const double rsos = c.wL * g.hotSpotIntegral;
    const double dns = s.h1 * s.e1 - s.h2 * s.e2;
    const double rdd = (s.e1 - s.e2) / dns;
    const double tdd = (s.h1 - s.h2) / dns;
    const double rsd = s.cs * (1.0 - tss * tdd) - s.cs2 * rdd;
    const double tsd = s.cs2 * (tss - tdd) - s.cs * tss * rdd;
    const double rdo = s.co * (1.0 - too * tdd) - s.co2 * rdd;
    const double tdo = s.co2 * (too - tdd) - s.co * too * rdd;
    const double z = (c.sm * s.co + c.sp * s.co2) / (g.KL + g.kL);
    const double rsod = z * (1.0 - too * tss) - s.co * tsd * too - s.co2 * rsd;
    const double rso = rsos + rsod;
    return {tss, too, g.tsstoo, rdd, tdd, rsd, tsd, rdo, tdo, rso};
}

CanopyOptics SailhCanopy(const SailhGeometry& g, double leafReflPct, double leafTransPct,
                         int wavelengthNm)
{
    const SailhLeaf leaf = SailhLeafOptics(leafReflPct, leafTransPct);
    const SailhCoefficients c = SailhLayerCoefficients(g, leaf);
    const SailhSolution s = SailhLayerSolution(g, c);
    const CanopyOptics o = SailhLayerOptics(g, c, s);
    if (!IsFinite(o)) FailLayer(g, c, s, wavelengthNm);
    return o;
}

SoilCoupledReflectance CanopyOverSoil(const CanopyOptics& o, double soilReflPct)
{
    const double rs = soilReflPct * 0.01;
    const double dn = 1.0 - rs * o.rdd;
    const double rsot =
        o.rso
        + rs * (o.tsstoo + ((o.tsd + o.tss) * o.tdo + o.too * (o.tsd + o.tss * rs * o.rdd)) / dn);
    const double rdot = o.rdo + o.tdd * rs * (o.too + o.tdo) / dn;
    return {rsot, rdot};
}

double SkyMixWeight(SkyMix mix, double skyRatioPct)
{
    if (mix == SkyMix::Physical) return skyRatioPct / 100.0;  // s, the ratio as a fraction
    return skyRatioPct;                                       // S, the ratio times 100
}

double MixedReflectancePct(const SoilCoupledReflectance& r, double w)
{
    return 100.0 * (r.rdot * w + r.rsot) / (w + 1.0);
}

double SkyMixPct(const SoilCoupledReflectance& r, double skyRatioPct)
{
    return MixedReflectancePct(r, skyRatioPct);
}

spectral::Spectrum CanopyReflectancePct(const SailhGeometry& g,
                                        const spectral::Spectrum& leafReflPct,
                                        const spectral::Spectrum& leafTransPct,
                                        const spectral::Spectrum& soilReflPct,
                                        const spectral::Spectrum& skyRatioPct, SkyMix mix)
{
    spectral::Spectrum canopyReflPct{};
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int wavelengthNm = spectral::WavelengthNm(i);
        const CanopyOptics o = SailhCanopy(g, leafReflPct[at], leafTransPct[at], wavelengthNm);
        const SoilCoupledReflectance r = CanopyOverSoil(o, soilReflPct[at]);
        const double pct = MixedReflectancePct(r, SkyMixWeight(mix, skyRatioPct[at]));
        if (!std::isfinite(pct)) {
            FailAt(wavelengthNm, "the canopy reflectance over the soil is not finite.");
        }
        canopyReflPct[at] = pct;
    }
    return canopyReflPct;
}

}  // namespace tulmera::canopy
