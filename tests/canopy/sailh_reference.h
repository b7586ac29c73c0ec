#pragma once
#include <cmath>

#include "canopy/sailh.h"

// A straightforward evaluation of the canopy model at one grid point, written from the
// formulas in one pass with everything recomputed per point: the reference the factored
// model (geometry once per run, layer per point) must equal bit for bit.
namespace tulmera::canopy::reference {

struct PointResult {
    CanopyOptics optics;
    double rsot, rdot, canopyReflPct;
};

inline double Acos(double x) { return std::atan(-x / std::sqrt(1 - x * x)) + 2 * std::atan(1.0); }

inline PointResult EvaluatePoint(const SailhInputs& in, double leafReflPct, double leafTransPct,
                                 double soilReflPct, double skyRatioPct)
{
    const double pi = 4 * std::atan(1.0);
    const double rd = pi / 180;
    const double L = in.lai, q = in.hotSpot;
    const double A = (leafReflPct + leafTransPct) * 0.005;
    const double B = (leafReflPct - leafTransPct) * 0.005;
    const double rho = leafReflPct * 0.01;

    const double ts = std::tan(in.sunZenith * rd), to = std::tan(in.viewZenith * rd);
    const double cpsi = std::cos(in.relAzimuth * rd), psir = in.relAzimuth * rd;
    const double dso = std::sqrt(ts * ts + to * to - 2 * ts * to * cpsi);
    double alpha = 1000000;
    if (q > 0) alpha = dso / q;

    double Sc = 0, Ss = 0, So = 0, S1 = 0, S2 = 0;
    for (int j = 0; j < 13; ++j) {
        const double thetal = kLeafAngleClassesDeg[static_cast<std::size_t>(j)];
        const double f = in.lidf[static_cast<std::size_t>(j)];
        const double c = std::cos(rd * thetal);
        const double c2 = c * c, s2 = 1 - c2, sl = std::sqrt(s2);
        Sc = Sc + c2 * f;
        double bs = pi;
        if (thetal + in.sunZenith > 90) bs = Acos(-c / (sl * ts));
        Ss = Ss + ((bs - pi / 2) * c + std::sin(bs) * ts * sl) * f;
        double bo = pi;
        if (thetal + in.viewZenith > 90) bo = Acos(-c / (sl * to));
        So = So + ((bo - pi / 2) * c + std::sin(bo) * to * sl) * f;
        const double d1 = std::abs(bs - bo), d2 = (2 * pi - bs) - bo;
        double b1 = d1, b2 = d2, b3 = psir;
        if (psir <= d1) {
            b1 = psir, b2 = d1, b3 = d2;
        } else if (psir <= d2) {
            b1 = d1, b2 = psir, b3 = d2;
        }
        const double h = 0.5 * s2 * ts * to;
        const double t = c2 + h * cpsi;
        S1 = S1 + t * f;
        if (b2 > 0) {
            double T = 2 * h;
            if (bs == pi || bo == pi) T = c2 / (std::cos(bs) * std::cos(bo));
            S2 = S2 + (-b2 * t + std::sin(b2) * (T + std::cos(b1) * std::cos(b3) * h)) * f;
        }
    }

    const double d = Sc * B * L * 0.01;
    const double a = L * (1 - A) + d, sigma = L * A + d;
    const double kL = Ss * 0.02 * L / pi, KL = So * 0.02 * L / pi;
    const double sp = kL * A + d, sm = kL * A - d, vp = KL * A + d, vm = KL * A - d;
    const double wL = (L * 0.01) * (rho * S1 + 2 * A * S2 / pi);

    const double m = std::sqrt(a * a - sigma * sigma);
    const double h1 = (a + m) / sigma, h2 = 1 / h1;
    const double e1 = std::exp(m), e2 = 1 / e1;
    const double Ds = kL * kL - m * m, Do = KL * KL - m * m;
    const double cs = (sp * (kL - a) - sm * sigma) / Ds;
    const double cs2 = (-sm * (kL + a) - sp * sigma) / Ds;
    const double co = (vp * (KL - a) - vm * sigma) / Do;
    const double co2 = (-vm * (KL + a) - vp * sigma) / Do;
    CanopyOptics o{};
    o.tss = std::exp(-kL);
    o.too = std::exp(-KL);

    double I = 0;
    if (alpha == 0) {
        o.tsstoo = o.tss;
        I = (1 - o.tss) / kL;
    } else {
        const double fhot = std::sqrt(KL * kL);
        double x1 = 0, y1 = 0, f1 = 1;
        const double delta = (1 - std::exp(-alpha)) * 0.05;
        for (int n = 1; n <= 20; ++n) {
            double x2 = 1;
            if (n < 20) x2 = -std::log(1 - n * delta) / alpha;
            const double y2 = -(KL + kL) * x2 + fhot * (1 - std::exp(-alpha * x2)) / alpha;
            const double f2 = std::exp(y2);
            I = I + (f2 - f1) * (x2 - x1) / (y2 - y1);
            x1 = x2, y1 = y2, f1 = f2;
        }
        o.tsstoo = f1;
    }
    const double rsos = wL * I;

    const double dns = h1 * e1 - h2 * e2;
    o.rdd = (e1 - e2) / dns;
    o.tdd = (h1 - h2) / dns;
    o.rsd = cs * (1 - o.tss * o.tdd) - cs2 * o.rdd;
    o.tsd = cs2 * (o.tss - o.tdd) - cs * o.tss * o.rdd;
    o.rdo = co * (1 - o.too * o.tdd) - co2 * o.rdd;
    o.tdo = co2 * (o.too - o.tdd) - co * o.too * o.rdd;
    const double z = (sm * co + sp * co2) / (KL + kL);
    const double rsod = z * (1 - o.too * o.tss) - co * o.tsd * o.too - co2 * o.rsd;
    o.rso = rsos + rsod;

    const double rs = soilReflPct * 0.01;
    const double dn = 1 - rs * o.rdd;
    const double rsot =
        o.rso
        + rs * (o.tsstoo + ((o.tsd + o.tss) * o.tdo + o.too * (o.tsd + o.tss * rs * o.rdd)) / dn);
    const double rdot = o.rdo + o.tdd * rs * (o.too + o.tdo) / dn;
    const double S = skyRatioPct;
    return {o, rsot, rdot, 100 * (rdot * S + rsot) / (S + 1)};
}

}  // namespace tulmera::canopy::reference
