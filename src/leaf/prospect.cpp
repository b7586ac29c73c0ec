#include "leaf/prospect.h"

#include <cmath>

// The model's steps in their order (see prospect.h), then the two functions they use. Every
// formula keeps the published order of operations: whole powers are products written left to
// right, real powers use std::pow, and sums are added in the order written. The written digits
// depend on it.
namespace tulmera::leaf {

double LeafAbsorption(const LeafParameters& p, const spectral::LeafTables& tables, int index)
{
    const auto i = static_cast<std::size_t>(index);
    return (p.Cw * tables.kCw[i] + p.Cab * tables.kCab[i] + p.Cm * tables.kCm[i]) / p.N
           + tables.kBase[i];
}

double ProspectDAbsorption(const LeafParameters& p, const spectral::ProspectDproTables& tables,
                           int index)
{
    const auto i = static_cast<std::size_t>(index);
    return (p.Cab * tables.kCab[i] + p.Car * tables.kCar[i] + p.Anth * tables.kAnth[i]
            + p.Cbrown * tables.kBrown[i] + p.Cw * tables.kCw[i] + p.Cm * tables.kCm[i])
           / p.N;
}

double ProspectProAbsorption(const LeafParameters& p, const spectral::ProspectDproTables& tables,
                             int index)
{
    const auto i = static_cast<std::size_t>(index);
    return (p.Cab * tables.kCab[i] + p.Car * tables.kCar[i] + p.Anth * tables.kAnth[i]
            + p.Cbrown * tables.kBrown[i] + p.Cw * tables.kCw[i] + p.Prot * tables.kProt[i]
            + p.CBC * tables.kCBC[i])
           / p.N;
}

double LayerTransmission(double k) { return k <= 0.0 ? 1.0 : LayerTransmission(k, ExpIntegral(k)); }

double LayerTransmission(double k, double expIntegralOfK)
{
    return (1.0 - k) * std::exp(-k) + k * k * expIntegralOfK;
}

Transmissivities InterfaceTransmissivities(double n) { return InterfaceTransmissivities(n, 60.0); }

Transmissivities InterfaceTransmissivities(double n, double topConeDeg)
{
    return {Tav(90.0, n), Tav(topConeDeg, n)};
}

ElementaryLayer ElementaryLayerOptics(double n, double tau, const Transmissivities& tav)
{
    const double t1 = tav.t1;
    const double t2 = tav.t2;
    const double n2 = n * n;
    const double n4 = n2 * n2;  // n⁴ as the square of n²: the written digits depend on it
    const double x1 = 1.0 - t1;
    const double x2 = t1 * t1 * (tau * tau) * (n2 - t1);
    const double x3 = t1 * t1 * tau * n2;
    const double x4 = n4 - tau * tau * ((n2 - t1) * (n2 - t1));
    const double x5 = t2 / t1;
    const double x6 = x5 * (t1 - 1.0) + 1.0 - t2;
    const double r = x1 + x2 / x4;
    const double t = x3 / x4;
    const double ra = x5 * r + x6;
    const double ta = x5 * t;
    return {r, t, ra, ta};
}

LeafOptics PileOptics(double N, const ElementaryLayer& layer)
{
    return PileOpticsOfRoots(N, layer, PileRootsOf(layer));
}

PileRoots PileRootsOf(const ElementaryLayer& layer)
{
    const auto [r, t, ra, ta] = layer;
    const double delta = (t * t - r * r - 1.0) * (t * t - r * r - 1.0) - 4.0 * (r * r);
    const double alpha = (1.0 + r * r - t * t + std::sqrt(delta)) / (2.0 * r);
    const double beta = (1.0 + r * r - t * t - std::sqrt(delta)) / (2.0 * r);
    const double va = alpha;
    const double vb = std::sqrt(beta * (alpha - r) / (alpha * (beta - r)));
    return {va, vb};
}

LeafOptics PileOpticsOfRoots(double N, const ElementaryLayer& layer, const PileRoots& roots)
{
    const auto [r, t, ra, ta] = layer;
    const auto [va, vb] = roots;
    const double m = N - 1.0;
    const double vbm = std::pow(vb, m);
    const double vbmm = std::pow(vb, -m);
    const double vai = std::pow(va, -1.0);
    const double s1 = ra * (va * vbm - vai * vbmm) + (ta * t - ra * r) * (vbm - vbmm);
    const double s2 = ta * (va - vai);
    const double s3 = va * vbm - vai * vbmm - r * (vbm - vbmm);
    return {s1 / s3, s2 / s3};
}

LeafOptics StackOptics(double N, double n, double tau, const Transmissivities& tav)
{
    return PileOptics(N, ElementaryLayerOptics(n, tau, tav));
}

LeafOptics ProspectLeaf(double N, double n, double k)
{
    return ProspectLeaf(N, n, k, InterfaceTransmissivities(n));
}

LeafOptics ProspectLeaf(double N, double n, double k, const Transmissivities& tav)
{
    return StackOptics(N, n, LayerTransmission(k), tav);
}

double ExpIntegral(double k)
{
    if (k <= 4.0) {
        const double x = k * 0.5 - 1.0;
        double y = x * -3.60311230482612e-13 + 3.46348526554087e-12;
        for (const double c : {-2.99627399604129e-11, 2.57747807106989e-10, -2.09330568435488e-09,
                               1.59501329936988e-08, -1.13717900285429e-07, 7.55292885309153e-07,
                               -4.64980751480619e-06, 2.63830365675408e-05, -0.000137089870978831,
                               0.000647686503728103, -0.00276060141343628, 0.010530603468745,
                               -0.0357191348753632, 0.107774527938979, -0.296997075145081}) {
            y = y * x + c;
        }
        y = (y * x + 0.864664716763387) * x + 0.742047691268006;
        return y - std::log(k);
    }
    if (k < 85.0) {
        const double x = 14.5 / (k + 3.25) - 1.0;
        double y = x * -1.62806570868461e-12 - 8.95400579318284e-13;
        for (const double c :
             {-4.08352702838152e-12, -1.45132988248537e-11, -8.35086918940758e-11,
              -2.13638678953766e-10, -1.1030243146707e-09, -3.67128915633455e-09,
              -1.66980544304105e-08, -6.11774386401295e-08, -2.70306163610272e-07,
              -1.05565006992891e-06, -4.72090467203711e-06, -1.95076375089956e-05,
              -9.16450482931221e-05, -0.000405892130452129, -0.00214213055000335}) {
            y = y * x + c;
        }
        y = ((y * x - 0.010637487511657) * x - 0.0850699154984572) * x + 0.923755307807784;
        return std::exp(-k) * y / k;
    }
    return 0.0;
}

double Tav(double thetaDeg, double n)
{
    constexpr double kPi = 3.14159265358979;  // the model's own rounded value
    const double angle = thetaDeg * (kPi / 180.0);
    const double ds = std::sin(angle);
    const double r2 = n * n;
    const double rp = r2 + 1.0;
    const double rm = r2 - 1.0;
    const double a = (n + 1.0) * (n + 1.0) / 2.0;
    const double kk = -((r2 - 1.0) * (r2 - 1.0)) / 4.0;
    if (thetaDeg == 0.0) return 4.0 * n / ((n + 1.0) * (n + 1.0));

    const double ds2 = ds * ds;
    const double b1 = thetaDeg == 90.0 ? 0.0 : std::sqrt((ds2 - rp / 2.0) * (ds2 - rp / 2.0) + kk);
    const double b2 = ds2 - rp / 2.0;
    const double b = b1 - b2;
    const double ts = (kk * kk / (6.0 * (b * b * b)) + kk / b - b / 2.0)
                      - (kk * kk / (6.0 * (a * a * a)) + kk / a - a / 2.0);
    const double rm2 = rm * rm;
    const double rp3 = rp * rp * rp;
    const double tp1 = -2.0 * r2 * (b - a) / (rp * rp);
    const double tp2 = -2.0 * r2 * rp * std::log(b / a) / rm2;
    const double tp3 = r2 * (1.0 / b - 1.0 / a) / 2.0;
    const double tp4 = 16.0 * (r2 * r2) * (r2 * r2 + 1.0)
                       * std::log((2.0 * rp * b - rm2) / (2.0 * rp * a - rm2)) / (rp3 * rm2);
    const double tp5 =
        16.0 * (r2 * r2 * r2) * (1.0 / (2.0 * rp * b - rm2) - 1.0 / (2.0 * rp * a - rm2)) / rp3;
    const double tp = tp2 + tp1 + tp3 + tp4 + tp5;
    return (ts + tp) / (2.0 * ds2);
}

}  // namespace tulmera::leaf
