#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "canopy/canopy_fluxes.h"
#include "canopy/leaf_angles.h"
#include "canopy/sky_ratio.h"
#include "leaf/leaf_parameters.h"
#include "spectral/grid.h"

// The engine: the leaf and canopy models evaluated for many parameter sets at once, for
// everything that runs them in bulk (tables, fits, sweeps, the hemispherical view). It holds
// the parameter sets as columns (structure of arrays), works on all the grid's wavelengths of
// a set with vector arithmetic and needs no text between the leaf and the canopy.
//
// Its contract with the exact path (leaf::ComputeLeafSpectrum, canopy::ComputeCanopySpectrum,
// canopy::ComputeCanopyFluxes): every value within 1e-12 relative or 1e-15 absolute of the
// exact path's; the results of a set do not depend on the batch it came in, the thread count
// or the sharding; a set the exact path refuses gets the exact path's message as its error.
// The exact path stays the one that writes the working files and refreshes the windows.
namespace tulmera::engine {

// How a batch runs: worker threads, cancellation and progress (see parallel::ParallelFor).
struct RunOptions {
    int threads = 1;                                 // at least 1
    const std::atomic<bool>* cancel = nullptr;       // stops the batch; see Cancelled below
    std::function<void(std::size_t done)> progress;  // sets done so far, thread-safe
    // Run on the calling thread while new workers compute (see parallel::LoopOptions).
    std::function<void()> meanwhile;
};

// Leaf parameter sets as columns: set i is {N[i], Cab[i], ...}, each column as long as `model`.
// A field the set's model does not read must be 0 (as in leaf::LeafParameters).
struct LeafBatch {
    std::vector<leaf::LeafModel> model;
    std::vector<double> N, Cab, Cw, Cm, Car, Anth, Cbrown, Prot, CBC;

    std::size_t Count() const { return model.size(); }
    void Reserve(std::size_t count);
    void Append(const leaf::LeafParameters& p);
    leaf::LeafParameters At(std::size_t i) const;
};

// What every set of a canopy batch shares: the leaf angles, the soil (percent) and the sky.
struct CanopyScene {
    canopy::LeafAngleDistribution lidf{};
    spectral::Spectrum soilReflPct{};
    canopy::Visibility visibility = canopy::Visibility::Km15;
    canopy::SkyMix skyMix = canopy::SkyMix::Classic;
};

// The scene of the list texts `leafArchitecture` (canopy::kLeafArchitectureNames) and `soil`
// (spectral::kSoilKeys). Throws tulmera::Error naming a text that is not in its list.
CanopyScene SceneOf(std::string_view leafArchitecture, std::string_view soil,
                    canopy::Visibility visibility, canopy::SkyMix skyMix = canopy::SkyMix::Classic);

// Leaf + canopy parameter sets as columns: the leaf columns and, for set i, the canopy
// numbers of canopy::CanopyInputs (viewAngle signed, the model sees |viewAngle|), degrees.
struct CanopyBatch {
    LeafBatch leaf;
    std::vector<double> lai, sunZenith, viewAngle, relAzimuth, hotSpot;

    std::size_t Count() const { return leaf.Count(); }
    void Reserve(std::size_t count);
    void Append(const leaf::LeafParameters& p, double laiValue, double sunZenithDeg,
                double viewAngleDeg, double relAzimuthDeg, double hotSpotValue);
};

// The allocator of Values: a new element is left uninitialised instead of zeroed.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept
    {
    }
    template <typename U>
    void construct(U* at) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args)
    {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

// The spectra of a batch. The batch functions write every value on their workers, so the
// memory of a large batch (100,000 sets are 337 MB) is first touched there, in parallel,
// rather than zeroed by the calling thread beforehand: that alone took an eighth of such a
// batch's time.
using Values = std::vector<double, UninitialisedAllocator<double>>;

// Spectra of a batch, set after set: set i's values at [i·421, (i + 1)·421), grid order. A
// set whose `error` is not empty holds zeros.
struct LeafSpectraBatch {
    Values refl, trans;              // fractions 0 .. 1
    std::vector<std::string> error;  // per set: empty, or the exact path's message
};
struct CanopySpectraBatch {
    Values leafRefl, leafTrans;      // fractions, only when asked for (else empty)
    Values refl;                     // canopy reflectance, fraction 0 .. 1
    std::vector<std::string> error;  // per set: empty, or the exact path's message
};

// The index of the first set with an error, or nothing.
std::optional<std::size_t> FirstFailure(const std::vector<std::string>& error);

// Thrown by the batch functions when options.cancel became true before the batch ended.
struct Cancelled {};

namespace detail {
struct LeafKernelWork;
}

// One leaf at a time through the leaf kernel, for a caller that evaluates many leaves one
// after the other (the leaf fit). Not thread-safe: one per thread.
class LeafEvaluator {
public:
    LeafEvaluator();
    ~LeafEvaluator();
    LeafEvaluator(const LeafEvaluator&) = delete;
    LeafEvaluator& operator=(const LeafEvaluator&) = delete;

    // The spectra of `p` at every grid point, within 1e-12 relative of
    // leaf::ComputeLeafSpectrum, into Reflectance() and Transmittance(). Does not check `p`
    // (N > 0 is the caller's precondition). False when the kernel leaves the leaf to the exact
    // path (a point with k <= 0, a value outside 0 .. 1 or not finite): the values are then
    // not the leaf's.
    bool Compute(const leaf::LeafParameters& p);
    // The same at grid points first .. last (inclusive) and a few around them only: the values
    // there are bit for bit those of Compute(p); the others are left as they were.
    bool Compute(const leaf::LeafParameters& p, std::size_t first, std::size_t last);
    // Fractions, grid order (index 0 .. 420).
    const double* Reflectance() const;
    const double* Transmittance() const;

private:
    std::unique_ptr<detail::LeafKernelWork> work_;
};

// The leaf spectra of every set of `batch` (leaf::ComputeLeafSpectrum's values). A set the
// leaf model refuses (bad parameters, a fault at a wavelength) gets its message. Throws
// Cancelled when cancelled.
LeafSpectraBatch ComputeLeafSpectra(const LeafBatch& batch, const RunOptions& options = {});

// The canopy reflectance of every set of `batch` over `scene` (canopy::ComputeCanopySpectrum's
// canopyReflPct / 100, from the leaf spectra of the set in percent), and the leaf spectra too
// when `keepLeaf`. A set either model refuses gets the message of the model that refused it.
// Throws Cancelled when cancelled. A set with the leaf parameters of the set before it reuses
// that set's leaf (the same values a leaf of its own would have): callers that vary only the
// canopy of a leaf gain by putting those sets one after the other.
CanopySpectraBatch ComputeCanopySpectra(const CanopyScene& scene, const CanopyBatch& batch,
                                        const RunOptions& options = {}, bool keepLeaf = false);

// The canopy fluxes of every set (canopy::ComputeCanopyFluxes of the set's canopy run, with
// the scene's sky mix). Sets that fail have their message in `error` and zero fluxes.
// They come with the canopy reflectance of each set (as ComputeCanopySpectra's `refl`), which
// the same run computes on the way. The flux spectra are kept only when asked for: the
// callers in bulk read the scalars, and copying eight spectra a set (27 kB) cost them about
// as much as the canopy itself.
struct FluxScalars {  // as canopy::CanopyFluxes has them
    double fAPAR, fCover, albedoPar, albedoNir, albedoShortwave;
};
enum class FluxSpectra { Dropped, Kept };
struct CanopyFluxesBatch {
    std::vector<FluxScalars> scalars;          // one a set
    std::vector<canopy::CanopyFluxes> fluxes;  // one a set with FluxSpectra::Kept, else empty
    Values refl;                               // set i at [i·421, (i + 1)·421), fraction 0 .. 1
    std::vector<std::string> error;
};
CanopyFluxesBatch ComputeCanopyFluxesBatch(const CanopyScene& scene, const CanopyBatch& batch,
                                           const RunOptions& options = {},
                                           FluxSpectra spectra = FluxSpectra::Dropped);

// One view direction of the hemispherical view: the view zenith (0 .. below 90) and the view
// azimuth relative to the sun (0 .. 360), degrees.
struct ViewDirection {
    double viewZenith;
    double relAzimuth;
};

// The canopy reflectance (fraction) at grid point `wavelengthIndex` (0 .. 420) of one leaf
// and canopy (`lai`, `sunZenithDeg`, `hotSpotValue` of set 0 of `oneSet`, whose view columns
// are not read) seen from each of `views`: value i for views[i]. A direction the model refuses
// gets its message in `error` and 0 as value. Throws tulmera::Error when the leaf model refuses
// the leaf. Directions run on options.threads threads.
struct HemisphereView {
    std::vector<double> refl;
    std::vector<std::string> error;
};
HemisphereView ViewHemisphere(const CanopyScene& scene, const CanopyBatch& oneSet,
                              std::span<const ViewDirection> views, int wavelengthIndex,
                              const RunOptions& options = {});

// The directions of a regular hemispherical grid: zenith 0, step, .. below 90 and azimuth 0,
// step, .. below 360 (the 1,296 directions of 2.5° by 10° steps are 36 × 36).
std::vector<ViewDirection> HemisphereGrid(double zenithStepDeg, double azimuthStepDeg);

// The instruction set the vector arithmetic runs with on this machine ("AVX2", "SSE4", ...).
// The same instruction set gives the same digits on any machine; another one may differ in
// the last bits (fused multiply-adds in the exponential and logarithm), always within the
// contract.
std::string_view InstructionSet();

}  // namespace tulmera::engine
