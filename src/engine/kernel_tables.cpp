#include <algorithm>

#include "engine/kernels.h"
#include "leaf/leaf_models.h"
#include "spectral/leaf_tables.h"
#include "spectral/prospect_dpro_tables.h"

namespace tulmera::engine::detail {
namespace {

template <typename Values>
void PadValues(const Values& from, Padded& to)
{
    for (std::size_t i = 0; i < kPaddedCount; ++i) {
        to.v[i] = from[std::min<std::size_t>(i, spectral::kWavelengthCount - 1)];
    }
}

// The wavelength-only parts of leaf::ElementaryLayerOptics, with its operations.
void FillPlate(leaf::LeafModel model, LeafModelTables& t)
{
    for (std::size_t i = 0; i < kPaddedCount; ++i) {
        const int at = static_cast<int>(std::min<std::size_t>(i, spectral::kWavelengthCount - 1));
        const double n = leaf::ModelRefractiveIndex(model, at);
        const leaf::Transmissivities& tav = leaf::ModelTransmissivities(model, at);
        const double t1 = tav.t1;
        const double t2 = tav.t2;
        const double n2 = n * n;
        const double x5 = t2 / t1;
        t.n2.v[i] = n2;
        t.n4.v[i] = n2 * n2;
        t.t1.v[i] = t1;
        t.t1t1.v[i] = t1 * t1;
        t.x1.v[i] = 1.0 - t1;
        t.x5.v[i] = x5;
        t.x6.v[i] = x5 * (t1 - 1.0) + 1.0 - t2;
        t.n2MinusT1.v[i] = n2 - t1;
        t.n2MinusT1Squared.v[i] = (n2 - t1) * (n2 - t1);
    }
}

LeafModelTables BuildTables(leaf::LeafModel model)
{
    LeafModelTables t;
    if (model == leaf::LeafModel::Classic) {
        const spectral::LeafTables& c = spectral::LoadLeafTables();
        t.terms = 3;  // Cw, Cab, Cm, then kBase
        PadValues(c.kCw, t.kTerm[0]);
        PadValues(c.kCab, t.kTerm[1]);
        PadValues(c.kCm, t.kTerm[2]);
        t.hasBase = true;
        PadValues(c.kBase, t.kBase);
    } else {
        const spectral::ProspectDproTables& d = spectral::LoadProspectDproTables();
        PadValues(d.kCab, t.kTerm[0]);
        PadValues(d.kCar, t.kTerm[1]);
        PadValues(d.kAnth, t.kTerm[2]);
        PadValues(d.kBrown, t.kTerm[3]);
        PadValues(d.kCw, t.kTerm[4]);
        if (model == leaf::LeafModel::ProspectD) {
            t.terms = 6;
            PadValues(d.kCm, t.kTerm[5]);
        } else {
            t.terms = 7;
            PadValues(d.kProt, t.kTerm[5]);
            PadValues(d.kCBC, t.kTerm[6]);
        }
    }
    FillPlate(model, t);
    return t;
}

}  // namespace

void Pad(const spectral::Spectrum& from, Padded& to) { PadValues(from, to); }

const LeafModelTables& TablesOf(leaf::LeafModel model)
{
    static const LeafModelTables classic = BuildTables(leaf::LeafModel::Classic);
    static const LeafModelTables d = BuildTables(leaf::LeafModel::ProspectD);
    static const LeafModelTables pro = BuildTables(leaf::LeafModel::ProspectPro);
    switch (model) {
        case leaf::LeafModel::Classic:
            return classic;
        case leaf::LeafModel::ProspectD:
            return d;
        case leaf::LeafModel::ProspectPro:
            return pro;
    }
    return classic;
}

std::array<double, 7> TermCoefficients(const leaf::LeafParameters& p)
{
    switch (p.model) {
        case leaf::LeafModel::Classic:
            return {p.Cw, p.Cab, p.Cm, 0, 0, 0, 0};
        case leaf::LeafModel::ProspectD:
            return {p.Cab, p.Car, p.Anth, p.Cbrown, p.Cw, p.Cm, 0};
        case leaf::LeafModel::ProspectPro:
            return {p.Cab, p.Car, p.Anth, p.Cbrown, p.Cw, p.Prot, p.CBC};
    }
    return {};
}

}  // namespace tulmera::engine::detail
