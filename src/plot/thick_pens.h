#pragma once
#include "plot/chart_surface.h"

// A chart drawn with thicker curves for projection: every solid pen `factor` times wider, the
// dashed 1-pixel grid and edge lines as they are (a wider pen would draw them solid).
namespace tulmera::plot {

class ThickPens : public ChartSurface {
public:
    // Draws on `target`, which must outlive it. Requires factor >= 1.
    ThickPens(ChartSurface& target, int factor);

    void Clear() override { target_.Clear(); }
    void SetPenColor(Rgb color) override { target_.SetPenColor(color); }
    void SetPenWidth(int pixels) override;
    void SetPenStyle(PenStyle style) override;
    void PlotPoint(double x, double y) override { target_.PlotPoint(x, y); }
    void LineTo(double x, double y) override { target_.LineTo(x, y); }
    void Line(double x1, double y1, double x2, double y2) override { target_.Line(x1, y1, x2, y2); }
    void FilledBox(double x1, double y1, double x2, double y2, Rgb color) override
    {
        target_.FilledBox(x1, y1, x2, y2, color);
    }

private:
    void ApplyWidth();

    ChartSurface& target_;
    int factor_;
    int width_ = 1;
    PenStyle style_ = PenStyle::Solid;
};

}  // namespace tulmera::plot
