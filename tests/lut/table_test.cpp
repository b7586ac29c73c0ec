// Tables through their files: independent of threads and shards, nothing left by a failure,
// and every file that is not a whole table of ours refused.
#include <gtest/gtest.h>

#include <fstream>

#include "lut/table_run.h"
#include "support/work_dir.h"
#include "textio/error.h"

namespace tulmera::lut {
namespace {

using testing::FileBytes;
using testing::ScopedWorkDir;

TableSpec SmallSpec(std::uint64_t samples, std::uint64_t seed = 7)
{
    canopy::CanopyInputs canopyInputs = canopy::StartCanopyInputs();
    canopyInputs.leafArchitecture = "Erectofilo";
    canopyInputs.soil = "S3:44% arena 39% limo 29% arcilla";
    canopyInputs.visibility = canopy::Visibility::Km50;
    TableSpec spec = HeldSpec({1.5, 40, 0.01, 0.005}, canopyInputs);
    spec.samples = samples;
    spec.seed = seed;
    spec.ranges[static_cast<std::size_t>(Parameter::N)] = {1, 2.5, true};
    spec.ranges[static_cast<std::size_t>(Parameter::Cab)] = {5, 90, true};
    spec.ranges[static_cast<std::size_t>(Parameter::Lai)] = {0.1, 8, true};
    spec.ranges[static_cast<std::size_t>(Parameter::View)] = {-60, 60, true};
    spec.ranges[static_cast<std::size_t>(Parameter::HotSpot)] = {0, 0.5, true};
    return spec;
}

RunOptions AllRows(const TableSpec& spec, int threads)
{
    return {{0, spec.samples}, threads, nullptr, {}};
}

std::vector<std::string> DirectoryEntries()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void ExpectSameTable(const Table& a, const Table& b)
{
    EXPECT_EQ(a.info, b.info);
    EXPECT_EQ(a.rows.firstRow, b.rows.firstRow);
    EXPECT_EQ(a.rows.parameters, b.rows.parameters);
    EXPECT_EQ(a.rows.reflectance, b.rows.reflectance);
}

TEST(LookUpTable, IsTheSameWhateverTheThreadCount)
{
    ScopedWorkDir dir;
    const TableSpec spec = SmallSpec(300);
    WriteTable("one.csv", spec, AllRows(spec, 1));
    WriteTable("three.csv", spec, AllRows(spec, 3));
    EXPECT_EQ(FileBytes("one.csv"), FileBytes("three.csv"));
    WriteTable("one.h5", spec, AllRows(spec, 1));
    WriteTable("two.h5", spec, AllRows(spec, 2));
    EXPECT_EQ(FileBytes("one.h5"), FileBytes("two.h5"));
    const Table h5 = LoadTable("one.h5");
    // Both formats hold the same numbers, and the reflectance is a fraction in 0 .. 1.
    ExpectSameTable(h5, LoadTable("one.csv"));
    EXPECT_EQ(h5.info.rowCount, 300u);
    for (const float r : h5.rows.reflectance) ASSERT_TRUE(r > 0.0f && r < 1.0f) << r;
}

TEST(LookUpTable, ShardsMergedInAnyOrderEqualTheWholeTable)
{
    ScopedWorkDir dir;
    const TableSpec spec = SmallSpec(100);
    for (const std::string extension : {".csv", ".h5"}) {
        WriteTable("whole" + extension, spec, AllRows(spec, 2));
        std::vector<std::filesystem::path> shards;
        for (std::uint64_t k = 3; k-- > 0;) {  // given last shard first
            shards.push_back("shard" + std::to_string(k) + extension);
            WriteTable(shards.back(), spec, {ShardRows(spec.samples, k, 3), 1, nullptr, {}});
        }
        MergeShards("merged" + extension, shards);
        ExpectSameTable(LoadTable("merged" + extension), LoadTable("whole" + extension));
        // Byte for byte: HDF5 files carry no modification times.
        EXPECT_EQ(FileBytes("merged" + extension), FileBytes("whole" + extension));
    }
    EXPECT_EQ(ShardRows(100, 0, 3).end, 33u);
    EXPECT_EQ(ShardRows(100, 2, 3).first, 66u);
}

TEST(LookUpTable, AFailedOrInterruptedRunLeavesNoFile)
{
    ScopedWorkDir dir;
    const TableSpec spec = SmallSpec(100);
    const std::atomic<bool> cancelled{true};
    EXPECT_THROW(WriteTable("t.h5", spec, {{0, 100}, 2, &cancelled, {}}), Error);

    // A sample where the leaf model fails (no absorber at all at 460 nm): its row and values.
    TableSpec failing = spec;
    for (const Parameter p : {Parameter::Cab, Parameter::Cw, Parameter::Cm}) {
        failing.ranges[static_cast<std::size_t>(p)] = {0, 0, false};
    }
    try {
        WriteTable("t.csv", failing, AllRows(failing, 2));
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("row 0 (N="), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("Cm=0, LAI="), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("460 nm"), std::string::npos) << e.what();
    }
    {
        const testing::ScopedFileSizeLimit full(20000);  // the disk fills up mid-table
        EXPECT_THROW(WriteTable("t.h5", spec, AllRows(spec, 1)), Error);
        EXPECT_THROW(WriteTable("t.csv", spec, AllRows(spec, 1)), Error);
    }
    EXPECT_TRUE(DirectoryEntries().empty()) << DirectoryEntries().front();
}

void WriteBytes(const std::string& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST(LookUpTable, MergeRefusesWhatIsNotAWholeTableOfOurs)
{
    ScopedWorkDir dir;
    const TableSpec spec = SmallSpec(40);
    for (std::uint64_t k = 0; k < 4; ++k) {
        for (const std::string extension : {".csv", ".h5"}) {
            WriteTable("s" + std::to_string(k) + extension, spec,
                       {ShardRows(40, k, 4), 1, nullptr, {}});
        }
    }
    WriteTable("seed8.csv", SmallSpec(40, 8), {ShardRows(40, 3, 4), 1, nullptr, {}});
    const std::string h5 = FileBytes("s1.h5"), csv = FileBytes("s1.csv");
    WriteBytes("half.h5", h5.substr(0, h5.size() / 2));
    WriteBytes("half.csv", csv.substr(0, csv.size() / 2));
    {  // one row less, the digest line kept
        const std::size_t digest = csv.rfind('\n', csv.size() - 2) + 1;
        const std::size_t lastRow = csv.rfind('\n', digest - 2) + 1;
        WriteBytes("short.csv", csv.substr(0, lastRow) + csv.substr(digest));
    }
    WriteBytes("text.h5", csv);
    {  // the settings line and the digest line, nothing between them
        const std::size_t digest = csv.rfind('\n', csv.size() - 2) + 1;
        WriteBytes("bare.csv", csv.substr(0, csv.find('\n') + 1) + csv.substr(digest));
    }
    {  // a reflectance beyond the single-precision range, which no float can hold
        std::string big = csv;
        std::size_t cell = big.find('\n', big.find('\n') + 1) + 1;                // the first row
        for (int comma = 0; comma < 10; ++comma) cell = big.find(',', cell) + 1;  // its 400 nm
        WriteBytes("huge.csv", big.replace(cell, big.find(',', cell) - cell, "1e300"));
    }
    {  // the reflectance dataset announcing 2^40 rows (dimensions and their maxima) in a file
       // that holds 10: its rows would be allocated before a read could fail
        std::string many = h5;
        std::string dims(16, '\0');
        dims[0] = 10;
        dims[8] = static_cast<char>(421 & 0xff);
        dims[9] = static_cast<char>(421 >> 8);
        for (std::size_t at = many.find(dims); at != std::string::npos; at = many.find(dims, at)) {
            many[at + 5] = 1;  // 2^40 in little-endian bytes
            many[at] = 0;
        }
        WriteBytes("many.h5", many);
    }
    WriteBytes("other.csv", "a,b,c\n1,2,3\n");
    struct Case {
        const char* name;
        std::vector<std::filesystem::path> shards;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"truncated HDF5",
         {"s0.h5", "half.h5", "s2.h5", "s3.h5"},
         "half.h5\" is not a look-up table of ours or is damaged"},
        {"truncated CSV",
         {"s0.csv", "half.csv", "s2.csv", "s3.csv"},
         "half.csv\" is not a look-up table of ours or is damaged"},
        {"a row missing",
         {"s0.csv", "short.csv", "s2.csv", "s3.csv"},
         "short.csv\" is not a look-up table of ours or is damaged: its rows do not match its "
         "digest"},
        {"not HDF5", {"text.h5"}, "text.h5\" is not a look-up table of ours"},
        {"no header",
         {"bare.csv"},
         "bare.csv\" is not a look-up table of ours or is damaged: it "
         "has no header"},
        {"a reflectance beyond single precision", {"huge.csv"}, "is too large for a reflectance"},
        {"more rows announced than held",
         {"s0.h5", "many.h5", "s2.h5", "s3.h5"},
         "many.h5\" is not a look-up table of ours or is damaged: its dataset \"reflectance\" "
         "announces more rows than the file holds"},
        {"another CSV", {"other.csv"}, "other.csv\" is not a look-up table of ours"},
        {"another extension", {"s0.txt"}, "neither in .h5 nor .csv"},
        {"another table",
         {"s0.csv", "s1.csv", "s2.csv", "seed8.csv"},
         "seed8.csv\" is a shard of another table"},
        {"a shard missing", {"s0.h5", "s1.h5", "s3.h5"}, "rows 20 to 29 are in none"},
        {"a shard twice", {"s0.h5", "s1.h5", "s1.h5", "s2.h5", "s3.h5"}, "overlap: rows 10 to 19"},
        {"no end", {"s0.csv", "s1.csv", "s2.csv"}, "rows 30 to 39 are in none"},
    };
    const std::vector<std::string> before = DirectoryEntries();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            MergeShards("out.csv", c.shards);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(DirectoryEntries(), before);  // neither "out.csv" nor a temporary file
    }
}

}  // namespace
}  // namespace tulmera::lut
