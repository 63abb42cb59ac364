#include "word/colors.h"

#include <cmath>

#include "base/byte_reader.h"

namespace qm {

namespace {

constexpr int32_t kIcoColors[17] = {
    0,        0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF, 0x0000FF, 0x00FFFF, 0xFFFFFF,
    0x800000, 0x808000, 0x008000, 0x800080, 0x000080, 0x008080, 0x808080, 0xC0C0C0,
};

// Patterns 1 to 13: solid and the plain percentages.
constexpr double kPlainPercents[14] = {0, 100, 5, 10, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90};
// Patterns 35 to 62: the finer percentages.
constexpr double kFinePercents[28] = {2.5,  7.5,  12.5, 15,   17.5, 22.5, 27.5, 32.5, 35,   37.5,
                                      42.5, 45,   47.5, 52.5, 55,   57.5, 62.5, 65,   67.5, 72.5,
                                      77.5, 82.5, 85,   87.5, 92.5, 95,   97.5, 97};

}  // namespace

int32_t IcoColor(uint32_t ico, int32_t fallback) {
    return ico >= 1 && ico <= 16 ? kIcoColors[ico] : fallback;
}

double ShadingPercent(uint32_t pattern) {
    if (pattern <= 13) return kPlainPercents[pattern];
    if (pattern <= 25) return 50;  // the line and grid patterns
    if (pattern >= 35 && pattern <= 62) return kFinePercents[pattern - 35];
    return 0;
}

int32_t BlendShading(int32_t fore, int32_t back, uint32_t pattern) {
    const double p = ShadingPercent(pattern);
    int32_t color = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double f = (fore >> shift) & 0xFF;
        const double b = (back >> shift) & 0xFF;
        const auto channel = static_cast<int32_t>(std::trunc((f * p + b * (100 - p)) / 100));
        color |= channel << shift;
    }
    return color;
}

bool ShadingColor(uint16_t shd, int32_t& color) {
    const uint32_t fore = shd & 0x1F;
    const uint32_t back = (shd >> 5) & 0x1F;
    if (fore == 0 && back == 0) return false;
    // "Auto" is black in front of the pattern and white behind it, as Word paints it: a 10 per
    // cent pattern on an automatic background is a light grey, not nearly black.
    color = BlendShading(IcoColor(fore), IcoColor(back, 0xFFFFFF), shd >> 10);
    return true;
}

int32_t ColorRefColor(uint32_t cv, int32_t automatic) {
    return (cv >> 24) == 0xFF ? automatic : static_cast<int32_t>(cv & 0xFFFFFF);
}

int32_t ShadingColor24(std::span<const uint8_t> shd) {
    constexpr uint16_t kNilPattern = 0xFFFF;
    ByteReader r(shd);
    uint32_t fore = 0, back = 0;
    uint16_t pattern = 0;
    if (!r.U32(fore) || !r.U32(back) || !r.U16(pattern) || pattern == kNilPattern) return -1;
    // An automatic background is no shading under a clear pattern, white under any other.
    if (pattern == 0 && ColorRefColor(back, -1) < 0) return -1;
    return BlendShading(ColorRefColor(fore, 0), ColorRefColor(back, 0xFFFFFF), pattern);
}

}  // namespace qm
