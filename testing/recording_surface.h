#pragma once
#include <vector>

#include "plot/chart_surface.h"

namespace tulmera::plot {

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
    Rgb color{};                       // SetPenColor, FilledBox
    int width = 0;                     // SetPenWidth
    PenStyle style = PenStyle::Solid;  // SetPenStyle
    friend bool operator==(const ChartOp&, const ChartOp&) = default;
};

// A surface that draws nothing and keeps the list of operations, for tests.
class RecordingSurface : public ChartSurface {
public:
    void Clear() override;
    void SetPenColor(Rgb color) override;
    void SetPenWidth(int pixels) override;
    void SetPenStyle(PenStyle style) override;
    void PlotPoint(double x, double y) override;
    void LineTo(double x, double y) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void FilledBox(double x1, double y1, double x2, double y2, Rgb color) override;

    const std::vector<ChartOp>& ops() const { return ops_; }
    void ForgetOps() { ops_.clear(); }

private:
    std::vector<ChartOp> ops_;
};

}  // namespace tulmera::plot
