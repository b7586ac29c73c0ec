#include "plot/raster_surface.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>

namespace tulmera::plot {
namespace {

constexpr double kFar = 16777216.0;  // 2^24 pixels: far enough outside any image

double RoundHalfUp(double v) { return std::floor(v + 0.5); }

QRgb ToQRgb(Rgb color) { return qRgb(color.r, color.g, color.b); }

bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

}  // namespace

RasterSurface::RasterSurface(const ChartScale& scale, int pixelScale)
    : scale_(scale),
      k_(pixelScale),
      image_(scale.widthPx * pixelScale, scale.heightPx * pixelScale, QImage::Format_RGB32)
{
    assert(pixelScale >= 1 && pixelScale <= kMaxPixelScale);
    Clear();
}

void RasterSurface::Clear() { image_.fill(qRgb(255, 255, 255)); }

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
    const double a1 = RoundHalfUp(PixelX(x1)), b1 = RoundHalfUp(PixelY(y1));
    const double a2 = RoundHalfUp(PixelX(x2)), b2 = RoundHalfUp(PixelY(y2));
    if (!Finite(a1, b1) || !Finite(a2, b2)) return;
    // Walk the longer axis ("major") one pixel at a time; the other ("minor") follows the line.
    const bool xMajor = std::abs(a2 - a1) >= std::abs(b2 - b1);
    const double start = xMajor ? a1 : b1, minor1 = xMajor ? b1 : a1;
    const double end = xMajor ? a2 : b2, minor2 = xMajor ? b2 : a2;
    const double majorSize = xMajor ? image_.width() : image_.height();
    const double minorSize = xMajor ? image_.height() : image_.width();
    const double slope = end == start ? 0.0 : (minor2 - minor1) / (end - start);
    const int before = SquareBefore(), size = SquareSize();
    const double margin = size + 1;  // a square reaches at most this far
    const int first =
        static_cast<int>(std::clamp(std::min(start, end), -margin, majorSize + margin));
    const int last =
        static_cast<int>(std::clamp(std::max(start, end), -margin, majorSize + margin));
    // Dashes are counted along the major axis from the first pixel of the first square; of a
    // first end farther than 2^24 pixels outside, from 2^24 pixels out (as ColumnOf limits).
    const bool dashed = penStyle_ == PenStyle::Dashed && penWidth_ == 1;
    const double originEnd = std::clamp(start, -kFar, majorSize + kFar);
    const auto origin =
        static_cast<long long>(end >= start ? originEnd - before : originEnd - before + size - 1);
    const QRgb color = ToQRgb(penColor_);
    // Pixels are written straight into the image: one detach for the whole segment.
    QRgb* const bits = reinterpret_cast<QRgb*>(image_.bits());
    const qsizetype stride = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const int majorLimit = xMajor ? image_.width() : image_.height();
    const int minorLimit = xMajor ? image_.height() : image_.width();
    for (int m = first; m <= last; ++m) {
        const double minor =
            std::clamp(RoundHalfUp(minor1 + (m - start) * slope), -margin, minorSize + margin);
        const int across = static_cast<int>(minor) - before;
        const int acrossFirst = std::max(across, 0);
        const int acrossLast = std::min(across + size - 1, minorLimit - 1);
        if (acrossFirst > acrossLast) continue;
        const int alongFirst = std::max(m - before, 0);
        const int alongLast = std::min(m - before + size - 1, majorLimit - 1);
        for (int along = alongFirst; along <= alongLast; ++along) {
            if (dashed) {
                const long long distance = std::llabs(along - origin);
                const long long step = k_ == 1 ? distance : distance / k_;
                if (step % (kDashOn + kDashOff) >= kDashOn) continue;
            }
            if (xMajor) {
                for (int row = acrossFirst; row <= acrossLast; ++row) {
                    bits[row * stride + along] = color;
                }
            } else {
                std::fill(bits + along * stride + acrossFirst,
                          bits + along * stride + acrossLast + 1, color);
            }
        }
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
