#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_support.h"
#include "plot/chart_geometry.h"
#include "plot/raster_surface.h"

namespace tulmera::fuzz {
namespace {

// The bytes, taken from the front; past their end every read gives zeros.
class ByteSource {
public:
    explicit ByteSource(std::string_view bytes) : bytes_(bytes) {}
    bool Empty() const { return bytes_.empty(); }
    std::uint8_t Byte()
    {
        if (bytes_.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(bytes_.front());
        bytes_.remove_prefix(1);
        return byte;
    }
    std::uint16_t Word()
    {
        const std::uint16_t high = Byte();
        return static_cast<std::uint16_t>(high << 8 | Byte());
    }
    double RawDouble()
    {
        std::array<unsigned char, sizeof(double)> raw{};
        for (unsigned char& byte : raw) byte = Byte();
        double value = 0.0;
        std::memcpy(&value, raw.data(), sizeof value);
        return value;
    }

private:
    std::string_view bytes_;
};

// The pixel scales drawn: 1 mostly, 2 and 3 (the scaled pens and dashes) one input in eight
// each; a larger scale only multiplies the pixels.
constexpr std::size_t kMostPixelScale = 3;

// A user coordinate along `lo` .. `hi`: mostly from a point one chart width before the chart
// to one after it, where the charts' curves lie; one in sixteen any double at all (far points,
// infinities, not-a-numbers), as a damaged result file can give.
double Coordinate(ByteSource& source, double lo, double hi)
{
    if (source.Byte() >= 0xf0) return source.RawDouble();
    const double fraction = source.Word() / 65535.0;
    return lo + (fraction * 3.0 - 1.0) * (hi - lo);
}

// A pen width: the charts' 1 to 3 mostly, else one of the ends a caller might pass.
int PenWidth(ByteSource& source)
{
    static constexpr std::array<int, 8> kOdd = {-5, 0, 8, 16, 17, 1000, INT_MIN, INT_MAX};
    const std::uint8_t byte = source.Byte();
    return byte < 0xf8 ? byte % 4 : kOdd[byte - 0xf8];
}

// The surface of `scale` (an index into kScales) and `pixelScale`, as a new one is: white,
// pen black, 1 pixel, solid, at (0, 0). Kept from input to input: a new image for every input
// costs more than drawing on it (its pages are mapped afresh each time).
plot::RasterSurface& FreshSurface(const plot::ChartScale& scale, std::size_t scaleIndex,
                                  int pixelScale)
{
    thread_local std::array<std::unique_ptr<plot::RasterSurface>, 4 * kMostPixelScale> kept;
    std::unique_ptr<plot::RasterSurface>& surface =
        kept[scaleIndex * kMostPixelScale + static_cast<std::size_t>(pixelScale - 1)];
    if (!surface) surface = std::make_unique<plot::RasterSurface>(scale, pixelScale);
    surface->SetPenColor({0, 0, 0});
    surface->SetPenWidth(1);
    surface->SetPenStyle(plot::PenStyle::Solid);
    surface->PlotPoint(0.0, 0.0);  // the pen's place; the pixel it sets goes with the Clear
    surface->Clear();
    return *surface;
}

plot::Rgb Colour(ByteSource& source)
{
    const int r = source.Byte(), g = source.Byte();
    return {r, g, source.Byte()};
}

}  // namespace

void FuzzChartRaster(std::string_view bytes)
{
    static constexpr std::array<plot::ChartScale, 4> kScales = {
        plot::kLeafChartScale, plot::kCanopyChartScale, plot::kSweepChartScale,
        plot::kLegendStripScale};
    constexpr int kMostOperations = 16;
    ByteSource source(bytes);
    const std::uint8_t first = source.Byte();
    const std::size_t scaleIndex = first % 4;
    const plot::ChartScale& scale = kScales[scaleIndex];
    const int pixelScale = std::max(1, (first >> 2) % 8 - 4);  // 1, 2 or 3
    plot::RasterSurface& raster = FreshSurface(scale, scaleIndex, pixelScale);
    const auto x = [&] { return Coordinate(source, scale.left, scale.right); };
    const auto y = [&] { return Coordinate(source, scale.bottom, scale.top); };
    for (int op = 0; op < kMostOperations && !source.Empty(); ++op) {
        switch (source.Byte() % 8) {
            case 0:
                raster.Clear();
                break;
            case 1:
                raster.SetPenColor(Colour(source));
                break;
            case 2:
                raster.SetPenWidth(PenWidth(source));
                break;
            case 3:
                raster.SetPenStyle(source.Byte() % 2 ? plot::PenStyle::Dashed
                                                     : plot::PenStyle::Solid);
                break;
            case 4: {
                const double px = x();
                raster.PlotPoint(px, y());
                break;
            }
            case 5: {
                const double px = x();
                raster.LineTo(px, y());
                break;
            }
            case 6: {
                const double x1 = x(), y1 = y(), x2 = x();
                raster.Line(x1, y1, x2, y());
                break;
            }
            default: {
                const double x1 = x(), y1 = y(), x2 = x(), y2 = y();
                raster.FilledBox(x1, y1, x2, y2, Colour(source));
                break;
            }
        }
    }
    Require(raster.image().width() == scale.widthPx * pixelScale
                && raster.image().height() == scale.heightPx * pixelScale,
            "The raster image changed its size while drawing.");
}

}  // namespace tulmera::fuzz
