#pragma once
#include <QImage>
#include <limits>

#include "plot/chart_surface.h"

// A ChartSurface that draws into an image, without antialiasing, so that every pixel it sets
// follows from the rules below.
namespace tulmera::plot {

// The largest pixel scale a RasterSurface accepts.
inline constexpr int kMaxPixelScale = 16;

// Mapping. With W × H the interior size of the ChartScale, a user point (x, y) has the pixel
// coordinates
//     X = (x − left) · (W − 1) / (right − left),   Y = (top − y) · (H − 1) / (top − bottom),
// so `left` lies on the centre of the first column and `right` on the centre of the last one,
// `top` on the first row and `bottom` on the last: lines at the chart's edges stay visible.
// The image is K times larger in both directions (K = the pixel scale); the pixel of a point
// is column floor(K · (X + 0.5)), row floor(K · (Y + 0.5)). For K = 1 that is X and Y rounded
// half up; for any K it lies in the block of K × K pixels that stands for that K = 1 pixel.
//
// Pens. A pen `width` pixels wide (at K = 1) draws a square of width · K pixels for a point:
// at K = 1 from width / 2 (integer division) pixels before the point's pixel to the rest after
// it, so a 1-pixel pen sets exactly the pixel of the point and a 2-pixel pen also the one
// above and the one to the left; at scale K the square starts K / 2 + K · (width / 2) pixels
// before the point's pixel, which makes it the K = 1 square scaled by K when the point lies
// on a K = 1 pixel centre. A segment runs from the pixel of its first end to the pixel of its
// last end, both included: the square is stamped at every pixel step along its longer axis,
// the other coordinate following the straight line between the two end pixels, rounded half
// up; so a polyline's segments meet exactly at the pixels of its vertices. A 1-pixel pen in
// the dashed style draws kDashOn pixels of every kDashOn + kDashOff (times K) along the longer
// axis, counted from the first pixel of the square at the first end of each segment (so the
// dashes of a segment that starts on a K = 1 pixel centre are the K = 1 dashes scaled by K);
// wider pens always draw solid.
//
// Boxes cover every pixel from the pen square of a 1-pixel pen at one corner to that of the
// opposite corner, so the edge lines of a box fall on its border pixels.
//
// Everything outside the interior is clipped. Coordinates that are not finite draw nothing.
class RasterSurface : public ChartSurface {
public:
    static constexpr int kDashOn = 4;
    static constexpr int kDashOff = 2;
    static constexpr int kMaxPenWidth = 16;

    // A white image of scale.widthPx·pixelScale × scale.heightPx·pixelScale pixels, with the
    // pen black, 1 pixel, solid, at (0, 0). Requires 1 <= pixelScale <= kMaxPixelScale.
    explicit RasterSurface(const ChartScale& scale, int pixelScale = 1);

    void Clear() override;
    void SetPenColor(Rgb color) override;
    void SetPenWidth(int pixels) override;  // limited to 1 .. kMaxPenWidth
    void SetPenStyle(PenStyle style) override;
    void PlotPoint(double x, double y) override;
    void LineTo(double x, double y) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void FilledBox(double x1, double y1, double x2, double y2, Rgb color) override;

    const QImage& image() const { return image_; }
    const ChartScale& scale() const { return scale_; }
    int pixelScale() const { return k_; }

    // The image column and row of a user x and y (see Mapping), possibly outside the image.
    // Coordinates far outside are limited to 2^24 pixels beyond the image.
    int ColumnOf(double x) const;
    int RowOf(double y) const;

private:
    // Continuous pixel coordinates whose rounding half up gives the pixel of a point.
    double PixelX(double x) const;
    double PixelY(double y) const;
    int SquareBefore() const;  // pixels of the pen square before the point's pixel
    int SquareSize() const;    // pixels across the pen square
    void Stamp(int column, int row, QRgb color);
    void FillPixels(int column1, int row1, int column2, int row2, QRgb color);
    void DrawSegment(double x1, double y1, double x2, double y2);
    // PixelX and PixelY rounded half up: the pixel of a coordinate. Each remembers its last
    // coordinate, where the next segment of a polyline starts.
    double RoundedPixelX(double x);
    double RoundedPixelY(double y);

    // A user coordinate and its rounded pixel coordinate.
    struct PixelMemo {
        double user = std::numeric_limits<double>::quiet_NaN();
        double pixel = 0.0;
    };

    ChartScale scale_;
    int k_;
    int width_;  // of the image, which never changes size
    int height_;
    QImage image_;
    PixelMemo lastX_, lastY_;
    Rgb penColor_{0, 0, 0};
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    double penX_ = 0.0;
    double penY_ = 0.0;
};

}  // namespace tulmera::plot
