// Device-independent bitmaps: creation, pixel access, JPEG/PNG loading, JPEG saving and halftoning.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qm {

// Format codes of OpenDib and SaveDib.
inline constexpr int kFormatJpeg = 7;
inline constexpr int kFormatPng = 14;

// The largest image we allocate: 2^28 pixels is 768 MiB at 24 bits, far beyond any picture a
// document shows, and small enough that width * height * 4 never overflows 64 bits.
inline constexpr int64_t kMaxPixels = int64_t{1} << 28;

// One colour-table entry, in the byte order of a Windows RGBQUAD.
struct TRgbQuad {
    uint8_t Blue = 0;
    uint8_t Green = 0;
    uint8_t Red = 0;
    uint8_t Reserved = 0;
    bool operator==(const TRgbQuad&) const = default;
};

// The bitmap header fields the program reads.
struct TBitmapInfoHeader {
    int32_t Width = 0;
    int32_t Height = 0;  // positive: rows are stored bottom-up
    uint16_t BitCount = 0;
    uint32_t SizeImage = 0;  // bytes of the pixel block: BytesPerRow * Height
};

// An image descriptor. Copies are cheap and share the pixel block; deldib drops this
// descriptor's share. Pixels are rows of BytesPerRow bytes (padded to a multiple of 4),
// bottom row first; 24-bit pixels are blue, green, red.
struct TDib {
    TBitmapInfoHeader Header;
    std::vector<TRgbQuad> ColorTable;  // 2^BitCount entries for depths up to 8, else empty
    std::shared_ptr<std::vector<uint8_t>> PixelBlock;
    int32_t BytesPerRow = 0;
    uint8_t PaletteFlag = 0;  // 1 when the image carries a palette for palette displays

    bool HasImage() const { return PixelBlock != nullptr; }
    uint8_t* Pixels() { return PixelBlock ? PixelBlock->data() : nullptr; }
    const uint8_t* Pixels() const { return PixelBlock ? PixelBlock->data() : nullptr; }
};

// Creates an empty (zeroed) image of the given shape. bitsPerPixel is 1, 4, 8 or 24.
// colorCount entries of the colour table are copied from colorSource when it is given (the
// rest stay black). Returns false and leaves dib without pixels when the shape is invalid,
// exceeds kMaxPixels, or memory is short.
bool newdib(TDib& dib, int32_t width, int32_t height, int bitsPerPixel,
            const TDib* colorSource, int colorCount);

// Releases this descriptor's share of the pixels; the descriptor becomes empty.
void deldib(TDib& dib);

// Pixel access; y counts rows from the top of the image. Coordinates outside the image read 0
// and write nothing. getpixel returns the colour-table index for depths up to 8 and the colour
// 0x00BBGGRR for 24-bit images; setpixel takes the same.
uint32_t getpixel(const TDib& dib, int32_t x, int32_t y);
void setpixel(TDib& dib, int32_t x, int32_t y, uint32_t value);

// Loads a JPEG (kFormatJpeg) or PNG (kFormatPng) image. On any failure (unreadable, corrupt,
// truncated, unsupported, larger than kMaxPixels) dib is left without pixels and false is
// returned; the process never exits and nothing is printed.
// Every picture loads as a 24-bit image, greyscale included; transparency is composited over
// white. A header claiming more pixels than its compressed data could describe is refused
// before anything is allocated. When the bytes carry the other format's signature, the
// signature decides.
bool OpenDib(TDib& dib, const std::string& fileName, int format);
bool OpenDibMemory(TDib& dib, std::span<const uint8_t> bytes, int format);

// Saves as a baseline JPEG with three 8-bit components (format kFormatJpeg; any depth is
// expanded to 24 bits). SaveDib returns 1 on success, 0 otherwise.
int SaveDib(const TDib& dib, const std::string& fileName, int format, int reserved);
bool SaveDibMemory(const TDib& dib, int format, std::vector<uint8_t>& out);

// A halftoned 8-bit copy (fixed palette) of src, at src's size or scaled to width x height.
bool DIBHalftoneDIB(TDib& dest, const TDib& src);
bool DIBHalftoneDIBXY(TDib& dest, const TDib& src, int32_t width, int32_t height);

// Small accessors.
inline int32_t DIBWidth(const TDib& dib) { return dib.Header.Width; }
inline int32_t DIBHeight(const TDib& dib) { return dib.Header.Height; }
inline int DIBBitCount(const TDib& dib) { return dib.Header.BitCount; }
int64_t PowerOfTwo(int n);
int64_t DIBColorCount(const TDib& dib);

}  // namespace qm
