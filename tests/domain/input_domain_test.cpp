// Every accepted range against the models themselves: the values at each range's edges run
// for every leaf angle distribution, soil and visibility, and the checks refuse what just
// lies beyond an edge.
#include "domain/input_domain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "canopy/canopy_run.h"
#include "canopy/leaf_angles.h"
#include "leaf/leaf_spectrum.h"
#include "spectral/soil_library.h"
#include "textio/number_text.h"

namespace tulmera::domain {
namespace {

constexpr double kHuge = 1e6;  // stands for "any large value" on an unbounded end

// A value just inside or just beyond an edge: one part in a million of the edge's size.
double Nudge(double edge, double direction)
{
    return edge + direction * std::max(std::abs(edge), 1.0) * 1e-6;
}

// The values the checks must accept for `input`: both ends (or a huge value on an open one)
// and one just inside each open end.
std::vector<double> AcceptedEdges(const InputRange& r)
{
    std::vector<double> values;
    values.push_back(r.lowestOpen ? Nudge(r.lowest, +1) : r.lowest);
    values.push_back(std::isfinite(r.highest) ? (r.highestOpen ? Nudge(r.highest, -1) : r.highest)
                                              : kHuge);
    return values;
}

std::vector<double> RefusedEdges(const InputRange& r)
{
    std::vector<double> values = {std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity()};
    values.push_back(r.lowestOpen ? r.lowest : Nudge(r.lowest, -1));
    if (std::isfinite(r.highest))
        values.push_back(r.highestOpen ? r.highest : Nudge(r.highest, +1));
    return values;
}

// The start leaf of the model that reads `input`: classic for its four parameters, PROSPECT-D
// for the pigments it adds, PROSPECT-PRO (Cm 0, its two constituents instead) for Prot and CBC.
leaf::LeafParameters StartLeafFor(Input input)
{
    leaf::LeafParameters p = leaf::kStartLeafParameters;
    if (input == Input::Car || input == Input::Anth || input == Input::Cbrown) {
        p.model = leaf::LeafModel::ProspectD;
        p.Car = 8.0;
        p.Anth = 1.0;
        p.Cbrown = 0.1;
    } else if (input == Input::Prot || input == Input::CBC) {
        p.model = leaf::LeafModel::ProspectPro;
        p.Cm = 0.0;
        p.Car = 8.0;
        p.Prot = 0.001;
        p.CBC = 0.005;
    }
    return p;
}

leaf::LeafParameters WithLeaf(Input input, double value)
{
    leaf::LeafParameters p = StartLeafFor(input);
    p.*(*LeafField(input)) = value;
    return p;
}

canopy::CanopyInputs WithCanopy(Input input, double value)
{
    canopy::CanopyInputs in = canopy::StartCanopyInputs();
    switch (input) {
        case Input::Lai:
            in.lai = value;
            break;
        case Input::SunZenith:
            in.sunZenith = value;
            break;
        case Input::ViewAngle:
            in.viewAngle = value;
            break;
        case Input::RelAzimuth:
            in.relAzimuth = value;
            break;
        case Input::HotSpot:
            in.hotSpot = value;
            break;
        default:
            break;
    }
    return in;
}

// Runs both models for the inputs, over every distribution, soil and visibility; returns the
// first failure's message, or an empty text when every run succeeded with finite values.
std::string RunModels(const leaf::LeafParameters& p, canopy::CanopyInputs in)
{
    try {
        const leaf::LeafSpectrum leafSpectrum = leaf::ComputeLeafSpectrum(p);
        spectral::Spectrum reflPct{}, transPct{};
        for (std::size_t i = 0; i < reflPct.size(); ++i) {
            reflPct[i] = 100.0 * leafSpectrum.refl[i];
            transPct[i] = 100.0 * leafSpectrum.trans[i];
        }
        for (const std::string_view lidf : canopy::kLeafArchitectureNames) {
            for (const std::string_view soil : spectral::kSoilKeys) {
                for (const canopy::Visibility v :
                     {canopy::Visibility::Km15, canopy::Visibility::Km50}) {
                    in.leafArchitecture = lidf;
                    in.soil = soil;
                    in.visibility = v;
                    const canopy::CanopyState s =
                        canopy::ComputeCanopySpectrum(in, reflPct, transPct, {});
                    for (const double x : s.canopyReflPct) {
                        if (!std::isfinite(x)) return "a canopy value is not finite";
                    }
                }
            }
        }
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

constexpr Input kInputs[] = {Input::N,       Input::Cab,       Input::Cw,        Input::Cm,
                             Input::Lai,     Input::SunZenith, Input::ViewAngle, Input::RelAzimuth,
                             Input::HotSpot, Input::Car,       Input::Anth,      Input::Cbrown,
                             Input::Prot,    Input::CBC};

TEST(InputDomain, AcceptedEdgesRunAndRefusedEdgesAreRefused)
{
    for (const Input input : kInputs) {
        const InputRange range = AcceptedRange(input);
        for (const double value : AcceptedEdges(range)) {
            const leaf::LeafParameters p =
                IsLeafInput(input) ? WithLeaf(input, value) : StartLeafFor(input);
            const canopy::CanopyInputs in =
                IsLeafInput(input) ? canopy::StartCanopyInputs() : WithCanopy(input, value);
            EXPECT_FALSE(CheckLeafDomain(p).has_value()) << OptionName(input) << " " << value;
            EXPECT_FALSE(CheckCanopyDomain(in).has_value()) << OptionName(input) << " " << value;
            EXPECT_EQ(RunModels(p, in), "") << OptionName(input) << " = " << value;
        }
        for (const double value : RefusedEdges(range)) {
            const auto problem = IsLeafInput(input) ? CheckLeafDomain(WithLeaf(input, value))
                                                    : CheckCanopyDomain(WithCanopy(input, value));
            ASSERT_TRUE(problem.has_value()) << OptionName(input) << " " << value;
            EXPECT_EQ(problem->input, input);
        }
    }
}

// The leaf model needs some absorption at every wavelength, and only dry matter absorbs at
// all of them: without it chlorophyll and water leave 755 nm (or 460 nm) absorbing nothing.
TEST(InputDomain, DryMatterIsNeededAndEnoughForAbsorptionEverywhere)
{
    struct Row {
        const char* name;
        leaf::LeafParameters p;
        bool accepted;
    };
    const Row rows[] = {
        {"nothing", {1.0, 0.0, 0.0, 0.0}, false},
        {"chlorophyll and water, no dry matter", {1.0, 15.0, 0.0001, 0.0}, false},
        {"water alone", {1.0, 0.0, 0.0001, 0.0}, false},
        {"dry matter alone", {1.0, 0.0, 0.0, 0.002}, true},
        {"a trace of dry matter", {1.0, 0.0, 0.0, 1e-12}, true},
        {"one layer, much of all", {1.0, 2000.0, 1.0, 10.0}, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(!CheckLeafDomain(row.p).has_value(), row.accepted) << row.name;
        const std::string failure = RunModels(row.p, canopy::StartCanopyInputs());
        if (row.accepted) {
            EXPECT_EQ(failure, "") << row.name;
        } else {
            EXPECT_NE(failure.find("k is 0"), std::string::npos) << row.name << ": " << failure;
        }
    }
}

// PROSPECT-D and PROSPECT-PRO have no base absorption: with no water, only dry matter (D) or the
// carbon-based constituents (PRO) absorb at every wavelength; proteins alone leave the visible
// absorbing nothing. A parameter the model does not read must be 0, whatever its own range.
TEST(InputDomain, TheNewerModelsNeedTheirOwnAbsorberEverywhereAndNoForeignParameter)
{
    using leaf::LeafModel;
    struct Row {
        const char* name;
        leaf::LeafParameters p;
        std::optional<Input> refused;
        bool notInModel;
    };
    const leaf::LeafParameters d{1.5, 40.0, 0.0, 0.002, 8.0,
                                 2.0, 0.0,  0.0, 0.0,   LeafModel::ProspectD};
    const leaf::LeafParameters pro{1.5, 40.0, 0.0,   0.0,   8.0,
                                   2.0, 0.0,  0.001, 0.004, LeafModel::ProspectPro};
    auto with = [](leaf::LeafParameters p, double leaf::LeafParameters::*field, double value) {
        p.*field = value;
        return p;
    };
    const Row rows[] = {
        {"D, dry matter and no water", d, std::nullopt, false},
        {"D without dry matter or water", with(d, &leaf::LeafParameters::Cm, 0.0), Input::Cm,
         false},
        {"PRO, constituents and no water", pro, std::nullopt, false},
        {"PRO, proteins alone", with(pro, &leaf::LeafParameters::CBC, 0.0), Input::CBC, false},
        {"PRO given dry matter", with(pro, &leaf::LeafParameters::Cm, 0.002), Input::Cm, true},
        {"D given proteins", with(d, &leaf::LeafParameters::Prot, 0.001), Input::Prot, true},
        {"classic given carotenoids",
         with(leaf::kStartLeafParameters, &leaf::LeafParameters::Car, 5.0), Input::Car, true},
        {"classic given a NaN anthocyanin",
         with(leaf::kStartLeafParameters, &leaf::LeafParameters::Anth,
              std::numeric_limits<double>::quiet_NaN()),
         Input::Anth, true},
        {"D with brown pigments beyond 1", with(d, &leaf::LeafParameters::Cbrown, 1.5),
         Input::Cbrown, false},
    };
    for (const Row& row : rows) {
        const std::optional<DomainProblem> problem = CheckLeafDomain(row.p);
        ASSERT_EQ(problem.has_value(), row.refused.has_value()) << row.name;
        if (problem) {
            EXPECT_EQ(problem->input, *row.refused) << row.name;
            EXPECT_EQ(problem->notInModel, row.notInModel) << row.name;
        } else {
            EXPECT_EQ(RunModels(row.p, canopy::StartCanopyInputs()), "") << row.name;
        }
    }
    // Where the model itself would fail: no absorption at some wavelength.
    EXPECT_NE(RunModels(with(pro, &leaf::LeafParameters::CBC, 0.0), canopy::StartCanopyInputs())
                  .find("k is 0"),
              std::string::npos);
}

// Some combinations inside every range still fail inside the model (a pile of a little more
// than one layer that absorbs almost everything): the failure names the wavelength and all
// four inputs, so that the user can tell which value to change.
TEST(InputDomain, ACombinationTheModelCannotTakeFailsNamingTheInputs)
{
    const leaf::LeafParameters p{1.01, 1500.0, 0.0001, 0.002};
    ASSERT_FALSE(CheckLeafDomain(p).has_value());
    const std::string failure = RunModels(p, canopy::StartCanopyInputs());
    EXPECT_NE(failure.find("400 nm"), std::string::npos) << failure;
    EXPECT_NE(failure.find("N = 1.01, Cab = 1500, Cw = 0.0001, Cm = 0.002"), std::string::npos)
        << failure;
}

}  // namespace
}  // namespace tulmera::domain
