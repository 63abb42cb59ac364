// Device-independent bitmaps inside metafile records ([MS-WMF] 2.2.2.9): the header, the colour
// table and the pixel rows, turned into a Cairo surface. Uncompressed bitmaps of 1, 4, 8, 16,
// 24 and 32 bits are read; every size is checked against the bytes the record really holds.
#include <array>
#include <bit>
#include <vector>

#include "metafile/metafile_context.h"

namespace qm {

namespace {

constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitFields = 3;
constexpr uint16_t kColorUsagePalette = 1;
// A bitmap in a metafile is drawn from a copy at 4 bytes per pixel; 2^24 pixels (64 MiB) holds
// a page-sized scan at 300 dots per inch.
constexpr int64_t kMaxDibPixels = int64_t{1} << 24;
// Cairo's image surfaces are at most this wide and high.
constexpr int32_t kMaxDibSide = 32767;

struct TDibHeader {
    int32_t Width = 0;
    int32_t Height = 0;  // positive: rows stored bottom-up
    uint16_t BitCount = 0;
    uint32_t Compression = kCompressionNone;
    uint32_t ColorsUsed = 0;
    bool Core = false;
    std::array<uint32_t, 3> Masks{};  // red, green, blue for 16 and 32 bits
};

bool ReadHeader(ByteReader& r, TDibHeader& h) {
    uint32_t size = 0;
    if (!r.U32(size)) return false;
    if (size == kCoreHeaderBytes) {
        uint16_t width = 0, height = 0, planes = 0;
        h.Core = true;
        if (!r.U16(width) || !r.U16(height) || !r.U16(planes) || !r.U16(h.BitCount)) return false;
        h.Width = width, h.Height = height;
        return true;
    }
    if (size < kInfoHeaderBytes || size - 4 > r.Remaining()) return false;
    const size_t start = r.Pos() - 4;
    uint16_t planes = 0;
    uint32_t sizeImage = 0;
    int32_t xPixels = 0, yPixels = 0;
    r.I32(h.Width), r.I32(h.Height), r.U16(planes), r.U16(h.BitCount), r.U32(h.Compression);
    r.U32(sizeImage), r.I32(xPixels), r.I32(yPixels), r.U32(h.ColorsUsed);
    if (h.Compression == kCompressionBitFields) {
        // The masks follow the header, or end it in the longer header versions.
        if (size > kInfoHeaderBytes)
            r.Seek(start + kInfoHeaderBytes);
        else
            r.Seek(start + size);
        for (uint32_t& mask : h.Masks)
            if (!r.U32(mask)) return false;
        if (size <= kInfoHeaderBytes) return true;
    }
    return r.Seek(start + size);
}

void DefaultMasks(TDibHeader& h) {
    if (h.Compression == kCompressionBitFields) return;
    if (h.BitCount == 16) h.Masks = {0x7C00, 0x03E0, 0x001F};
    if (h.BitCount == 32) h.Masks = {0xFF0000, 0x00FF00, 0x0000FF};
}

bool Supported(const TDibHeader& h) {
    const bool depth = h.BitCount == 1 || h.BitCount == 4 || h.BitCount == 8 || h.BitCount == 16 ||
                       h.BitCount == 24 || h.BitCount == 32;
    const bool bitFields =
        h.Compression == kCompressionBitFields && (h.BitCount == 16 || h.BitCount == 32);
    const int64_t height = h.Height < 0 ? -int64_t{h.Height} : h.Height;
    return depth && (h.Compression == kCompressionNone || bitFields) && h.Width > 0 && height > 0 &&
           h.Width <= kMaxDibSide && height <= kMaxDibSide &&
           int64_t{h.Width} * height <= kMaxDibPixels;
}

// The colour table as 0x00RRGGBB words (Cairo's order).
bool ReadColors(const TWmfPalette& palette, ByteReader& r, const TDibHeader& h, uint16_t colorUsage,
                std::vector<uint32_t>& colors) {
    uint64_t count = h.ColorsUsed;
    if (count == 0 && h.BitCount <= 8) count = uint64_t{1} << h.BitCount;
    const size_t entryBytes = colorUsage == kColorUsagePalette ? 2 : h.Core ? 3 : 4;
    if (count > r.Remaining() / entryBytes) return false;
    colors.reserve(static_cast<size_t>(count));
    for (uint64_t i = 0; i < count; ++i) {
        uint32_t bgr = 0;  // 0x00BBGGRR
        if (colorUsage == kColorUsagePalette) {
            uint16_t index = 0;
            r.U16(index);
            bgr = index < palette.Colors.size() ? palette.Colors[index] : kWmfBlack;
        } else {
            uint8_t blue = 0, green = 0, red = 0, reserved = 0;
            r.U8(blue), r.U8(green), r.U8(red);
            if (!h.Core) r.U8(reserved);
            bgr = (uint32_t{blue} << 16) | (uint32_t{green} << 8) | red;
        }
        colors.push_back(((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF));
    }
    return true;
}

uint32_t MaskedChannel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    const uint32_t shifted = (value & mask) >> std::countr_zero(mask);
    const uint32_t top = mask >> std::countr_zero(mask);
    return static_cast<uint32_t>(uint64_t{shifted} * 255 / top);
}

uint32_t PixelAt(const TDibHeader& h, const uint8_t* row, int32_t x,
                 const std::vector<uint32_t>& colors) {
    auto indexed = [&](uint32_t index) { return index < colors.size() ? colors[index] : 0u; };
    switch (h.BitCount) {
        case 1:
            return indexed((row[x / 8] >> (7 - x % 8)) & 1);
        case 4:
            return indexed(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
        case 8:
            return indexed(row[x]);
        case 24:
            return (uint32_t{row[3 * x + 2]} << 16) | (uint32_t{row[3 * x + 1]} << 8) | row[3 * x];
        default:
            break;
    }
    uint32_t value = 0;
    const int bytes = h.BitCount / 8;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | row[bytes * x + i];
    return (MaskedChannel(value, h.Masks[0]) << 16) | (MaskedChannel(value, h.Masks[1]) << 8) |
           MaskedChannel(value, h.Masks[2]);
}

TCairoSurface MakeSurface(const TDibHeader& h, std::span<const uint8_t> bits, size_t rowBytes,
                          const std::vector<uint32_t>& colors) {
    const int32_t height = h.Height < 0 ? -h.Height : h.Height;
    TCairoSurface surface =
        OwnSurface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, h.Width, height));
    if (!surface) return surface;
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int32_t y = 0; y < height; ++y) {
        const size_t stored = h.Height < 0 ? size_t(y) : size_t(height - 1 - y);
        const uint8_t* row = bits.data() + stored * rowBytes;
        auto* dest = reinterpret_cast<uint32_t*>(data + ptrdiff_t{y} * stride);
        for (int32_t x = 0; x < h.Width; ++x)
            dest[x] = PixelAt(h, row, x, colors);
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

}  // namespace

bool DecodeDib(const TWmfPalette& palette, ByteReader& info, ByteReader& r, uint16_t colorUsage,
               TCairoSurface& surface) {
    surface.reset();
    TDibHeader h;
    if (!ReadHeader(info, h)) return false;
    std::vector<uint32_t> colors;
    if (!ReadColors(palette, info, h, colorUsage, colors)) return false;
    if (!Supported(h)) return true;
    DefaultMasks(h);
    const int64_t height = h.Height < 0 ? -int64_t{h.Height} : h.Height;
    const size_t rowBytes = static_cast<size_t>((int64_t{h.Width} * h.BitCount + 31) / 32 * 4);
    if (static_cast<uint64_t>(height) > r.Remaining() / rowBytes) return false;
    std::span<const uint8_t> bits;
    r.Bytes(rowBytes * static_cast<size_t>(height), bits);
    surface = MakeSurface(h, bits, rowBytes, colors);
    return true;
}

}  // namespace qm
