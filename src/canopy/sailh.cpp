#include "canopy/sailh.h"

#include <array>
#include <cmath>
#include <string>

#include "textio/error.h"
#include "textio/number_text.h"

namespace tulmera::canopy {
namespace {

// arccos as the model computes it, through the arctangent: atan(-x / sqrt(1 - x²)) + 2·atan(1).
double Arccos(double x) { return std::atan(-x / std::sqrt(1.0 - x * x)) + 2.0 * std::atan(1.0); }

void CheckFinite(double value, const char* name)
{
    if (!std::isfinite(value)) {
        throw Error(std::string("The canopy parameter ") + name + " is not a finite number.");
    }
}

// A fault of the wavelength-independent part, which every grid point would meet.
[[noreturn]] void FailGeometry(const std::string& problem)
{
    throw Error("Canopy model at every wavelength (400 to 2500 nm): " + problem);
}

int WavelengthAt(std::size_t index) { return spectral::WavelengthNm(static_cast<int>(index)); }

[[noreturn]] void FailAt(int wavelengthNm, const std::string& problem)
{
    throw Error("Canopy model at " + std::to_string(wavelengthNm) + " nm: " + problem);
}

// The sun-view geometry: tangents of the zenith angles, the azimuth and the hot-spot decay.
struct ViewGeometry {
    double ts, to, cpsi, psir, alpha;
};

ViewGeometry Geometry(const SailhInputs& in, double rd)
{
    ViewGeometry v{};
    v.ts = std::tan(in.sunZenith * rd);
    v.to = std::tan(in.viewZenith * rd);
    v.cpsi = std::cos(in.relAzimuth * rd);
    v.psir = in.relAzimuth * rd;
    const double dso2 = v.ts * v.ts + v.to * v.to - 2.0 * v.ts * v.to * v.cpsi;
    const double dso = std::sqrt(dso2);
    v.alpha = 1000000.0;
    if (in.hotSpot > 0.0) {
        if (dso2 < 0.0) {
            FailGeometry("the squared sun-view distance dso² is negative ("
                         + textio::NumberText(dso2) + ").");
        }
        v.alpha = dso / in.hotSpot;
    }
    return v;
}

struct ClassSums {
    double Sc, Ss, So, S1, S2;
};

// The 13-class sums of the extinction and bidirectional scattering terms, each class weighted
// with its frequency in percent.
ClassSums LeafAngleSums(const SailhInputs& in, const ViewGeometry& v, double pi, double rd)
{
    ClassSums s{0.0, 0.0, 0.0, 0.0, 0.0};
    for (std::size_t j = 0; j < kLeafAngleClassesDeg.size(); ++j) {
        const double thetal = kLeafAngleClassesDeg[j];
        const double f = in.lidf[j];
        const double c = std::cos(rd * thetal);
        const double c2 = c * c;
        const double s2 = 1.0 - c2;
        const double sl = std::sqrt(s2);
        s.Sc += c2 * f;

        double betas = pi;
        if (thetal + in.sunZenith > 90.0) betas = Arccos(-c / (sl * v.ts));
        s.Ss += ((betas - pi / 2.0) * c + std::sin(betas) * v.ts * sl) * f;
        double betao = pi;
        if (thetal + in.viewZenith > 90.0) betao = Arccos(-c / (sl * v.to));
        s.So += ((betao - pi / 2.0) * c + std::sin(betao) * v.to * sl) * f;
        if (!std::isfinite(betas) || !std::isfinite(betao)) {
            FailGeometry("the arccos argument of the leaf angle class " + textio::NumberText(thetal)
                         + "° is not within -1 .. 1.");
        }

        const double delta1 = std::abs(betas - betao);
        const double delta2 = (2.0 * pi - betas) - betao;
        double b1, b2, b3;  // the three angles in rising order
        if (v.psir <= delta1) {
            b1 = v.psir, b2 = delta1, b3 = delta2;
        } else if (v.psir <= delta2) {
            b1 = delta1, b2 = v.psir, b3 = delta2;
        } else {
            b1 = delta1, b2 = delta2, b3 = v.psir;
        }

        const double h = 0.5 * s2 * v.ts * v.to;
        const double t = c2 + h * v.cpsi;
        s.S1 += t * f;
        if (b2 > 0.0) {
            // An exact comparison: β is the stored π exactly when the class took no arccos.
            double T = 2.0 * h;
            if (betas == pi || betao == pi) T = c2 / (std::cos(betas) * std::cos(betao));
            const double g = -b2 * t + std::sin(b2) * (T + std::cos(b1) * std::cos(b3) * h);
            s.S2 += g * f;
        }
    }
    return s;
}

struct HotSpot {
    double tsstoo, integral;
};

// The joint gap probability and the single-scattering depth integral I, integrated over the
// relative depth x in 20 steps whose ends divide the slope of the joint probability equally.
HotSpot HotSpotIntegral(double kL, double KL, double tss, double alpha)
{
    if (alpha == 0.0) {  // the view direction is the sun direction
        if (kL == 0.0) FailGeometry("the sun extinction kL is 0 in the hot spot.");
        return {tss, (1.0 - tss) / kL};
    }
    const double fhot = std::sqrt(KL * kL);
    double x1 = 0.0, y1 = 0.0, f1 = 1.0;
    const double delta = (1.0 - std::exp(-alpha)) * 0.05;
    double integral = 0.0;
    for (int n = 1; n <= 20; ++n) {
        const double x2 = n < 20 ? -std::log(1.0 - n * delta) / alpha : 1.0;
        const double y2 = -(KL + kL) * x2 + fhot * (1.0 - std::exp(-alpha * x2)) / alpha;
        const double f2 = std::exp(y2);
        if (y2 == y1) {
            FailGeometry("the hot-spot integration divides by zero (y2 = y1 at step "
                         + std::to_string(n) + ").");
        }
        integral += (f2 - f1) * (x2 - x1) / (y2 - y1);
        x1 = x2;
        y1 = y2;
        f1 = f2;
    }
    return {f1, integral};
}

}  // namespace

void CheckSailhInputs(const SailhInputs& in)
{
    CheckFinite(in.lai, "LAI");
    CheckFinite(in.sunZenith, "sun zenith angle");
    CheckFinite(in.viewZenith, "view zenith angle");
    CheckFinite(in.relAzimuth, "relative azimuth");
    CheckFinite(in.hotSpot, "hot-spot parameter");
    for (const double f : in.lidf) CheckFinite(f, "leaf angle frequency");
    if (!(in.lai > 0.0)) {
        throw Error("The leaf area index (LAI) must be greater than 0, not "
                    + textio::NumberText(in.lai) + ".");
    }
}

SailhGeometry PrepareSailh(const SailhInputs& in)
{
    CheckSailhInputs(in);
    SailhGeometry g{};
    g.pi = 4.0 * std::atan(1.0);
    const double rd = g.pi / 180.0;
    const double L = in.lai;
    g.lai = L;
    const ViewGeometry v = Geometry(in, rd);
    const ClassSums s = LeafAngleSums(in, v, g.pi, rd);
    g.Sc = s.Sc;
    g.Ss = s.Ss;
    g.So = s.So;
    g.S1 = s.S1;
    g.S2 = s.S2;
    g.kL = s.Ss * 0.02 * L / g.pi;
    g.KL = s.So * 0.02 * L / g.pi;
    g.tss = std::exp(-g.kL);
    g.too = std::exp(-g.KL);
    const HotSpot hot = HotSpotIntegral(g.kL, g.KL, g.tss, v.alpha);
    g.tsstoo = hot.tsstoo;
    g.hotSpotIntegral = hot.integral;
    for (const double value :
         {g.Sc, g.Ss, g.So, g.S1, g.S2, g.kL, g.KL, g.tss, g.too, g.tsstoo, g.hotSpotIntegral}) {
        if (!std::isfinite(value)) {
            FailGeometry("an extinction, a class sum or the hot-spot integral is not finite.");
        }
    }
    return g;
}

namespace {

// The layer at one wavelength is computed in two parts around the exponential e1 = exp(m), so
// that a whole grid can take each part for every wavelength before the next (see
// CanopyReflectancePct); both parts are forced inline so that no call per point separates
// the grid's independent chains. The first part: leaf optics, layer coefficients, the root m.
struct LayerCoefficients {
    double A, d;      // leaf optics (ρ + τ)/2 and the class-weighted (ρ - τ)/2 term, times L
    double a, sigma;  // attenuation and backscatter
    double wL;        // bidirectional scattering
    double m;         // sqrt(a² - σ²)
};

[[gnu::always_inline]] inline LayerCoefficients Coefficients(const SailhGeometry& g,
                                                             double leafReflPct,
                                                             double leafTransPct, int wavelengthNm)
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

// The second part: the layer solution from the coefficients and e1 = exp(m).
[[gnu::always_inline]] inline CanopyOptics Solution(const SailhGeometry& g,
                                                    const LayerCoefficients& c, double e1,
                                                    int wavelengthNm)
{
    const double kL = g.kL, KL = g.KL;
    const double A = c.A, d = c.d, a = c.a, sigma = c.sigma, m = c.m;
    const double sp = kL * A + d, sm = kL * A - d;  // sun scattering pair
    const double vp = KL * A + d, vm = KL * A - d;  // view scattering pair
    if (sigma == 0.0) FailAt(wavelengthNm, "the backscatter σ is 0.");
    const double h1 = (a + m) / sigma;
    if (h1 == 0.0) FailAt(wavelengthNm, "h1 is 0.");
    const double h2 = 1.0 / h1;
    const double e2 = 1.0 / e1;
    const double Ds = kL * kL - m * m;
    const double Do = KL * KL - m * m;
    if (Ds == 0.0) FailAt(wavelengthNm, "the sun extinction kL equals m (Ds = 0).");
    if (Do == 0.0) FailAt(wavelengthNm, "the view extinction KL equals m (Do = 0).");
    const double cs = (sp * (kL - a) - sm * sigma) / Ds;
    const double cs2 = (-sm * (kL + a) - sp * sigma) / Ds;
    const double co = (vp * (KL - a) - vm * sigma) / Do;
    const double co2 = (-vm * (KL + a) - vp * sigma) / Do;
    CanopyOptics o{};
    o.tss = g.tss;
    o.too = g.too;
    o.tsstoo = g.tsstoo;
    const double rsos = c.wL * g.hotSpotIntegral;
    // Layer reflectances and transmittances.
    const double dns = h1 * e1 - h2 * e2;
    if (dns == 0.0) FailAt(wavelengthNm, "h1·e1 - h2·e2 is 0.");
    if (KL + kL == 0.0) FailAt(wavelengthNm, "KL + kL is 0.");
    o.rdd = (e1 - e2) / dns;
    o.tdd = (h1 - h2) / dns;
    o.rsd = cs * (1.0 - o.tss * o.tdd) - cs2 * o.rdd;
    o.tsd = cs2 * (o.tss - o.tdd) - cs * o.tss * o.rdd;
    o.rdo = co * (1.0 - o.too * o.tdd) - co2 * o.rdd;
    o.tdo = co2 * (o.too - o.tdd) - co * o.too * o.rdd;
    const double z = (sm * co + sp * co2) / (KL + kL);
    const double rsod = z * (1.0 - o.too * o.tss) - co * o.tsd * o.too - co2 * o.rsd;
    o.rso = rsos + rsod;
    if (!(std::isfinite(o.rdd) && std::isfinite(o.tdd) && std::isfinite(o.rsd)
          && std::isfinite(o.tsd) && std::isfinite(o.rdo) && std::isfinite(o.tdo)
          && std::isfinite(o.rso))) {
        FailAt(wavelengthNm, "a reflectance or transmittance of the layer is not finite.");
    }
    return o;
}

inline SoilCoupledReflectance OverSoil(const CanopyOptics& o, double soilReflPct)
{
    const double rs = soilReflPct * 0.01;
    const double dn = 1.0 - rs * o.rdd;
    const double rsot =
        o.rso
        + rs * (o.tsstoo + ((o.tsd + o.tss) * o.tdo + o.too * (o.tsd + o.tss * rs * o.rdd)) / dn);
    const double rdot = o.rdo + o.tdd * rs * (o.too + o.tdo) / dn;
    return {rsot, rdot};
}

inline double SkyMix(const SoilCoupledReflectance& r, double skyRatioPct)
{
    const double S = skyRatioPct;
    return 100.0 * (r.rdot * S + r.rsot) / (S + 1.0);
}

}  // namespace

CanopyOptics SailhCanopy(const SailhGeometry& g, double leafReflPct, double leafTransPct,
                         int wavelengthNm)
{
    const LayerCoefficients c = Coefficients(g, leafReflPct, leafTransPct, wavelengthNm);
    return Solution(g, c, std::exp(c.m), wavelengthNm);
}

SoilCoupledReflectance CanopyOverSoil(const CanopyOptics& o, double soilReflPct)
{
    return OverSoil(o, soilReflPct);
}

double SkyMixPct(const SoilCoupledReflectance& r, double skyRatioPct)
{
    return SkyMix(r, skyRatioPct);
}

spectral::Spectrum CanopyReflectancePct(const SailhGeometry& g,
                                        const spectral::Spectrum& leafReflPct,
                                        const spectral::Spectrum& leafTransPct,
                                        const spectral::Spectrum& soilReflPct,
                                        const spectral::Spectrum& skyRatioPct)
{
    // Each part for the whole grid before the next: the 421 chains of divisions are then
    // independent work the processor overlaps, about twice as fast as one point after the
    // other, with the same values.
    constexpr std::size_t kCount = spectral::kWavelengthCount;
    std::array<LayerCoefficients, kCount> coefficients;
    for (std::size_t i = 0; i < kCount; ++i) {
        coefficients[i] = Coefficients(g, leafReflPct[i], leafTransPct[i], WavelengthAt(i));
    }
    std::array<double, kCount> e1;
    for (std::size_t i = 0; i < kCount; ++i) e1[i] = std::exp(coefficients[i].m);
    spectral::Spectrum canopyReflPct{};
    for (std::size_t i = 0; i < kCount; ++i) {
        const CanopyOptics optics = Solution(g, coefficients[i], e1[i], WavelengthAt(i));
        const double pct = SkyMix(OverSoil(optics, soilReflPct[i]), skyRatioPct[i]);
        if (!std::isfinite(pct)) {
            FailAt(WavelengthAt(i), "the canopy reflectance over the soil is not finite.");
        }
        canopyReflPct[i] = pct;
    }
    return canopyReflPct;
}

}  // namespace tulmera::canopy
