#pragma once
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "testing/recording_surface.h"
#include "textio/error.h"

// Spectrum files and recorded operations for chart tests. Files go to the current directory.
namespace tulmera::plot::testing {

using ::tulmera::testing::ChartOp;
using ::tulmera::testing::RecordingSurface;

// Recorded operations, written as the drawing code calls them.
ChartOp ClearOp();
ChartOp ColorOp(int r, int g, int b);
ChartOp WidthOp(int pixels);
ChartOp StyleOp(PenStyle style);
ChartOp PointOp(double x, double y);
ChartOp LineToOp(double x, double y);
ChartOp LineOp(double x1, double y1, double x2, double y2);
ChartOp BoxOp(double x1, double y1, double x2, double y2, Rgb color);

// Passes when `actual` equals `expected`; otherwise names the first differing operation.
::testing::AssertionResult SameOps(const std::vector<ChartOp>& actual,
                                   const std::vector<ChartOp>& expected);

// A "VP.dat" of `records` lines " λ  R  T " (400, 405, ... nm) with smoothly varying values.
void WriteLeafFile(int records);

// A "VS.dat" of `records` lines "λ,ρ" (400, 405, ... nm) in the canopy run's list layout.
void WriteCanopyFile(int records);

// The reflectance and transmittance written into record `record` (1-based) by WriteLeafFile,
// and the reflectance written by WriteCanopyFile, exactly as a reader gets them back.
double LeafReflectance(int record);
double LeafTransmittance(int record);
double CanopyReflectance(int record);

// The message of the tulmera::Error that `body` throws, or "" when it throws nothing.
template <typename Body>
std::string ErrorOf(Body body)
{
    try {
        body();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

}  // namespace tulmera::plot::testing
