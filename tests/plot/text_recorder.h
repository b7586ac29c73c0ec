#pragma once
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "plot/figure_surface.h"
#include "plot/figure_text.h"
#include "testing/recording_surface.h"

namespace tulmera::plot::testing {

// A figure surface that keeps its texts and forwards its lines to a recording.
class TextRecorder : public FigureSurface {
public:
    struct Placed {
        double x, y;
        std::string text;
        TextStyle style;
    };
    void Clear() override { texts.clear(); }
    void SetPenColor(Rgb) override {}
    void SetPenWidth(int) override {}
    void SetPenStyle(PenStyle) override {}
    void PlotPoint(double, double) override {}
    void LineTo(double, double) override {}
    void Line(double, double, double, double) override {}
    void FilledBox(double, double, double, double, Rgb) override {}
    void Text(double x, double y, std::string_view text, const TextStyle& style) override
    {
        texts.push_back({x, y, std::string(text), style});
    }
    double TextWidth(std::string_view text, double size) const override
    {
        return FigureTextWidth(text, size);
    }
    ChartSurface& PlotArea() override { return plot; }

    const Placed* Find(const std::string& text) const
    {
        const auto at = std::ranges::find(texts, text, &Placed::text);
        return at == texts.end() ? nullptr : &*at;
    }
    std::vector<Placed> texts;
    ::tulmera::testing::RecordingSurface plot;
};

}  // namespace tulmera::plot::testing
