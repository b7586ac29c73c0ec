// Full refreshes drawn into images, checked against checksums of the images and working files
// that an earlier, plainly written version of the number text, the field reader and the raster
// surface produced. Any change of a written digit or a drawn pixel shows here.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "plot/chart_geometry.h"
#include "plot/raster_surface.h"
#include "refresh/refresh.h"
#include "spectral/soil_library.h"
#include "support/work_dir.h"
#include "textio/working_files.h"

namespace tulmera::refresh {
namespace {

using canopy::Visibility;
using tulmera::testing::FileBytes;
using tulmera::testing::ScopedWorkDir;

// FNV-1a, 64 bits.
class Checksum {
public:
    void Add(std::string_view bytes)
    {
        for (const char c : bytes) {
            hash_ ^= static_cast<unsigned char>(c);
            hash_ *= 0x100000001b3u;
        }
    }
    void Add(const QImage& image)
    {
        const auto rowBytes = static_cast<std::size_t>(image.width()) * 4;
        Add(std::to_string(image.width()) + "x" + std::to_string(image.height()));
        for (int y = 0; y < image.height(); ++y) {
            Add(std::string_view(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes));
        }
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325u;
};

struct RefreshInput {
    leaf::LeafParameters leaf;
    canopy::CanopyInputs canopy;
};

// Scroll-bar values of the main window, from its start values to the ends of the ranges,
// sun at the horizon, the hot-spot geometry and every distribution.
std::array<RefreshInput, 5> Inputs()
{
    const auto soil = [](int i) { return std::string(spectral::kSoilKeys[i]); };
    return {{
        {leaf::kStartLeafParameters, canopy::StartCanopyInputs()},
        {{1.5, 40, 0.01, 0.005}, {3, 30, -20, 90, 0.05, "Esferico", soil(1), Visibility::Km50}},
        {{4, 90, 0.07, 0.04}, {7, 90, 75, 180, 1, "Erectofilo", soil(3), Visibility::Km15}},
        {{1.01, 22.5, 0.0123, 0.0371},
         {0.1, 45.5, -75, 12.5, 0.35, "Extremofilo", soil(2), Visibility::Km50}},
        {{2.37, 61.2, 0.0007, 0.0021},
         {4.4, 35, 35, 0, 0.5, "Plagiofilo", soil(0), Visibility::Km15}},
    }};
}

// Checksums of "VP.dat" and "VS.dat" after each input.
constexpr std::array<std::uint64_t, 5> kFileChecksums = {
    0x8ec1c2b5dff321c4, 0xd70045ad136323b8, 0x79f32c82b5657237,
    0xe618532f1da9dd91, 0x92590fc22513d2e3,
};

// Checksums of both chart images after the refresh of input `input` (0 .. 4) with
// background `background` (0: none, 1: grid, 2 .. 10: sensors), at pixel scales 1, 2 and 3.
// Each scale has its own pair of surfaces, refreshed in the order of this table, so pens
// inherited from the previous refresh are part of the result.
struct ImageRow {
    int input;
    int background;
    std::array<std::uint64_t, 3> checksums;
};

// clang-format off
constexpr ImageRow kImageChecksums[] = {
    {0, 0, {0x410eab5f076ddb20, 0x7a6825abd2a4d6b0, 0x34525e619541dfec}},
    {0, 1, {0xe21660e09eff08a9, 0x4f2651c0fff37561, 0x5c418de40f955a0d}},
    {0, 2, {0x0ded2ec454ad4c7c, 0xf060cd317381e1fe, 0xe6242e2169b0006d}},
    {0, 3, {0x1662f4e6d4ada448, 0xe3d5f91b22cc86b4, 0xb86f16df3583d994}},
    {0, 4, {0xa3e7e82879ed10e8, 0x90a01add20f726f3, 0x269054748b73c5d5}},
    {0, 5, {0x76138cd33f6f444d, 0x0d5fd38c432fd55f, 0x6f4109c923648bd9}},
    {0, 6, {0xe5b94e641964181a, 0xd6ad7cf559fbaa74, 0x9cb37e7eb5962d98}},
    {0, 7, {0x2e3badd5aab34701, 0xabf54a4679d41027, 0xa4349ece9215fd69}},
    {0, 8, {0x41b2895564052766, 0x50a262eb46b18f1f, 0x678961e3b7c4e4e5}},
    {0, 9, {0x1a3b3b79fa26c490, 0x9cbe09e17c9e19db, 0xc24f6a62317ff40a}},
    {0, 10, {0x6c8d2dcd9459a692, 0x27aba5c5d482bb66, 0x7fcbe8d351845c16}},
    {1, 0, {0x7995d3d38f796b13, 0x34ae6a2bf6a93867, 0x0351bcca7a3f1a2f}},
    {1, 1, {0x2e2dc93daa1db5a1, 0x6df5b7477743d3b2, 0xad5cccfb36c2e6ff}},
    {1, 2, {0x49cd442b0e946dc9, 0x3a96b52734b34d31, 0xc6567367e2885f7b}},
    {1, 3, {0x7a7247d9efa358d9, 0x51494200f34c16b7, 0x03caf8b77b4ed7d3}},
    {1, 4, {0x05aac65ca9f62aed, 0x974eb60553e14301, 0x9ebd8b6996051c2e}},
    {1, 5, {0x86c384b67b27f5c0, 0x85779040a7c7797f, 0x6f1a9db17cc93680}},
    {1, 6, {0xd0e08328db6a2f1f, 0xca3382e7feb63c80, 0x284482c4db8edbbe}},
    {1, 7, {0x41fc913db5aa4baf, 0x1c0b7cc2be90b306, 0xb581026604489924}},
    {1, 8, {0xcf633b74a1f3a25f, 0x1401defbb181b9dd, 0x2c4ab907efb4636f}},
    {1, 9, {0xdaa168a7d1a25ef5, 0x67ef3c845a7b1f04, 0xdff44e7aa4e8942b}},
    {1, 10, {0xc5d7b9ef3b7f5602, 0x8bd9845960c55f8f, 0xd933d98bcf07d1cd}},
    {2, 0, {0xfa90374de752707c, 0xb6da3c120cfe18d0, 0xdc85e74bef3be385}},
    {2, 1, {0x7b7267c51dbde54c, 0x99894da0a964052e, 0x9a13c3b686d96d17}},
    {2, 2, {0x4d16515cfd8bfbdf, 0x22915b28194c38e4, 0x15b5fb3627edcaaf}},
    {2, 3, {0xffb29c2e542d81e8, 0xd7c3716e7b7ba9bc, 0xc553515dbfb73835}},
    {2, 4, {0x6ce230cbd9031dc3, 0x8c53dd2141565b3b, 0xeb2d27549c3c480f}},
    {2, 5, {0x97d9d134a8b6c76a, 0xa2999f6ac7752492, 0x5587f2daf1a591e4}},
    {2, 6, {0x9053e4f68d09acce, 0x127bfb33c9250f29, 0x7c830ef8e9c0e5fd}},
    {2, 7, {0x42498018c17ec4b9, 0x76410015012c0507, 0xc80bd5e9847b6fe6}},
    {2, 8, {0x56f3093d1333b80e, 0x2a1105f6f6c2891b, 0x806371e15533188b}},
    {2, 9, {0x9dc6797eb387dfe8, 0xac94614acf4c47de, 0x5b43acbf12c2b2cb}},
    {2, 10, {0xcf11dc2b2e6cdbaf, 0x0f40d787a3143465, 0x0e7a0dca117c492c}},
    {3, 0, {0xf0e915fd8b935f0c, 0x3eca7c23c26a7f1c, 0x9da6e8967dee4c35}},
    {3, 1, {0x95da8733216d9fe2, 0xdf5677778d89b98f, 0x6e551c9815a231c5}},
    {3, 2, {0xc083fe75841c2a22, 0xa9f3f5284324bf00, 0x0bab316e3bee1e23}},
    {3, 3, {0x73866b8fa0331e13, 0x86f67aa741fa1003, 0xf304ce4e02a48e95}},
    {3, 4, {0x4536cc6db937d10f, 0xabf22c50e49ae1eb, 0x2f6c39f0e85fb056}},
    {3, 5, {0xadcf6a15ce497e71, 0x9d6ee3b50b2e95bc, 0x9fbf269b8b2d2e73}},
    {3, 6, {0x79c5b6a33c2084ca, 0x6cf96ab1f229e1f6, 0x0571423da73f301c}},
    {3, 7, {0x7e3eca68354e6fcd, 0x3896c8a669f1aa2a, 0xe41d5b2851b39afe}},
    {3, 8, {0x24fbf197b89ff82a, 0xa34f0db5189dca8b, 0x2ec0663500dc9fa7}},
    {3, 9, {0x095831e8c20e7105, 0x0d0bd644970b1f17, 0x10a96272c7146454}},
    {3, 10, {0x98395de014b0d2b9, 0x6f6892871f999fc5, 0x50a09b77dacf7913}},
    {4, 0, {0xd06719dc8f6e7376, 0xf4bf4d79cea778fb, 0x58490349859c6d27}},
    {4, 1, {0x48dddf62fceb9f20, 0xb0330e4050c79819, 0xa311989784b9d84c}},
    {4, 2, {0x2a2a4ad87eeefbc4, 0x6fa0ec15ee1b592f, 0x87248fe96267cf05}},
    {4, 3, {0xb57d0d0a57b56a86, 0xd119655be7b83fe5, 0x296dad5e8835a726}},
    {4, 4, {0x19b45a7a42a0e916, 0x77eefaa099077b5a, 0x2205323c4b425992}},
    {4, 5, {0xb3d2496367ccacbd, 0x91b66fa5a3cc8d7f, 0x2dcc5d91bcba7fd3}},
    {4, 6, {0xe1374011ac72c6d4, 0xd98b34522fd0f7f9, 0xf5b5dc078963ef3e}},
    {4, 7, {0x7f88312b4f5dec2b, 0x0d55e111413d4c9a, 0x89e3f833079fe2bd}},
    {4, 8, {0xbedaa8850c2331ec, 0x7f03e3b9ff6cbcbc, 0x2069d998b1e57814}},
    {4, 9, {0x11dd00f01d77bf4a, 0x69cdb40455d26444, 0x4629683a75367f88}},
    {4, 10, {0xf783d73b606128c6, 0x90eb04d502879886, 0x77bcd0707bf47e62}},
};
// clang-format on

std::string Hex(std::uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%016llx", static_cast<unsigned long long>(value));
    return text;
}

TEST(RefreshImages, EveryDigitAndPixelStaysAsBefore)
{
    ScopedWorkDir dir;
    const std::array<RefreshInput, 5> inputs = Inputs();
    struct Charts {
        plot::RasterSurface leaf, canopy;
        canopy::CanopyState state;
    };
    std::array<Charts, 3> charts = {{
        {plot::RasterSurface(plot::kLeafChartScale, 1),
         plot::RasterSurface(plot::kCanopyChartScale, 1),
         {}},
        {plot::RasterSurface(plot::kLeafChartScale, 2),
         plot::RasterSurface(plot::kCanopyChartScale, 2),
         {}},
        {plot::RasterSurface(plot::kLeafChartScale, 3),
         plot::RasterSurface(plot::kCanopyChartScale, 3),
         {}},
    }};
    std::string table;  // the actual values in the layout of kImageChecksums
    std::size_t row = 0;
    for (int input = 0; input < static_cast<int>(inputs.size()); ++input) {
        const RefreshInput& in = inputs[static_cast<std::size_t>(input)];
        for (int background = 0; background <= plot::kBackgroundEntryCount; ++background) {
            std::array<std::uint64_t, 3> actual{};
            for (std::size_t k = 0; k < charts.size(); ++k) {
                Charts& c = charts[k];
                Recompute(in.leaf, in.canopy, c.state, {c.leaf, c.canopy},
                          plot::ChartBackground{background});
                Checksum sum;
                sum.Add(c.leaf.image());
                sum.Add(c.canopy.image());
                actual[k] = sum.value();
            }
            table += "    {" + std::to_string(input) + ", " + std::to_string(background) + ", {"
                     + Hex(actual[0]) + ", " + Hex(actual[1]) + ", " + Hex(actual[2]) + "}},\n";
            const ImageRow expected =
                row < std::size(kImageChecksums) ? kImageChecksums[row] : ImageRow{-1, -1, {}};
            ++row;
            EXPECT_EQ(expected.input, input);
            EXPECT_EQ(expected.background, background);
            EXPECT_EQ(Hex(expected.checksums[0]), Hex(actual[0]))
                << "input " << input << ", background " << background << ", scale 1";
            EXPECT_EQ(Hex(expected.checksums[1]), Hex(actual[1]))
                << "input " << input << ", background " << background << ", scale 2";
            EXPECT_EQ(Hex(expected.checksums[2]), Hex(actual[2]))
                << "input " << input << ", background " << background << ", scale 3";
        }
        Checksum files;
        files.Add(FileBytes(kLeafSpectrumFile));
        files.Add(FileBytes(kCanopySpectrumFile));
        EXPECT_EQ(Hex(kFileChecksums[static_cast<std::size_t>(input)]), Hex(files.value()))
            << "files of input " << input;
    }
    EXPECT_EQ(row, std::size(kImageChecksums));
    if (HasFailure()) std::printf("Actual image checksums:\n%s", table.c_str());
}

}  // namespace
}  // namespace tulmera::refresh
