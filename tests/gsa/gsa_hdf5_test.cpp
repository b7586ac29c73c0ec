// The HDF5 form of an analysis's indices: the very doubles and the settings read back, the lines
// of a quantity without indices kept empty, and files that are not ours refused by name.
#include <gtest/gtest.h>

#include <fstream>

#include "gsa/gsa_files.h"
#include "lut/hdf5_parts.h"
#include "support/work_dir.h"
#include "textio/error.h"

namespace tulmera::gsa {
namespace {

// The message of the error `read` throws, or "" when it throws none.
template <typename F>
std::string ErrorOf(F read)
{
    try {
        read();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

TEST(IndicesHdf5, ReadsBackTheDoublesAndTheEmptyLines)
{
    testing::ScopedWorkDir dir;
    const std::string settings = "samples=64; seed=3; bootstrap=20; quantity=fluxes; N=1:2.5";
    const std::vector<std::string> quantities = {"fAPAR", "fCover"}, parameters = {"N", "LAI"};
    const std::vector<ParameterIndices> fAPAR = {{{0.1 / 3, -1e-300, 0.7}, {1.0 / 3, 0.2, 0.9}},
                                                 {{2.0 / 3, 0.5, 0.8}, {0.75, 0.6, 1.1}}};
    const std::vector<QuantityIndices> indices = {fAPAR, std::nullopt};
    WriteIndices("i.h5", settings, quantities, parameters, indices);
    const IndicesFile file = ReadIndices("i.h5");
    EXPECT_EQ(file.settings, settings);
    ASSERT_EQ(file.lines.size(), 4u);
    for (std::size_t i = 0; i < 2; ++i) {
        const IndicesLine& line = file.lines[i];
        EXPECT_EQ(line.quantity, "fAPAR");
        EXPECT_EQ(line.parameter, parameters[i]);
        EXPECT_EQ(line.S1, fAPAR[i].S1.value);
        EXPECT_EQ(line.S1_low, fAPAR[i].S1.low);
        EXPECT_EQ(line.ST_high, fAPAR[i].ST.high);
        const IndicesLine& empty = file.lines[2 + i];
        EXPECT_EQ(empty.quantity, "fCover");
        EXPECT_FALSE(empty.S1 || empty.S1_low || empty.S1_high || empty.ST || empty.ST_low
                     || empty.ST_high);
    }
}

TEST(IndicesHdf5, RefusesFilesNotOursAndLeavesNothingWhenItCannotWrite)
{
    testing::ScopedWorkDir dir;
    std::ofstream("text.h5") << "quantity,parameter\n";
    {
        lut::hdf5::SilenceLibrary();
        const lut::hdf5::Handle other(
            H5Fcreate("other.h5", H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT), H5Fclose);
        ASSERT_TRUE(other.ok());
        ASSERT_TRUE(lut::hdf5::WriteTextAttribute(other.get(), "format", "tulmera look-up table"));
    }
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"missing.h5", "The analysis \"missing.h5\" does not exist."},
        {"text.h5", "\"text.h5\" is not a sensitivity analysis of ours or is damaged: HDF5 cannot"},
        {"other.h5",
         "\"other.h5\" is not a sensitivity analysis of ours or is damaged: its "
         "\"format\" attribute is not ours."},
    };
    for (const auto& [name, message] : cases) {
        EXPECT_NE(ErrorOf([&] { ReadIndices(name); }).find(message), std::string::npos) << name;
    }
    const std::string failure = ErrorOf(
        [] { WriteIndices("no/such/dir/i.h5", "samples=2", {"400"}, {"N"}, {std::nullopt}); });
    EXPECT_NE(failure.find("no/such/dir/i.h5"), std::string::npos) << failure;
    EXPECT_NE(ErrorOf([] {
                  WriteIndices("i.txt", "samples=2", {"400"}, {"N"}, {std::nullopt});
              }).find("must be named .csv or .h5"),
              std::string::npos);
    std::filesystem::remove("text.h5");
    std::filesystem::remove("other.h5");
    EXPECT_TRUE(std::filesystem::is_empty("."));
}

}  // namespace
}  // namespace tulmera::gsa
