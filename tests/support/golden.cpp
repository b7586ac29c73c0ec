#include "support/golden.h"

#include <cmath>
#include <sstream>
#include <vector>

#include "support/work_dir.h"
#include "textio/number_text.h"

namespace tulmera::testing {
namespace {

constexpr double kTolerance = 1e-9;  // relative and absolute

std::vector<std::string> SplitKeepingEnds(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, stop - start));
        start = stop;
    }
    return lines;
}

bool IsNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'E' || c == '+';
}

// Splits a line into its number tokens and the layout between them (blanks, commas, texts).
// Two lines match when their layouts are equal and each pair of numbers is within tolerance.
bool LinesMatch(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool numberA = IsNumberChar(a[i]) && a[i] != 'E' && a[i] != '+';
        const bool numberB = IsNumberChar(b[j]) && b[j] != 'E' && b[j] != '+';
        if (numberA && numberB) {
            std::size_t endA = i, endB = j;
            while (endA < a.size() && IsNumberChar(a[endA])) ++endA;
            while (endB < b.size() && IsNumberChar(b[endB])) ++endB;
            const auto x = textio::ParseNumberText(a.substr(i, endA - i));
            const auto y = textio::ParseNumberText(b.substr(j, endB - j));
            if (!x || !y) {
                if (a.substr(i, endA - i) != b.substr(j, endB - j)) return false;
            } else if (std::abs(*x - *y) > kTolerance * std::max(1.0, std::abs(*y))) {
                return false;
            }
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j]) return false;
            ++i;
            ++j;
        }
    }
    return i == a.size() && j == b.size();
}

}  // namespace

std::filesystem::path GoldenDir(const std::string& name)
{
    return std::filesystem::path(TULMERA_GOLDEN_DIR) / name;
}

::testing::AssertionResult MatchesGolden(const std::filesystem::path& actual,
                                         const std::filesystem::path& golden)
{
    const std::vector<std::string> got = SplitKeepingEnds(FileBytes(actual));
    const std::vector<std::string> want = SplitKeepingEnds(FileBytes(golden));
    std::ostringstream report;
    int identical = 0, mismatches = 0;
    for (std::size_t i = 0; i < std::max(got.size(), want.size()); ++i) {
        const std::string a = i < got.size() ? got[i] : "<missing>";
        const std::string b = i < want.size() ? want[i] : "<missing>";
        if (a == b) {
            ++identical;
        } else if (!LinesMatch(a, b) && ++mismatches <= 5) {
            report << "\n  " << actual.filename().string() << " line " << i + 1 << ": got ["
                   << a.substr(0, a.find('\r')) << "], want [" << b.substr(0, b.find('\r')) << "]";
        }
    }
    const std::string summary = std::to_string(identical) + " of " + std::to_string(want.size())
                                + " lines byte-identical to " + golden.string();
    if (mismatches > 0 || got.size() != want.size()) {
        return ::testing::AssertionFailure()
               << mismatches << " lines differ beyond 1e-9 (" << summary << "):" << report.str();
    }
    std::cout << "[ golden   ] " << summary << '\n';
    return ::testing::AssertionSuccess();
}

}  // namespace tulmera::testing
