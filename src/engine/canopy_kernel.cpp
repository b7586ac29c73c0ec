// The SAILH layer over its soil (see canopy/sailh.h and canopy/canopy_fluxes.h) for all the
// grid's wavelengths of one canopy, in vectors, compiled for each x86-64 instruction set as
// leaf_kernel.cpp is. The operations and their order are the exact path's, except Highway's
// exponential (1 ulp) for the C library's, divisions by one value done as one reciprocal and
// products, and the reflectance computed as a fraction rather than in percent (1 ulp more each).

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/canopy_kernel.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// clang-format off
#include "hwy/highway.h"
#include "hwy/contrib/math/math-inl.h"
// clang-format on

#include <cmath>

#include "engine/kernels.h"

HWY_BEFORE_NAMESPACE();
namespace tulmera::engine::detail {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// The solution divides by Ds = kL² - m² and Do = KL² - m², which vanish where the layer's
// extinction m meets the sun's or the view's: the removable singularity of the SAIL solution.
// Close to it a difference in the last bits of the leaf values grows up to a millionfold, so
// there the caller recomputes leaf and canopy with the exact path's own functions.
constexpr double kNearSingular = 0.05;

bool CanopyPoints(const CanopyGeometryValues& g, const Padded& leafRefl, const Padded& leafTrans,
                  const Padded& soilReflPct, const Padded& skyRatioPct, bool physicalMix,
                  Padded& reflOut, Padded& nearSingularOut, const CanopyFluxOutputs& flux,
                  bool exact, std::size_t points)
{
    const hn::ScalableTag<double> d;
    using V = hn::Vec<decltype(d)>;
    // x / y: as one reciprocal's product, or, exactly, as the exact path divides.
    const auto over = [exact](V x, V y, V perY) {
        return exact ? hn::Div(x, y) : hn::Mul(x, perY);
    };
    const V zero = hn::Zero(d);
    const V one = hn::Set(d, 1.0);
    const V hundred = hn::Set(d, 100.0);
    const V L = hn::Set(d, g.L);
    const V kL = hn::Set(d, g.kL);
    const V KL = hn::Set(d, g.KL);
    const V tss = hn::Set(d, g.tss);
    const V too = hn::Set(d, g.too);
    const V pi = hn::Set(d, g.pi);
    const V perPi = hn::Set(d, 1.0 / g.pi);
    const V KLPluskL = hn::Set(d, g.KL + g.kL);
    const V perKLPluskL = hn::Set(d, 1.0 / (g.KL + g.kL));
    alignas(64) double lanes[HWY_MAX_BYTES / sizeof(double)];
    const bool fluxes = flux.rsdt != nullptr;
    auto good = hn::Eq(zero, zero);
    for (std::size_t i = 0; i < points; i += hn::Lanes(d)) {
        // SailhLeafOptics, from the percent values the canopy run reads
        const V R = hn::Mul(hundred, hn::Load(d, leafRefl.data() + i));
        const V T = hn::Mul(hundred, hn::Load(d, leafTrans.data() + i));
        const V A = hn::Mul(hn::Add(R, T), hn::Set(d, 0.005));
        const V B = hn::Mul(hn::Sub(R, T), hn::Set(d, 0.005));
        const V rho = hn::Mul(R, hn::Set(d, 0.01));
        // SailhLayerCoefficients
        const V dd = hn::Mul(hn::Mul(hn::Mul(hn::Set(d, g.Sc), B), L), hn::Set(d, 0.01));
        const V a = hn::Add(hn::Mul(L, hn::Sub(one, A)), dd);
        const V sigma = hn::Add(hn::Mul(L, A), dd);
        const V sp = hn::Add(hn::Mul(kL, A), dd);
        const V sm = hn::Sub(hn::Mul(kL, A), dd);
        const V vp = hn::Add(hn::Mul(KL, A), dd);
        const V vm = hn::Sub(hn::Mul(KL, A), dd);
        const V wL = hn::Mul(
            hn::Mul(L, hn::Set(d, 0.01)),
            hn::Add(hn::Mul(rho, hn::Set(d, g.S1)),
                    over(hn::Mul(hn::Mul(hn::Set(d, 2.0), A), hn::Set(d, g.S2)), pi, perPi)));
        // SailhLayerSolution
        const V m = hn::Sqrt(hn::Sub(hn::Mul(a, a), hn::Mul(sigma, sigma)));
        const V h1 = hn::Div(hn::Add(a, m), sigma);
        const V h2 = hn::Div(one, h1);
        V e1, e2;
        if (exact) {  // the C library's e^m and its reciprocal
            hn::Store(m, d, lanes);
            for (std::size_t lane = 0; lane < hn::Lanes(d); ++lane)
                lanes[lane] = std::exp(lanes[lane]);
            e1 = hn::Load(d, lanes);
            e2 = hn::Div(one, e1);
        } else {
            e1 = hn::Exp(d, m);
            e2 = hn::Exp(d, hn::Neg(m));  // 1 / e^m, off the divider
        }
        const V mm = hn::Mul(m, m);
        const V Ds = hn::Sub(hn::Mul(kL, kL), mm);
        const V Do = hn::Sub(hn::Mul(KL, KL), mm);
        const V nearSingular = hn::IfThenElseZero(
            hn::Or(hn::Lt(hn::Abs(Ds), hn::Mul(hn::Set(d, kNearSingular), hn::Mul(kL, kL))),
                   hn::Lt(hn::Abs(Do), hn::Mul(hn::Set(d, kNearSingular), hn::Mul(KL, KL)))),
            one);
        hn::Store(nearSingular, d, nearSingularOut.data() + i);
        // Divisions by the same value share one reciprocal here and below: the divider is
        // the kernel's bottleneck, and away from the singularity the one-ulp difference stays
        // far below what the contract allows (the leaf values already differ more).
        const V perDs = hn::Div(one, Ds);
        const V perDo = hn::Div(one, Do);
        const V cs = over(hn::Sub(hn::Mul(sp, hn::Sub(kL, a)), hn::Mul(sm, sigma)), Ds, perDs);
        const V cs2 =
            over(hn::Sub(hn::Mul(hn::Neg(sm), hn::Add(kL, a)), hn::Mul(sp, sigma)), Ds, perDs);
        const V co = over(hn::Sub(hn::Mul(vp, hn::Sub(KL, a)), hn::Mul(vm, sigma)), Do, perDo);
        const V co2 =
            over(hn::Sub(hn::Mul(hn::Neg(vm), hn::Add(KL, a)), hn::Mul(vp, sigma)), Do, perDo);
        // SailhLayerOptics
        const V rsos = hn::Mul(wL, hn::Set(d, g.hotSpotIntegral));
        const V dns = hn::Sub(hn::Mul(h1, e1), hn::Mul(h2, e2));
        const V perDns = hn::Div(one, dns);
        const V rdd = over(hn::Sub(e1, e2), dns, perDns);
        const V tdd = over(hn::Sub(h1, h2), dns, perDns);
        const V rsd = hn::Sub(hn::Mul(cs, hn::Sub(one, hn::Mul(tss, tdd))), hn::Mul(cs2, rdd));
        const V tsd = hn::Sub(hn::Mul(cs2, hn::Sub(tss, tdd)), hn::Mul(hn::Mul(cs, tss), rdd));
        const V rdo = hn::Sub(hn::Mul(co, hn::Sub(one, hn::Mul(too, tdd))), hn::Mul(co2, rdd));
        const V tdo = hn::Sub(hn::Mul(co2, hn::Sub(too, tdd)), hn::Mul(hn::Mul(co, too), rdd));
        const V z = over(hn::Add(hn::Mul(sm, co), hn::Mul(sp, co2)), KLPluskL, perKLPluskL);
        const V rsod = hn::Sub(
            hn::Sub(hn::Mul(z, hn::Sub(one, hn::Mul(too, tss))), hn::Mul(hn::Mul(co, tsd), too)),
            hn::Mul(co2, rsd));
        const V rso = hn::Add(rsos, rsod);
        // CanopyOverSoil
        const V rs = hn::Mul(hn::Load(d, soilReflPct.data() + i), hn::Set(d, 0.01));
        const V dn = hn::Sub(one, hn::Mul(rs, rdd));
        const V perDn = hn::Div(one, dn);
        const V tsdPlusTss = hn::Add(tsd, tss);
        const V rsot = hn::Add(
            rso,
            hn::Mul(
                rs,
                hn::Add(hn::Set(d, g.tsstoo),
                        over(hn::Add(hn::Mul(tsdPlusTss, tdo),
                                     hn::Mul(too, hn::Add(tsd, hn::Mul(hn::Mul(tss, rs), rdd)))),
                             dn, perDn))));
        const V rdot = hn::Add(rdo, over(hn::Mul(hn::Mul(tdd, rs), hn::Add(too, tdo)), dn, perDn));
        // MixedReflectancePct with SkyMixWeight, then the fraction "VS.dat" holds
        const V sky = hn::Load(d, skyRatioPct.data() + i);
        // The fraction straight away: the exact path's percent and back cost two divisions
        // and differ from it by an ulp or two.
        // Exactly, SkyMixWeight and MixedReflectancePct / 100 as the engine's exact points take
        // them: in percent and back.
        const V w = !physicalMix ? sky
                    : exact      ? hn::Div(sky, hundred)
                                 : hn::Mul(sky, hn::Set(d, 0.01));
        const V onePlusW = hn::Add(one, w);
        const V perOnePlusW = hn::Div(one, onePlusW);
        const V refl =
            exact ? hn::Div(hn::Div(hn::Mul(hundred, hn::Add(hn::Mul(rdot, w), rsot)), onePlusW),
                            hundred)
                  : hn::Mul(hn::Add(hn::Mul(rdot, w), rsot), perOnePlusW);
        hn::Store(refl, d, reflOut.data() + i);

        auto finite = hn::And(hn::And(hn::IsFinite(rdd), hn::IsFinite(tdd)),
                              hn::And(hn::IsFinite(rsd), hn::IsFinite(tsd)));
        finite = hn::And(finite,
                         hn::And(hn::And(hn::IsFinite(rdo), hn::IsFinite(tdo)), hn::IsFinite(rso)));
        finite = hn::And(finite, hn::Le(m, hn::Set(d, kExpLimit)));  // Highway's Exp range
        good = hn::And(good, hn::And(finite, hn::And(hn::Ge(refl, zero), hn::Le(refl, one))));
        if (fluxes) {
            // canopy::CanopyFluxesAt
            const V rsdt = hn::Add(rsd, over(hn::Mul(hn::Mul(tsdPlusTss, rs), tdd), dn, perDn));
            const V rddt = hn::Add(rdd, over(hn::Mul(hn::Mul(tdd, rs), tdd), dn, perDn));
            const V soilAbsorbs = hn::Sub(one, rs);
            const V As = hn::Sub(hn::Sub(one, rsdt),
                                 over(hn::Mul(soilAbsorbs, hn::Add(tss, tsd)), dn, perDn));
            const V Ad = hn::Sub(hn::Sub(one, rddt), over(hn::Mul(soilAbsorbs, tdd), dn, perDn));
            const V absorptance = over(hn::Add(As, hn::Mul(w, Ad)), onePlusW, perOnePlusW);
            const V albedo = over(hn::Add(rsdt, hn::Mul(w, rddt)), onePlusW, perOnePlusW);
            hn::Store(rsot, d, flux.rsot + i);
            hn::Store(rdot, d, flux.rdot + i);
            hn::Store(rsdt, d, flux.rsdt + i);
            hn::Store(rddt, d, flux.rddt + i);
            hn::Store(As, d, flux.As + i);
            hn::Store(Ad, d, flux.Ad + i);
            hn::Store(absorptance, d, flux.absorptance + i);
            hn::Store(albedo, d, flux.albedo + i);
            auto fluxFinite = hn::And(hn::And(hn::IsFinite(rsot), hn::IsFinite(rdot)),
                                      hn::And(hn::IsFinite(rsdt), hn::IsFinite(rddt)));
            fluxFinite = hn::And(fluxFinite,
                                 hn::And(hn::And(hn::IsFinite(As), hn::IsFinite(Ad)),
                                         hn::And(hn::IsFinite(absorptance), hn::IsFinite(albedo))));
            good = hn::And(good, fluxFinite);
        }
    }
    return hn::AllTrue(d, good);
}

}  // namespace HWY_NAMESPACE
}  // namespace tulmera::engine::detail
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tulmera::engine::detail {

HWY_EXPORT(CanopyPoints);

bool CanopyKernel(const CanopyGeometryValues& g, const Padded& leafRefl, const Padded& leafTrans,
                  const Padded& soilReflPct, const Padded& skyRatioPct, bool physicalMix,
                  Padded& refl, Padded& nearSingular, const CanopyFluxOutputs& fluxes)
{
    return HWY_DYNAMIC_DISPATCH(CanopyPoints)(g, leafRefl, leafTrans, soilReflPct, skyRatioPct,
                                              physicalMix, refl, nearSingular, fluxes, false,
                                              kPaddedCount);
}

bool ExactCanopyKernel(const CanopyGeometryValues& g, const Padded& leafRefl,
                       const Padded& leafTrans, const Padded& soilReflPct,
                       const Padded& skyRatioPct, bool physicalMix, std::size_t points,
                       Padded& refl, const CanopyFluxOutputs& fluxes)
{
    Padded unused;
    return HWY_DYNAMIC_DISPATCH(CanopyPoints)(g, leafRefl, leafTrans, soilReflPct, skyRatioPct,
                                              physicalMix, refl, unused, fluxes, true,
                                              (points + 7) / 8 * 8);
}

}  // namespace tulmera::engine::detail
#endif  // HWY_ONCE
