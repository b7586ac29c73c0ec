// The leaf plate model (see leaf/prospect.h) for all the grid's wavelengths of one leaf, in
// vectors of as many wavelengths as the machine's registers hold. Compiled once for each x86-64
// instruction set Highway knows (foreach_target.h); the best one the machine has runs.
//
// Every formula keeps the exact path's operations and their order (separate multiplies and
// adds, no fused ones, no reassociation), so that only the exponential and the logarithm
// differ: Highway's Exp (1 ulp) and Log (about 2 ulp) against the C library's. One place
// needs more: E1(k) = y(k) - ln k for k <= 4 cancels (E1(4) = 0.0038 against ln 4 = 1.39),
// and τ = (1 - k)·e^(-k) + k²·E1 cancels again, so an ulp of ln k grows ~3,000-fold at k = 4,
// and an ulp of e^(-k) ~k²/2-fold above it. There (kCarefulLowK .. kCarefulHighK) the kernel
// takes e^(-k) and ln k from the C library, as the exact path does, and so computes the exact
// path's τ to the bit with its own polynomials; below it the growth is small.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/leaf_kernel.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
// clang-format off
#include "hwy/highway.h"
#include "hwy/contrib/math/math-inl.h"
// clang-format on

#include <cmath>
#include <limits>

#include "engine/kernels.h"

HWY_BEFORE_NAMESPACE();
namespace tulmera::engine::detail {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// The exponential integral's two polynomials (leaf::ExpIntegral, same operations): `near`
// of k <= 4, from which E1 = near - ln k, and `far` of 4 < k < 85, E1 = e^(-k)·far / k.
template <class D, class V>
V NearPolynomial(D d, V k)
{
    const V x = hn::Sub(hn::Mul(k, hn::Set(d, 0.5)), hn::Set(d, 1.0));
    V y = hn::Add(hn::Mul(x, hn::Set(d, -3.60311230482612e-13)), hn::Set(d, 3.46348526554087e-12));
    for (const double c :
         {-2.99627399604129e-11, 2.57747807106989e-10, -2.09330568435488e-09, 1.59501329936988e-08,
          -1.13717900285429e-07, 7.55292885309153e-07, -4.64980751480619e-06, 2.63830365675408e-05,
          -0.000137089870978831, 0.000647686503728103, -0.00276060141343628, 0.010530603468745,
          -0.0357191348753632, 0.107774527938979, -0.296997075145081}) {
        y = hn::Add(hn::Mul(y, x), hn::Set(d, c));
    }
    return hn::Add(hn::Mul(hn::Add(hn::Mul(y, x), hn::Set(d, 0.864664716763387)), x),
                   hn::Set(d, 0.742047691268006));
}

template <class D, class V>
V FarPolynomial(D d, V k)
{
    const V x = hn::Sub(hn::Div(hn::Set(d, 14.5), hn::Add(k, hn::Set(d, 3.25))), hn::Set(d, 1.0));
    V y = hn::Add(hn::Mul(x, hn::Set(d, -1.62806570868461e-12)), hn::Set(d, -8.95400579318284e-13));
    for (const double c : {-4.08352702838152e-12, -1.45132988248537e-11, -8.35086918940758e-11,
                           -2.13638678953766e-10, -1.1030243146707e-09, -3.67128915633455e-09,
                           -1.66980544304105e-08, -6.11774386401295e-08, -2.70306163610272e-07,
                           -1.05565006992891e-06, -4.72090467203711e-06, -1.95076375089956e-05,
                           -9.16450482931221e-05, -0.000405892130452129, -0.00214213055000335}) {
        y = hn::Add(hn::Mul(y, x), hn::Set(d, c));
    }
    y = hn::Sub(hn::Mul(y, x), hn::Set(d, 0.010637487511657));
    y = hn::Sub(hn::Mul(y, x), hn::Set(d, 0.0850699154984572));
    return hn::Add(hn::Mul(y, x), hn::Set(d, 0.923755307807784));
}

// Step 3's absorption k at every padded point.
void Absorption(const LeafModelTables& t, const std::array<double, 7>& coefficient, double N,
                PaddedRange range, Padded& kOut)
{
    const hn::ScalableTag<double> d;
    const auto vN = hn::Set(d, N);
    for (std::size_t i = range.begin; i < range.end; i += hn::Lanes(d)) {
        auto sum = hn::Mul(hn::Set(d, coefficient[0]), hn::Load(d, t.kTerm[0].data() + i));
        for (int term = 1; term < t.terms; ++term) {
            const auto at = static_cast<std::size_t>(term);
            sum = hn::Add(
                sum, hn::Mul(hn::Set(d, coefficient[at]), hn::Load(d, t.kTerm[at].data() + i)));
        }
        auto k = hn::Div(sum, vN);
        if (t.hasBase) k = hn::Add(k, hn::Load(d, t.kBase.data() + i));
        hn::Store(k, d, kOut.data() + i);
    }
}

// The layer transmission τ of k (leaf::LayerTransmission with ExpIntegral), both branches of
// E1 evaluated and the right one kept. At the careful points e^(-k) and ln k are the C
// library's, computed before (w.expMinusK, w.logK), so τ there is the exact path's to the bit;
// elsewhere they are Highway's, skipped when a whole vector is careful.
void Transmission(LeafKernelWork& w, double carefulLowK, double carefulHighK, PaddedRange range)
{
    const hn::ScalableTag<double> d;
    using V = hn::Vec<decltype(d)>;
    const V one = hn::Set(d, 1.0);
    const V zero = hn::Zero(d);
    for (std::size_t i = range.begin; i < range.end; i += hn::Lanes(d)) {
        const V k = hn::Load(d, w.k.data() + i);
        const auto careful =
            hn::And(hn::Gt(k, hn::Set(d, carefulLowK)), hn::Lt(k, hn::Set(d, carefulHighK)));
        V e = hn::Load(d, w.expMinusK.data() + i);
        V logK = hn::Load(d, w.logK.data() + i);
        if (!hn::AllTrue(d, careful)) {
            e = hn::IfThenElse(careful, e, hn::Exp(d, hn::Neg(k)));
            logK = hn::IfThenElse(careful, logK, hn::Log(d, k));
        }
        // Each branch only where a lane needs it: most vectors lie on one side of k = 4.
        const auto near = hn::Le(k, hn::Set(d, 4.0));
        const V nearE1 = hn::AllFalse(d, near) ? zero : hn::Sub(NearPolynomial(d, k), logK);
        const V farE1 = hn::AllTrue(d, near) ? zero : hn::Div(hn::Mul(e, FarPolynomial(d, k)), k);
        const V e1 =
            hn::IfThenElse(near, nearE1, hn::IfThenElse(hn::Lt(k, hn::Set(d, 85.0)), farE1, zero));
        const V tau = hn::Add(hn::Mul(hn::Sub(one, k), e), hn::Mul(hn::Mul(k, k), e1));
        hn::Store(hn::IfThenElse(hn::Le(k, zero), one, tau), d, w.tau.data() + i);
    }
}

// Steps 4 and 5 (leaf::ElementaryLayerOptics, leaf::PileOptics) from τ; true when every point
// is physical.
bool PlateOptics(const LeafModelTables& t, double N, PaddedRange range, LeafKernelWork& w)
{
    const hn::ScalableTag<double> d;
    const auto zero = hn::Zero(d);
    const auto one = hn::Set(d, 1.0);
    const auto two = hn::Set(d, 2.0);
    const auto m = hn::Set(d, N - 1.0);
    const auto limit = hn::Set(d, kExpLimit);
    auto good = hn::Eq(zero, zero);
    for (std::size_t i = range.begin; i < range.end; i += hn::Lanes(d)) {
        const auto tau = hn::Load(d, w.tau.data() + i);
        const auto n2 = hn::Load(d, t.n2.data() + i);
        const auto t1t1 = hn::Load(d, t.t1t1.data() + i);
        const auto x2 =
            hn::Mul(hn::Mul(t1t1, hn::Mul(tau, tau)), hn::Load(d, t.n2MinusT1.data() + i));
        const auto x3 = hn::Mul(hn::Mul(t1t1, tau), n2);
        const auto x4 =
            hn::Sub(hn::Load(d, t.n4.data() + i),
                    hn::Mul(hn::Mul(tau, tau), hn::Load(d, t.n2MinusT1Squared.data() + i)));
        const auto x5 = hn::Load(d, t.x5.data() + i);
        // r and t keep the exact path's divisions: the pile magnifies their last bits.
        const auto r = hn::Add(hn::Load(d, t.x1.data() + i), hn::Div(x2, x4));
        const auto tt = hn::Div(x3, x4);
        const auto ra = hn::Add(hn::Mul(x5, r), hn::Load(d, t.x6.data() + i));
        const auto ta = hn::Mul(x5, tt);

        const auto rr = hn::Mul(r, r);
        const auto ttt = hn::Mul(tt, tt);
        const auto q = hn::Sub(hn::Sub(ttt, rr), one);
        const auto delta = hn::Sub(hn::Mul(q, q), hn::Mul(hn::Set(d, 4.0), rr));
        const auto root = hn::Sqrt(delta);
        const auto common = hn::Sub(hn::Add(one, rr), ttt);
        const auto twoR = hn::Mul(two, r);
        const auto alpha = hn::Div(hn::Add(common, root), twoR);
        const auto beta = hn::Div(hn::Sub(common, root), twoR);
        const auto va = alpha;
        const auto vb =
            hn::Sqrt(hn::Div(hn::Mul(beta, hn::Sub(alpha, r)), hn::Mul(alpha, hn::Sub(beta, r))));
        const auto mLogVb = hn::Mul(m, hn::Log(d, vb));
        hn::Store(r, d, w.r.data() + i);
        hn::Store(tt, d, w.t.data() + i);
        hn::Store(ra, d, w.ra.data() + i);
        hn::Store(ta, d, w.ta.data() + i);
        hn::Store(va, d, w.va.data() + i);
        hn::Store(vb, d, w.vb.data() + i);
        const auto vbm = hn::Exp(d, mLogVb);            // vb^m
        const auto vbmm = hn::Exp(d, hn::Neg(mLogVb));  // vb^(-m)
        const auto vai = hn::Div(one, va);              // va^(-1)
        const auto difference = hn::Sub(vbm, vbmm);
        const auto s1 = hn::Add(hn::Mul(ra, hn::Sub(hn::Mul(va, vbm), hn::Mul(vai, vbmm))),
                                hn::Mul(hn::Sub(hn::Mul(ta, tt), hn::Mul(ra, r)), difference));
        const auto s2 = hn::Mul(ta, hn::Sub(va, vai));
        const auto s3 =
            hn::Sub(hn::Sub(hn::Mul(va, vbm), hn::Mul(vai, vbmm)), hn::Mul(r, difference));
        const auto perS3 = hn::Div(one, s3);  // one division for both: 1 ulp more
        const auto refl = hn::Mul(s1, perS3);
        const auto trans = hn::Mul(s2, perS3);
        hn::Store(refl, d, w.refl.data() + i);
        hn::Store(trans, d, w.trans.data() + i);
        const auto physical = hn::And(hn::And(hn::Ge(refl, zero), hn::Le(refl, one)),
                                      hn::And(hn::Ge(trans, zero), hn::Le(trans, one)));
        // Highway's Exp is defined only above the range where the C library's result goes
        // subnormal or overflows: there the exact path decides.
        const auto k = hn::Load(d, w.k.data() + i);
        // Highway's Log needs a normal positive finite vb (a NaN in gives no NaN out).
        const auto vbNormal =
            hn::And(hn::Ge(vb, hn::Set(d, std::numeric_limits<double>::min())), hn::IsFinite(vb));
        const auto inExpRange =
            hn::And(hn::And(hn::Le(k, limit), vbNormal), hn::Le(hn::Abs(mLogVb), limit));
        good = hn::And(good, hn::And(physical, hn::And(hn::Gt(k, zero), inExpRange)));
    }
    return hn::AllTrue(d, good);
}

const char* TargetName() { return hwy::TargetName(HWY_TARGET); }

}  // namespace HWY_NAMESPACE
}  // namespace tulmera::engine::detail
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tulmera::engine::detail {

HWY_EXPORT(Absorption);
HWY_EXPORT(Transmission);
HWY_EXPORT(PlateOptics);
HWY_EXPORT(TargetName);

bool LeafKernel(const LeafModelTables& tables, const std::array<double, 7>& coefficients, double N,
                LeafKernelWork& w, PaddedRange range)
{
    HWY_DYNAMIC_DISPATCH(Absorption)(tables, coefficients, N, range, w.k);
    for (std::size_t i = range.begin; i < range.end; ++i) {
        const double k = w.k.v[i];
        const bool careful = TransmissionIsExact(k);
        w.expMinusK.v[i] = careful ? std::exp(-k) : 0.0;
        w.logK.v[i] = careful && k <= 4.0 ? std::log(k) : 0.0;
    }
    HWY_DYNAMIC_DISPATCH(Transmission)(w, kCarefulLowK, kCarefulHighK, range);
    return HWY_DYNAMIC_DISPATCH(PlateOptics)(tables, N, range, w);
}

const char* KernelTargetName() { return HWY_DYNAMIC_DISPATCH(TargetName)(); }

}  // namespace tulmera::engine::detail
#endif  // HWY_ONCE
