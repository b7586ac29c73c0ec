#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "plot/figure.h"
#include "plot/figure_surface.h"
#include "plot/figure_text.h"

// What the PNG and the SVG figure share: a frame layer in figure units, a plot-area layer at
// the chart's own scale, and the texts kept aside to be drawn last, over both layers. `Layer`
// is the surface both layers are (RasterSurface, SvgSurface); `LayerArgs` what its
// constructor takes after the scale (the pixel scale of a raster).
namespace tulmera::plot {

// Figure units are the frame layer's own units: user point (x, y) is the centre of unit
// square (x, y).
inline ChartScale FigureFrameScale(const FigureLayout& layout)
{
    return {0.0,
            static_cast<double>(layout.width - 1),
            static_cast<double>(layout.height - 1),
            0.0,
            layout.width,
            layout.height};
}

template <class Layer>
class LayeredFigure : public FigureSurface {
public:
    void Clear() override
    {
        frame_.Clear();
        texts_.clear();
    }
    void SetPenColor(Rgb color) override { frame_.SetPenColor(color); }
    void SetPenWidth(int pixels) override { frame_.SetPenWidth(pixels); }
    void SetPenStyle(PenStyle style) override { frame_.SetPenStyle(style); }
    void PlotPoint(double x, double y) override { frame_.PlotPoint(x, y); }
    void LineTo(double x, double y) override { frame_.LineTo(x, y); }
    void Line(double x1, double y1, double x2, double y2) override { frame_.Line(x1, y1, x2, y2); }
    void FilledBox(double x1, double y1, double x2, double y2, Rgb color) override
    {
        frame_.FilledBox(x1, y1, x2, y2, color);
    }
    void Text(double x, double y, std::string_view utf8, const TextStyle& style) override
    {
        if (!utf8.empty()) texts_.push_back({x, y, std::string(utf8), style});
    }
    double TextWidth(std::string_view utf8, double size) const override
    {
        return FigureTextWidth(utf8, size);
    }
    ChartSurface& PlotArea() override { return plot_; }

protected:
    template <class... LayerArgs>
    explicit LayeredFigure(const FigureLayout& layout, const LayerArgs&... layerArgs)
        : layout_(layout),
          frame_(FigureFrameScale(layout), layerArgs...),
          plot_(layout.plotScale, layerArgs...)
    {
    }

    struct PlacedText {
        double x;
        double y;
        std::string utf8;
        TextStyle style;
    };
    FigureLayout layout_;
    Layer frame_;
    Layer plot_;
    std::vector<PlacedText> texts_;
};

}  // namespace tulmera::plot
