#include "chart_test_support.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::plot::testing {
namespace {

// The double a reader gets back from the number text of `value`.
double AsWritten(double value) { return *textio::ParseNumberText(textio::NumberText(value)); }

std::string Shown(const ChartOp& op)
{
    std::ostringstream os;
    os.precision(17);
    PrintTo(op, &os);
    return os.str();
}

}  // namespace

using Kind = ChartOp::Kind;

ChartOp ClearOp() { return {.kind = Kind::Clear}; }
ChartOp ColorOp(int r, int g, int b) { return {.kind = Kind::SetPenColor, .color = {r, g, b}}; }
ChartOp WidthOp(int pixels) { return {.kind = Kind::SetPenWidth, .width = pixels}; }
ChartOp StyleOp(PenStyle style) { return {.kind = Kind::SetPenStyle, .style = style}; }
ChartOp PointOp(double x, double y) { return {.kind = Kind::PlotPoint, .x1 = x, .y1 = y}; }
ChartOp LineToOp(double x, double y) { return {.kind = Kind::LineTo, .x1 = x, .y1 = y}; }

ChartOp LineOp(double x1, double y1, double x2, double y2)
{
    return {.kind = Kind::Line, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2};
}

ChartOp BoxOp(double x1, double y1, double x2, double y2, Rgb color)
{
    return {.kind = Kind::FilledBox, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .color = color};
}

::testing::AssertionResult SameOps(const std::vector<ChartOp>& actual,
                                   const std::vector<ChartOp>& expected)
{
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
        if (!(actual[i] == expected[i])) {
            return ::testing::AssertionFailure() << "operation " << i << " is " << Shown(actual[i])
                                                 << ", expected " << Shown(expected[i]);
        }
    }
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << actual.size() << " operations, expected " << expected.size() << "; the next is "
               << Shown(actual.size() > expected.size() ? actual[expected.size()]
                                                        : expected[actual.size()]);
    }
    return ::testing::AssertionSuccess();
}

double LeafReflectance(int record) { return AsWritten(0.3 + 0.25 * std::sin(record * 0.05)); }

double LeafTransmittance(int record) { return AsWritten(0.35 + 0.2 * std::cos(record * 0.03)); }

double CanopyReflectance(int record) { return AsWritten(0.2 + 0.15 * std::sin(record * 0.04)); }

void WriteLeafFile(int records)
{
    std::string text;
    for (int record = 1; record <= records; ++record) {
        text += " " + std::to_string(400 + 5 * (record - 1)) + "  "
                + textio::NumberText(LeafReflectance(record)) + "  "
                + textio::NumberText(LeafTransmittance(record)) + " \r\n";
    }
    textio::ReplaceTextFile("VP.dat", text);
}

void WriteCanopyFile(int records)
{
    std::string text;
    for (int record = 1; record <= records; ++record) {
        text += std::to_string(400 + 5 * (record - 1)) + ","
                + textio::NumberText(CanopyReflectance(record)) + "\r\n";
    }
    textio::ReplaceTextFile("VS.dat", text);
}

}  // namespace tulmera::plot::testing
