#pragma once
#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <functional>
#include <string>
#include <vector>

#include "plot/chart_surface.h"

// A ChartSurface that keeps what it is asked to draw as vector shapes and writes them as an
// SVG picture through Qt SVG, for slides that scale without steps.
namespace tulmera::plot {

// Mapping. As on the RasterSurface at pixel scale 1: with W × H the interior size, a user
// point (x, y) lies at the centre of the pixel
//     X = (x − left) · (W − 1) / (right − left),   Y = (top − y) · (H − 1) / (top − bottom),
// that is at (X + 0.5, Y + 0.5) of a picture W × H units large (width, height and viewBox),
// without the raster's rounding to whole pixels.
//
// Pens. Consecutive segments with the same pen form one path: LineTo continues it, Line
// starts a subpath in it (its dashes start again there, as the raster's do), so a polyline of
// LineTo calls, however often its colour is set again between calls, is one <path>.
// A 1-pixel dashed pen draws 4 units of every 6; wider pens draw solid. A point is a filled
// square of the pen's width; a box covers the pixel squares of both its corners.
//
// Everything is clipped to the interior (the picture's viewBox): points and boxes wholly
// outside are left out.
// Coordinates that are not finite draw nothing (a polyline continues after them from the next
// finite point, as the raster draws no segment ending there).
class SvgSurface : public ChartSurface {
public:
    // An empty white picture, the pen black, 1 pixel, solid, at (0, 0).
    explicit SvgSurface(const ChartScale& scale);

    void Clear() override;
    void SetPenColor(Rgb color) override;
    void SetPenWidth(int pixels) override;  // limited to 1 .. kMaxPenWidth
    void SetPenStyle(PenStyle style) override;
    void PlotPoint(double x, double y) override;
    void LineTo(double x, double y) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void FilledBox(double x1, double y1, double x2, double y2, Rgb color) override;

    static constexpr int kMaxPenWidth = 16;

    const ChartScale& scale() const { return scale_; }

    // The SVG file of what was drawn since the last Clear, `title` as its title; `over`, when
    // given, paints more on top (in the picture's units) through the same painter. Throws
    // tulmera::Error naming `path`, the file the bytes are meant for, when it cannot be made.
    std::string Bytes(const std::string& path, const std::string& title = "",
                      const std::function<void(QPainter&)>& over = {}) const;

private:
    struct Pen {
        Rgb color{0, 0, 0};
        int width = 1;
        PenStyle style = PenStyle::Solid;
        friend bool operator==(const Pen&, const Pen&) = default;
    };
    // A stroked path (`fill` unused) or a filled rectangle (`path` empty, `pen` unused).
    struct Shape {
        bool stroked = false;
        Pen pen;
        QPainterPath path;
        QRectF fill;
        QColor fillColor;
    };

    QPointF At(double x, double y) const;
    QRectF Square(QPointF centre, double side) const;
    void AddSegment(double x1, double y1, double x2, double y2);
    void AddFill(const QRectF& rect, Rgb color);

    ChartScale scale_;
    std::vector<Shape> shapes_;
    bool pathOpen_ = false;  // the last shape is a path the next segment may continue
    Pen pen_;
    double penX_ = 0.0;
    double penY_ = 0.0;
};

// Writes `surface`'s picture as the SVG file `path`, replacing any file there as a whole (never
// a half written file). Throws tulmera::Error naming the file and the reason on failure.
void SaveSvg(const SvgSurface& surface, const std::string& path);

}  // namespace tulmera::plot
