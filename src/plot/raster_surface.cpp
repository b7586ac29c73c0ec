#include "plot/raster_surface.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace tulmera::plot {
namespace {

constexpr double kFar = 16777216.0;  // 2^24 pixels: far enough outside any image

double RoundHalfUp(double v) { return std::floor(v + 0.5); }

QRgb ToQRgb(Rgb color) { return qRgb(color.r, color.g, color.b); }

bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

// The dashes of a 1-pixel dashed pen along the major axis of a segment: kDashOn of every
// kDashOn + kDashOff steps of k pixels are drawn, counted from `origin` in both directions.
// With d pixels from the origin, the step floor(d / k) mod 6 is below 4 exactly when
// d mod 6k is below 4k: the phase in pixels decides.
struct Dashes {
    long long origin;
    int k;

    int Period() const { return (RasterSurface::kDashOn + RasterSurface::kDashOff) * k; }
    int PhaseAt(int along) const { return static_cast<int>(std::llabs(along - origin) % Period()); }
    bool Drawn(int phase) const { return phase < RasterSurface::kDashOn * k; }
};

// Sets the pixels of a segment's pen squares in an image of 32-bit pixels: a block of
// positions `along` the segment's major axis times positions `across` it, the positions
// along skipped where a dashed pen leaves gaps.
class SegmentPainter {
public:
    SegmentPainter(QImage& image, QRgb color, bool xMajor, std::optional<Dashes> dashes)
        : bits_(reinterpret_cast<QRgb*>(image.bits())),
          stride_(image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))),
          color_(color),
          xMajor_(xMajor),
          dashes_(dashes)
    {
    }

    // Positions from first to last, both included, on each axis; an empty range paints nothing.
    void Paint(int alongFirst, int alongLast, int acrossFirst, int acrossLast) const
    {
        if (acrossFirst > acrossLast || alongFirst > alongLast) return;
        if (!dashes_) {
            for (int along = alongFirst; along <= alongLast; ++along) {
                PaintAcross(along, acrossFirst, acrossLast);
            }
        } else if (dashes_->origin <= alongFirst || dashes_->origin >= alongLast) {
            PaintDashedRun(alongFirst, alongLast, acrossFirst, acrossLast);
        } else {
            for (int along = alongFirst; along <= alongLast; ++along) {
                if (dashes_->Drawn(dashes_->PhaseAt(along))) {
                    PaintAcross(along, acrossFirst, acrossLast);
                }
            }
        }
    }

private:
    void PaintAcross(int along, int acrossFirst, int acrossLast) const
    {
        if (xMajor_) {
            for (int row = acrossFirst; row <= acrossLast; ++row) {
                bits_[row * stride_ + along] = color_;
            }
        } else {
            std::fill(bits_ + along * stride_ + acrossFirst,
                      bits_ + along * stride_ + acrossLast + 1, color_);
        }
    }

    // A run wholly on one side of the dash origin, walked away from it: the phase grows by
    // one pixel a step, so it needs no division per pixel.
    void PaintDashedRun(int alongFirst, int alongLast, int acrossFirst, int acrossLast) const
    {
        const bool up = dashes_->origin <= alongFirst;
        const int from = up ? alongFirst : alongLast;
        const int period = dashes_->Period();
        int phase = dashes_->PhaseAt(from);
        for (int i = 0; i <= alongLast - alongFirst; ++i) {
            if (dashes_->Drawn(phase)) {
                PaintAcross(up ? from + i : from - i, acrossFirst, acrossLast);
            }
            if (++phase == period) phase = 0;
        }
    }

    QRgb* bits_;
    qsizetype stride_;
    QRgb color_;
    bool xMajor_;
    std::optional<Dashes> dashes_;
};

}  // namespace

RasterSurface::RasterSurface(const ChartScale& scale, int pixelScale)
    : scale_(scale),
      k_(pixelScale),
      width_(scale.widthPx * pixelScale),
      height_(scale.heightPx * pixelScale),
      image_(width_, height_, QImage::Format_RGB32)
{
    assert(pixelScale >= 1 && pixelScale <= kMaxPixelScale);
    Clear();
}

void RasterSurface::Clear()
{
    // An image handed out (a window showing it) shares its pixels: filling it would first
    // copy them all, only to overwrite them. A new image of the same kind skips the copy.
    if (!image_.isDetached()) image_ = QImage(width_, height_, QImage::Format_RGB32);
    image_.fill(qRgb(255, 255, 255));
}

void RasterSurface::SetPenColor(Rgb color) { penColor_ = color; }

void RasterSurface::SetPenWidth(int pixels) { penWidth_ = std::clamp(pixels, 1, kMaxPenWidth); }

void RasterSurface::SetPenStyle(PenStyle style) { penStyle_ = style; }

double RasterSurface::PixelX(double x) const
{
    const double X = (x - scale_.left) * (scale_.widthPx - 1) / (scale_.right - scale_.left);
    return k_ * (X + 0.5) - 0.5;
}

double RasterSurface::PixelY(double y) const
{
    const double Y = (scale_.top - y) * (scale_.heightPx - 1) / (scale_.top - scale_.bottom);
    return k_ * (Y + 0.5) - 0.5;
}

// A NaN (the memo's start) never equals anything, so it is always converted; 0 and -0 are
// equal and convert alike, since adding 0.5 in PixelX and PixelY drops the sign of a zero.
double RasterSurface::RoundedPixelX(double x)
{
    if (!(x == lastX_.user)) lastX_ = {x, RoundHalfUp(PixelX(x))};
    return lastX_.pixel;
}

double RasterSurface::RoundedPixelY(double y)
{
    if (!(y == lastY_.user)) lastY_ = {y, RoundHalfUp(PixelY(y))};
    return lastY_.pixel;
}

int RasterSurface::ColumnOf(double x) const
{
    return static_cast<int>(std::clamp(RoundHalfUp(PixelX(x)), -kFar, image_.width() + kFar));
}

int RasterSurface::RowOf(double y) const
{
    return static_cast<int>(std::clamp(RoundHalfUp(PixelY(y)), -kFar, image_.height() + kFar));
}

void RasterSurface::FillPixels(int column1, int row1, int column2, int row2, QRgb color)
{
    const int left = std::max(column1, 0);
    const int right = std::min(column2, image_.width() - 1);
    const int top = std::max(row1, 0);
    const int bottom = std::min(row2, image_.height() - 1);
    if (left > right) return;  // wholly outside (the rows loop skips itself)
    for (int row = top; row <= bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(row));
        std::fill(line + left, line + right + 1, color);
    }
}

int RasterSurface::SquareBefore() const { return k_ / 2 + k_ * (penWidth_ / 2); }

int RasterSurface::SquareSize() const { return k_ * penWidth_; }

void RasterSurface::Stamp(int column, int row, QRgb color)
{
    const int before = SquareBefore(), size = SquareSize();
    FillPixels(column - before, row - before, column - before + size - 1, row - before + size - 1,
               color);
}

void RasterSurface::DrawSegment(double x1, double y1, double x2, double y2)
{
    // The pixels of the two ends; the segment is the straight line between them.
    const double a1 = RoundedPixelX(x1), b1 = RoundedPixelY(y1);
    const double a2 = RoundedPixelX(x2), b2 = RoundedPixelY(y2);
    if (!Finite(a1, b1) || !Finite(a2, b2)) return;
    // Walk the longer axis ("major") one pixel at a time; the other ("minor") follows the line.
    const bool xMajor = std::abs(a2 - a1) >= std::abs(b2 - b1);
    const double start = xMajor ? a1 : b1, minor1 = xMajor ? b1 : a1;
    const double end = xMajor ? a2 : b2, minor2 = xMajor ? b2 : a2;
    const int majorLimit = xMajor ? width_ : height_;
    const int minorLimit = xMajor ? height_ : width_;
    const double slope = end == start ? 0.0 : (minor2 - minor1) / (end - start);
    const int before = SquareBefore(), size = SquareSize();
    const double margin = size + 1;  // a square reaches at most this far
    const int first =
        static_cast<int>(std::clamp(std::min(start, end), -margin, majorLimit + margin));
    const int last =
        static_cast<int>(std::clamp(std::max(start, end), -margin, majorLimit + margin));
    const auto minorAt = [&](int m) {
        return static_cast<int>(
            std::clamp(RoundHalfUp(minor1 + (m - start) * slope), -margin, minorLimit + margin));
    };
    // Dashes are counted along the major axis from the first pixel of the first square; of a
    // first end farther than 2^24 pixels outside, from 2^24 pixels out (as ColumnOf limits).
    const bool dashed = penStyle_ == PenStyle::Dashed && penWidth_ == 1;
    const double originEnd = std::clamp(start, -kFar, majorLimit + kFar);
    const auto origin =
        static_cast<long long>(end >= start ? originEnd - before : originEnd - before + size - 1);
    // Pixels are written straight into the image: one detach for the whole segment.
    const SegmentPainter painter(image_, ToQRgb(penColor_), xMajor,
                                 dashed ? std::optional(Dashes{origin, k_}) : std::nullopt);
    if (slope == 0.0) {
        // An axis-aligned segment: minor1 + (m - start) · 0 is minor1 for every step, so the
        // squares form one band across, and their union along is one run from the first
        // square to the last. Painting that run once sets exactly the pixels of the steps.
        const int across = minorAt(first) - before;
        painter.Paint(std::max(first - before, 0),
                      std::min(last - before + size - 1, majorLimit - 1), std::max(across, 0),
                      std::min(across + size - 1, minorLimit - 1));
        return;
    }
    for (int m = first; m <= last; ++m) {
        const int across = minorAt(m) - before;
        painter.Paint(std::max(m - before, 0), std::min(m - before + size - 1, majorLimit - 1),
                      std::max(across, 0), std::min(across + size - 1, minorLimit - 1));
    }
}

void RasterSurface::PlotPoint(double x, double y)
{
    penX_ = x;
    penY_ = y;
    if (!Finite(x, y)) return;
    Stamp(ColumnOf(x), RowOf(y), ToQRgb(penColor_));
}

void RasterSurface::LineTo(double x, double y) { Line(penX_, penY_, x, y); }

void RasterSurface::Line(double x1, double y1, double x2, double y2)
{
    DrawSegment(x1, y1, x2, y2);
    penX_ = x2;
    penY_ = y2;
}

void RasterSurface::FilledBox(double x1, double y1, double x2, double y2, Rgb color)
{
    if (!Finite(x1, y1) || !Finite(x2, y2)) return;
    // From the 1-pixel pen square of one corner to that of the other.
    const int before = k_ / 2;
    const int columnA = ColumnOf(x1), columnB = ColumnOf(x2);
    const int rowA = RowOf(y1), rowB = RowOf(y2);
    FillPixels(std::min(columnA, columnB) - before, std::min(rowA, rowB) - before,
               std::max(columnA, columnB) - before + k_ - 1, std::max(rowA, rowB) - before + k_ - 1,
               ToQRgb(color));
}

}  // namespace tulmera::plot
