#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tulmera::testing {

// The folder of a reference result set, such as "start" or "sweep-Cw".
std::filesystem::path GoldenDir(const std::string& name);

// Compares a result file with its reference: the layout byte for byte (blanks, commas, texts,
// CR LF) and the numbers with a relative and an absolute tolerance of 1e-9, since a few grid
// points are ill-conditioned and a last-bit difference grows there. Reports the first
// differences with file, line and both texts, and how many lines are byte-identical.
::testing::AssertionResult MatchesGolden(const std::filesystem::path& actual,
                                         const std::filesystem::path& golden);

}  // namespace tulmera::testing
