#pragma once
#include <iosfwd>
#include <vector>

#include "plot/chart_surface.h"

// The drawing operations of a chart as a list, for the tests, benchmarks and fuzz targets
// that look at what a chart procedure drew without pixels.
namespace tulmera::testing {

// One drawing operation with its arguments, as a RecordingSurface keeps it.
struct ChartOp {
    enum class Kind {
        Clear,
        SetPenColor,
        SetPenWidth,
        SetPenStyle,
        PlotPoint,
        LineTo,
        Line,
        FilledBox
    };
    Kind kind = Kind::Clear;
    double x1 = 0.0;  // PlotPoint, LineTo: the point; Line, FilledBox: the first corner
    double y1 = 0.0;
    double x2 = 0.0;  // Line, FilledBox: the second corner
    double y2 = 0.0;
    plot::Rgb color{};                             // SetPenColor, FilledBox
    int width = 0;                                 // SetPenWidth
    plot::PenStyle style = plot::PenStyle::Solid;  // SetPenStyle
    friend bool operator==(const ChartOp&, const ChartOp&) = default;
};

// Shows a recorded operation, such as "LineTo(405, 12.5)" (GoogleTest prints operations so).
void PrintTo(const ChartOp& op, std::ostream* os);

// A surface that draws nothing and keeps the list of operations.
class RecordingSurface : public plot::ChartSurface {
public:
    void Clear() override;
    void SetPenColor(plot::Rgb color) override;
    void SetPenWidth(int pixels) override;
    void SetPenStyle(plot::PenStyle style) override;
    void PlotPoint(double x, double y) override;
    void LineTo(double x, double y) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void FilledBox(double x1, double y1, double x2, double y2, plot::Rgb color) override;

    const std::vector<ChartOp>& ops() const { return ops_; }
    void ForgetOps() { ops_.clear(); }

private:
    std::vector<ChartOp> ops_;
};

}  // namespace tulmera::testing
