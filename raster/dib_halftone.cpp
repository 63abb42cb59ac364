// Halftoning to a fixed palette: a 6 x 6 x 6 colour cube, reached by ordered (Bayer) dithering,
// which needs no state between pixels and so also serves scaled copies.
#include <algorithm>
#include <vector>

#include "raster/dib.h"
#include "raster/dib_rows.h"

namespace qm {

namespace {

constexpr int kCubeLevels = 6;  // levels per channel: 0, 51, 102, 153, 204, 255
constexpr int kLevelStep = 255 / (kCubeLevels - 1);

// A reduced pixel averages at most this many source columns (and rows), evenly spaced, so
// the work stays bounded by the size of the copy whatever the reduction.
constexpr int64_t kMaxBoxSamples = 16;

// Thresholds 0 to 63 spread so that every 2 x 2, 4 x 4 and 8 x 8 tile is balanced.
constexpr uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

// The source pixels a destination pixel averages: Count samples from First, Step apart.
struct SampleSpan {
    int32_t First = 0;
    int32_t Count = 1;
    int32_t Step = 1;
};

SampleSpan SpanOf(int32_t destIndex, int32_t destSize, int32_t sourceSize) {
    const int64_t first = int64_t{destIndex} * sourceSize / destSize;
    const int64_t end = std::max(int64_t{destIndex + 1} * sourceSize / destSize, first + 1);
    const int64_t step = (end - first + kMaxBoxSamples - 1) / kMaxBoxSamples;
    return SampleSpan{static_cast<int32_t>(first),
                      static_cast<int32_t>((end - first + step - 1) / step),
                      static_cast<int32_t>(step)};
}

void FillCubePalette(TDib& dib) {
    for (int red = 0; red < kCubeLevels; ++red) {
        for (int green = 0; green < kCubeLevels; ++green) {
            for (int blue = 0; blue < kCubeLevels; ++blue) {
                dib.ColorTable[red * 36 + green * 6 + blue] =
                    TRgbQuad{static_cast<uint8_t>(blue * kLevelStep),
                             static_cast<uint8_t>(green * kLevelStep),
                             static_cast<uint8_t>(red * kLevelStep), 0};
            }
        }
    }
}

// The cube level for a channel value: the lower neighbour level, raised by one where the
// value's remainder beats the pixel's threshold.
int DitherLevel(unsigned value, unsigned threshold) {
    const unsigned scaled = value * (kCubeLevels - 1);
    return static_cast<int>(scaled / 255 + (scaled % 255 > threshold ? 1 : 0));
}

uint8_t DitherPixel(const TRgbQuad& color, int32_t x, int32_t y) {
    const unsigned threshold = (kBayer[y % 8][x % 8] * 255u + 32) / 64;
    return static_cast<uint8_t>(DitherLevel(color.Red, threshold) * 36 +
                                DitherLevel(color.Green, threshold) * 6 +
                                DitherLevel(color.Blue, threshold));
}

TRgbQuad AverageColor(const TDib& source, const std::vector<const uint8_t*>& rows,
                      const SampleSpan& columns) {
    uint64_t blue = 0, green = 0, red = 0;
    for (const uint8_t* row : rows) {
        for (int32_t i = 0; i < columns.Count; ++i) {
            const TRgbQuad color = ColorInRow(source, row, columns.First + i * columns.Step);
            blue += color.Blue;
            green += color.Green;
            red += color.Red;
        }
    }
    const uint64_t count = rows.size() * static_cast<uint64_t>(columns.Count);
    return TRgbQuad{static_cast<uint8_t>((blue + count / 2) / count),
                    static_cast<uint8_t>((green + count / 2) / count),
                    static_cast<uint8_t>((red + count / 2) / count), 0};
}

void HalftoneRows(const TDib& source, TDib& dest) {
    const int32_t width = dest.Header.Width;
    const int32_t height = dest.Header.Height;
    std::vector<const uint8_t*> rows;
    for (int32_t y = 0; y < height; ++y) {
        const SampleSpan rowSpan = SpanOf(y, height, source.Header.Height);
        rows.clear();
        for (int32_t i = 0; i < rowSpan.Count; ++i) {
            rows.push_back(RowFromTop(source, rowSpan.First + i * rowSpan.Step));
        }
        uint8_t* out = RowFromTop(dest, y);
        for (int32_t x = 0; x < width; ++x) {
            const SampleSpan columns = SpanOf(x, width, source.Header.Width);
            out[x] = DitherPixel(AverageColor(source, rows, columns), x, y);
        }
    }
}

}  // namespace

bool DIBHalftoneDIB(TDib& dest, const TDib& src) {
    return DIBHalftoneDIBXY(dest, src, src.Header.Width, src.Header.Height);
}

bool DIBHalftoneDIBXY(TDib& dest, const TDib& src, int32_t width, int32_t height) {
    const TDib source = src;  // shares the pixels, so dest may be src itself
    if (!IsUsableDib(source) || !newdib(dest, width, height, 8, nullptr, 0)) {
        deldib(dest);
        return false;
    }
    FillCubePalette(dest);
    HalftoneRows(source, dest);
    return true;
}

}  // namespace qm
