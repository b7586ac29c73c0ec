#include "canopy/sailh_geometry.h"

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

// The sun-view geometry: tangents of the zenith angles, the azimuth and the hot-spot decay.
struct ViewGeometry {
    double ts, to, cpsi, psir, alpha;
};

ViewGeometry Geometry(const SailhInputs& in, double rd)
{
    ViewGeometry v{};
    v.ts = std::tan(in.sunZenith * rd);
    v.to = std::tan(in.viewZenith * rd);
    // An azimuth beyond 180° views the canopy from the other side of the principal plane, in
    // the geometry of 360° - ψ: the scattering integral between sun and view takes ψ in 0 .. π
    // and would give the two sides different values.
    const double psi = in.relAzimuth > 180.0 ? 360.0 - in.relAzimuth : in.relAzimuth;
    v.cpsi = std::cos(psi * rd);
    v.psir = psi * rd;
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

}  // namespace tulmera::canopy
