// PNG decoding through libpng's simplified reader, which catches libpng's errors itself (no
// longjmp reaches our frames) and performs every expansion: palettes, greyscale, 16-bit
// samples, transparency and interlacing all end as 8-bit blue, green, red.
#include <png.h>

#include <algorithm>
#include <array>
#include <optional>

#include "base/byte_reader.h"
#include "raster/dib_codecs.h"

namespace qm {

namespace {

constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Deflate cannot describe more than 258 bytes in two bits, so compressed data never expands more
// than 1032 times; a header that needs more raw data than that is refused before allocating.
constexpr uint64_t kMaxDeflateRatio = 1032;

// What the chunk walk finds before libpng is asked: the header, the amount of image data, and
// that the file goes on to its end chunk (so a cut file is refused even after its last row).
struct PngLayout {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint8_t BitDepth = 0;
    uint8_t ColorType = 0;
    uint64_t DataBytes = 0;
    bool HasHeader = false;
    bool HasEnd = false;
};

bool IsChunk(std::span<const uint8_t> type, const char* name) {
    return std::equal(type.begin(), type.end(), name);
}

void ReadHeaderChunk(std::span<const uint8_t> data, PngLayout& layout) {
    if (data.size() != 13) return;
    ByteReader header(data);
    layout.HasHeader = header.U32Be(layout.Width) && header.U32Be(layout.Height) &&
                       header.U8(layout.BitDepth) && header.U8(layout.ColorType);
}

// Walks the chunk list ([PNG] 5.3: length, type, data, CRC) up to the end chunk. Returns
// nothing when the signature is missing or a chunk runs past the end of the bytes.
std::optional<PngLayout> WalkChunks(std::span<const uint8_t> bytes) {
    if (bytes.size() < kPngSignature.size() ||
        !std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin())) {
        return std::nullopt;
    }
    PngLayout layout;
    ByteReader chunks(bytes);
    chunks.Skip(kPngSignature.size());
    while (!layout.HasEnd) {
        const bool first = chunks.Pos() == kPngSignature.size();
        uint32_t length = 0;
        std::span<const uint8_t> type, data;
        if (!chunks.U32Be(length) || !chunks.Bytes(4, type) || !chunks.Bytes(length, data) ||
            !chunks.Skip(4)) {
            return std::nullopt;  // a chunk runs past the end of the bytes
        }
        if (IsChunk(type, "IHDR") && first) ReadHeaderChunk(data, layout);
        if (IsChunk(type, "IDAT")) layout.DataBytes += length;
        layout.HasEnd = IsChunk(type, "IEND");
    }
    return layout;
}

unsigned SamplesPerPixel(uint8_t colorType) {
    switch (colorType) {
        case PNG_COLOR_TYPE_RGB:
            return 3;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return 4;
        default:
            return 1;
    }
}

bool IsPlausible(const PngLayout& layout) {
    if (!layout.HasHeader || layout.Width == 0 || layout.Height == 0) return false;
    if (uint64_t{layout.Width} * layout.Height > static_cast<uint64_t>(kMaxPixels)) return false;
    // Each row is a filter byte and the packed samples ([PNG] 7.2).
    const uint64_t rowBits =
        uint64_t{layout.Width} * SamplesPerPixel(layout.ColorType) * layout.BitDepth;
    const uint64_t rawBytes = layout.Height * (1 + (rowBits + 7) / 8);
    return rawBytes / kMaxDeflateRatio <= layout.DataBytes;
}

// Owns libpng's state for one read; png_image_free is safe at any stage.
struct PngReadJob {
    png_image Image{};

    PngReadJob() { Image.version = PNG_IMAGE_VERSION; }
    PngReadJob(const PngReadJob&) = delete;
    PngReadJob& operator=(const PngReadJob&) = delete;
    ~PngReadJob() { png_image_free(&Image); }
};

bool ReadInto(PngReadJob& job, const PngLayout& layout, TDib& dib) {
    png_image& image = job.Image;
    if (image.width != layout.Width || image.height != layout.Height) return false;
    image.format = PNG_FORMAT_BGR;
    // Without a gamma chunk libpng takes 16-bit samples as linear light; writers mean them
    // as ordinary (sRGB-like) values just as 8-bit ones.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    if (!newdib(dib, static_cast<int32_t>(image.width), static_cast<int32_t>(image.height), 24,
                nullptr, 0)) {
        return false;
    }
    const png_color white = {255, 255, 255};
    // A negative stride: the buffer starts with the bottom row, as the bitmap stores it.
    return png_image_finish_read(&image, &white, dib.Pixels(), -dib.BytesPerRow, nullptr) != 0;
}

}  // namespace

bool DecodePng(std::span<const uint8_t> bytes, TDib& dib) {
    deldib(dib);
    const std::optional<PngLayout> layout = WalkChunks(bytes);
    if (!layout || !IsPlausible(*layout)) return false;
    PngReadJob job;
    if (!png_image_begin_read_from_memory(&job.Image, bytes.data(), bytes.size())) return false;
    if (!ReadInto(job, *layout, dib)) {
        deldib(dib);
        return false;
    }
    return true;
}

}  // namespace qm
