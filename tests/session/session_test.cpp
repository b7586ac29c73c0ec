#include "session/session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spectral/soil_library.h"
#include "textio/error.h"

namespace tulmera::session {
namespace {

// A session unlike the start in every field, so that a field the file forgets shows.
Session EveryFieldChanged()
{
    Session s;
    s.leaf = {2.5, 40, 0.012, 0.0035, 9, 1.5, 0.2, 0, 0, leaf::LeafModel::ProspectD};
    s.canopy = {3.25,
                35,
                -20,
                90,
                0.5,
                "Erectofilo",
                "",
                canopy::Visibility::Km50,
                canopy::SkyMix::Physical};
    s.canopy.soil = std::string(spectral::kSoilKeys[2]);
    s.background = 4;
    s.measured = {{"/data/hoja.csv", 1, MeasuredKind::LeafReflectance},
                  {"dosel.csv", 0, MeasuredKind::CanopyReflectance}};
    s.excludeWaterBands = false;
    s.subdomains = true;
    plot::KeptSpectra kept;
    kept.label = "Cab = 40, LAI = 3.25";
    for (std::size_t i = 0; i < kept.leafReflPct.size(); ++i) {
        kept.leafReflPct[i] = 0.1 * static_cast<double>(i) + 1.0 / 3.0;  // digits to keep
        kept.leafTransPct[i] = 50.0 - 0.01 * static_cast<double>(i);
        kept.canopyReflPct[i] = 1e-7 * static_cast<double>(i);
    }
    s.kept = {kept, kept};
    s.kept[1].label = "segunda";
    s.windows = {true, false, true, true};
    return s;
}

TEST(Session, EveryFieldReadsBackExactly)
{
    const Session saved = EveryFieldChanged();
    ASSERT_NE(saved, Session{});
    const std::string text = SessionText(saved);
    EXPECT_NE(text.find("\"format\": \"tulmera-session\""), std::string::npos);
    EXPECT_NE(text.find("\"version\": 1"), std::string::npos);
    EXPECT_EQ(ReadSession(text, "s.tulmera"), saved);
}

TEST(Session, TheStartSessionReadsBackAndSectionsMayBeMissing)
{
    EXPECT_EQ(ReadSession(SessionText(Session{}), "s.tulmera"), Session{});
    const std::string minimal = R"({"format": "tulmera-session", "version": 1,
        "leaf": {"model": "classic", "N": 1, "Cab": 15, "Cw": 0.0001, "Cm": 0.002},
        "canopy": {"lai": 0.1, "sun_zenith_deg": 0, "view_angle_deg": 0,
                   "relative_azimuth_deg": 0, "hot_spot": 0, "leaf_architecture": "Planofilo",
                   "soil": "S1:61% arena 24% limo 15% arcilla", "visibility_km": 15},
        "a_later_member": {"ignored": true}})";
    EXPECT_EQ(ReadSession(minimal, "s.tulmera"), Session{});
}

// Each damage is refused with a reason that says where; the message names the file.
TEST(Session, DamagedOrNewerFilesAreRefusedNamingTheReason)
{
    const std::string good = SessionText(EveryFieldChanged());
    const auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const struct {
        std::string text;
        std::string reason;
    } cases[] = {
        {good.substr(0, good.size() / 2), "not valid JSON"},
        {"", "not valid JSON"},
        {"[1, 2]", "not a Tulmera session"},
        {replaced("tulmera-session", "other-program"), "not a Tulmera session"},
        {replaced("\"version\": 1", "\"version\": 2"), "newer Tulmera (session version 2"},
        {replaced("\"version\": 1", "\"version\": \"1\""), "\"version\" is not a whole number"},
        {replaced("\"N\": 2.5", "\"N\": \"2.5\""), "\"leaf.N\" is not a number"},
        {replaced("\"N\": 2.5", "\"N\": 1e999"), "number overflow"},
        {replaced("\"N\": 2.5,", ""), "\"leaf.N\" is missing"},
        {replaced("\"N\": 2.5", "\"N\": 0.5"), "\"leaf.N\" is 0.5, outside"},
        {replaced("\"lai\": 3.25", "\"lai\": -1"), "\"canopy.lai\" is -1, outside"},
        {replaced("\"model\": \"prospect-d\"", "\"model\": \"prospect-x\""), "leaf.model"},
        {replaced("Erectofilo", "Vertical"), "\"canopy.leaf_architecture\" is \"Vertical\""},
        {replaced("\"visibility_km\": 50", "\"visibility_km\": 20"), "neither 15 nor 50"},
        {replaced("\"background\": 4", "\"background\": 11"), "\"charts.background\" is 11"},
        {replaced("\"kind\": \"canopy_reflectance\"", "\"kind\": \"leaf_reflectance\""),
         "given twice"},
        {replaced("\"label\": \"segunda\"", "\"label\": \"a\\nb\""), "line break"},
        {replaced("\"canopy_sweep\": true", "\"canopy_sweep\": 1"), "not true or false"},
    };
    for (const auto& c : cases) {
        try {
            ReadSession(c.text, "lesson.tulmera");
            ADD_FAILURE() << "accepted: " << c.reason;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("\"lesson.tulmera\""), std::string::npos);
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
}

TEST(Session, ARecordThatCouldNotBeReadBackIsNotWritten)
{
    Session kept = EveryFieldChanged();
    kept.kept[0].leafReflPct[3] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(SessionText(kept), Error);
    Session soil = EveryFieldChanged();
    soil.canopy.soil = "S9";
    EXPECT_THROW(SessionText(soil), Error);
    Session many = EveryFieldChanged();
    many.kept.resize(kMaxKeptSpectra + 1, many.kept[0]);
    EXPECT_THROW(SessionText(many), Error);
}

}  // namespace
}  // namespace tulmera::session
