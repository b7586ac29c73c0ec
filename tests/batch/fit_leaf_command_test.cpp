// tulmera-batch fit-leaf run as a program: its CSV, its exit codes, and the example files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/run_command.h"
#include "support/work_dir.h"
#include "textio/number_text.h"

namespace tulmera::batch {
namespace {

const std::string kExamples = TULMERA_EXAMPLES_DIR;

using testing::Outcome;

Outcome FitLeaf(const std::string& arguments)
{
    return testing::RunBatchProgram("fit-leaf " + arguments);
}

TEST(FitLeafCommand, PrintsOneCsvLinePerColumnInColumnOrder)
{
    testing::ScopedWorkDir dir;
    const Outcome run =
        FitLeaf("--reflectance " + kExamples + "/leaf_reflectance.csv --transmittance " + kExamples
                + "/leaf_transmittance.csv --subdomains");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> rows;
    for (std::size_t pos = 0; pos < run.out.size();) {
        const std::size_t end = run.out.find('\n', pos);
        rows.push_back(run.out.substr(pos, end - pos));
        pos = end + 1;
    }
    ASSERT_EQ(rows.size(), 4u) << run.out;
    EXPECT_EQ(rows[0], "column,N,Cab,Cw,Cm,rmse_R,rmse_T,evaluations");
    // The example leaves (see the files' header) come back close to their parameters.
    const double truth[3][4] = {
        {1.3, 28, 0.009, 0.0035}, {1.9, 62, 0.016, 0.0075}, {2.4, 14, 0.006, 0.011}};
    const char* names[3] = {"young", "mature", "pale"};
    const double tolerance[4] = {0.02, 2.0, 0.0005, 0.0005};
    for (int r = 0; r < 3; ++r) {
        std::vector<std::string> fields;
        for (std::size_t pos = 0;;) {
            const std::size_t end = rows[r + 1].find(',', pos);
            fields.push_back(rows[r + 1].substr(pos, end - pos));
            if (end == std::string::npos) break;
            pos = end + 1;
        }
        ASSERT_EQ(fields.size(), 8u) << rows[r + 1];
        EXPECT_EQ(fields[0], names[r]);
        for (int p = 0; p < 4; ++p) {
            EXPECT_NEAR(textio::ParseNumberText(fields[p + 1]).value(), truth[r][p], tolerance[p])
                << rows[r + 1];
        }
        EXPECT_NEAR(textio::ParseNumberText(fields[5]).value(), 0.5, 0.1) << "rmse_R";
        EXPECT_NEAR(textio::ParseNumberText(fields[6]).value(), 0.5, 0.1) << "rmse_T";
        EXPECT_GT(textio::ParseNumberText(fields[7]).value(), 0.0);
    }
    // Nothing was written where it ran (its messages are caught elsewhere).
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 0);
}

TEST(FitLeafCommand, SaysWhatItConvertedAndLeavesAnAbsentSpectrumEmpty)
{
    testing::ScopedWorkDir dir;
    const Outcome run = FitLeaf("--reflectance " + kExamples
                                + "/leaf_reflectance_percent_um.txt --columns 3,young");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.find("column,N,Cab,Cw,Cm,rmse_R,rmse_T,evaluations\npale,2.4"), 0u)
        << run.out;
    EXPECT_NE(run.out.find("\nyoung,1.3"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(",,"), std::string::npos) << "no rmse_T without a transmittance";
    EXPECT_NE(run.err.find("wavelengths in um, converted to nm"), std::string::npos);
    EXPECT_NE(run.err.find("values in percent, converted to fractions"), std::string::npos);
}

TEST(FitLeafCommand, ExitsWithTwoForBadArgumentsAndOneForFailedRuns)
{
    testing::ScopedWorkDir dir;
    {
        std::ofstream("two.csv") << "nm,a,b\n400,0.1,0.1\n";
    }
    {
        std::ofstream("nan.csv") << "nm,a\n400,0.1\n405,NaN\n";
    }
    for (const char* name : {"ab.csv", "ba.csv"}) {
        std::ofstream(name) << "nm," << (name[0] == 'a' ? "a,b" : "b,a") << "\n400,0.1,0.2\n";
    }
    const std::string R = " --reflectance " + kExamples + "/leaf_reflectance.csv";
    struct Case {
        std::string arguments;
        int exitCode;
        std::string message;
    };
    const Case cases[] = {
        {"", 2, "needs --reflectance FILE, --transmittance FILE or both"},
        {R + " --percent --fraction", 2, "--percent and --fraction exclude each other"},
        {R + " --columns 1,,2", 2, "--columns: \"1,,2\" has an empty entry"},
        {R + " --subdomains yes", 2, "Unknown option \"yes\""},
        {R + " --subdomains --subdomains", 2, "--subdomains is given twice"},
        {"--reflectance none.csv", 1, "\"none.csv\": No such file"},
        {R + " --columns 4", 1, "has no column \"4\""},
        {R + " --transmittance two.csv", 1,
         "has 3 spectrum columns, the transmittance file \"two.csv\" 2"},
        {"--transmittance nan.csv", 1, "\"nan.csv\" has a problem at line 3: field 2 \"NaN\""},
        {"--reflectance ab.csv --transmittance ba.csv", 1,
         "Column 1 of \"ab.csv\" is \"a\", which is column 2 of \"ba.csv\""},
        {R + " --fraction", 1, ""},  // fractions are right for this file: runs
    };
    for (const Case& c : cases) {
        const Outcome run = FitLeaf(c.arguments);
        const int expected = c.message.empty() ? 0 : c.exitCode;
        EXPECT_EQ(run.exitCode, expected) << c.arguments << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
        if (expected != 0) {
            EXPECT_EQ(run.out, "") << c.arguments;
        }
    }
}

TEST(ExampleFiles, AreWhatTheGeneratorWrites)
{
    testing::ScopedWorkDir dir;
    const Outcome run = testing::RunProgram(std::string(TULMERA_MAKE_EXAMPLES) + " .");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* name :
         {"leaf_reflectance.csv", "leaf_transmittance.csv", "leaf_reflectance_percent_um.txt"}) {
        EXPECT_EQ(testing::FileBytes(name), testing::FileBytes(kExamples + "/" + name))
            << name << " is out of date: run tulmera-make-examples examples";
    }
}

// The newer models fit their own parameters, which the columns follow; the brown pigments are
// fitted only when freed, and only by a model that has them.
TEST(FitLeafCommand, TheColumnsFollowTheLeafModelAndCbrownIsFreedOnlyWhereItExists)
{
    testing::ScopedWorkDir dir;
    const std::string files = "--reflectance " + kExamples + "/leaf_reflectance.csv --columns 1";
    const struct {
        const char* options;
        int exitCode;
        const char* header;  // the first line, or a part of the standard error
    } cases[] = {
        {"--leaf-model prospect-d", 0, "column,N,Cab,Car,Anth,Cbrown,Cw,Cm,rmse_R,rmse_T,"},
        {"--leaf-model prospect-pro --free Cbrown", 0,
         "column,N,Cab,Car,Anth,Cbrown,Cw,Prot,CBC,rmse_R,"},
        {"--free Cbrown", 2, "the classic leaf model has no brown pigments"},
        {"--leaf-model prospect-d --free Cab", 2, "--free: \"Cab\" cannot be freed"},
        {"--leaf-model prospect", 2, "--leaf-model"},
    };
    for (const auto& c : cases) {
        const Outcome run = FitLeaf(files + " " + c.options);
        ASSERT_EQ(run.exitCode, c.exitCode) << c.options << ": " << run.err;
        const std::string shown = c.exitCode == 0 ? run.out : run.err;
        EXPECT_NE(shown.find(c.header), std::string::npos) << c.options << ": " << shown;
    }
    // Held at 0 unless freed: the PROSPECT-D row's Cbrown field.
    const Outcome held = FitLeaf(files + " --leaf-model prospect-d");
    const std::size_t row = held.out.find('\n') + 1;
    std::vector<std::string> fields;
    for (std::size_t pos = row;;) {
        const std::size_t end = held.out.find_first_of(",\n", pos);
        fields.push_back(held.out.substr(pos, end - pos));
        if (end == std::string::npos || held.out[end] == '\n') break;
        pos = end + 1;
    }
    ASSERT_GE(fields.size(), 6u) << held.out;
    EXPECT_EQ(fields[5], "0") << held.out;
}

}  // namespace
}  // namespace tulmera::batch
