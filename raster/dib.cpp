#include "raster/dib.h"

#include <algorithm>
#include <new>

#include "raster/dib_rows.h"

namespace qm {

namespace {

bool IsValidShape(int32_t width, int32_t height, int bitsPerPixel) {
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24) {
        return false;
    }
    if (width <= 0 || height <= 0) return false;
    return int64_t{width} * height <= kMaxPixels;
}

void CopyColors(TDib& dib, const TDib* colorSource, int colorCount) {
    if (colorSource == nullptr || colorCount <= 0) return;
    const size_t count = std::min(
        {static_cast<size_t>(colorCount), dib.ColorTable.size(), colorSource->ColorTable.size()});
    std::copy_n(colorSource->ColorTable.begin(), count, dib.ColorTable.begin());
}

}  // namespace

bool newdib(TDib& dib, int32_t width, int32_t height, int bitsPerPixel, const TDib* colorSource,
            int colorCount) {
    TDib created;
    if (!IsValidShape(width, height, bitsPerPixel)) {
        dib = TDib{};
        return false;
    }
    created.Header.Width = width;
    created.Header.Height = height;
    created.Header.BitCount = static_cast<uint16_t>(bitsPerPixel);
    created.BytesPerRow = PaddedRowBytes(width, bitsPerPixel);
    // At most 2^28 pixels of 3 bytes plus padding: far below 2^32.
    const int64_t blockSize = int64_t{created.BytesPerRow} * height;
    created.Header.SizeImage = static_cast<uint32_t>(blockSize);
    try {
        if (bitsPerPixel <= 8) {
            created.ColorTable.resize(size_t{1} << bitsPerPixel);
            created.PaletteFlag = 1;
        }
        created.PixelBlock = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(blockSize));
    } catch (const std::bad_alloc&) {
        dib = TDib{};
        return false;
    }
    // Copied after the table exists, so colorSource may be dib itself.
    CopyColors(created, colorSource, colorCount);
    dib = std::move(created);
    return true;
}

void deldib(TDib& dib) {
    dib = TDib{};
}

uint32_t getpixel(const TDib& dib, int32_t x, int32_t y) {
    if (!IsUsableDib(dib) || x < 0 || x >= dib.Header.Width) return 0;
    const uint8_t* row = RowFromTop(dib, y);
    if (row == nullptr) return 0;
    if (dib.Header.BitCount <= 8) return PaletteIndexInRow(row, x, dib.Header.BitCount);
    const uint8_t* pixel = row + int64_t{x} * 3;
    return pixel[2] | uint32_t{pixel[1]} << 8 | uint32_t{pixel[0]} << 16;
}

void setpixel(TDib& dib, int32_t x, int32_t y, uint32_t value) {
    if (!IsUsableDib(dib) || x < 0 || x >= dib.Header.Width) return;
    uint8_t* row = RowFromTop(dib, y);
    if (row == nullptr) return;
    switch (dib.Header.BitCount) {
        case 1: {
            const uint8_t bit = static_cast<uint8_t>(0x80u >> (x % 8));
            row[x / 8] = (value & 1u) ? (row[x / 8] | bit) : (row[x / 8] & ~bit);
            break;
        }
        case 4: {
            uint8_t& pair = row[x / 2];
            const uint8_t nibble = value & 0x0Fu;
            pair = x % 2 == 0 ? (pair & 0x0F) | nibble << 4 : (pair & 0xF0) | nibble;
            break;
        }
        case 8:
            row[x] = static_cast<uint8_t>(value);
            break;
        default: {
            uint8_t* pixel = row + int64_t{x} * 3;
            pixel[0] = static_cast<uint8_t>(value >> 16);
            pixel[1] = static_cast<uint8_t>(value >> 8);
            pixel[2] = static_cast<uint8_t>(value);
            break;
        }
    }
}

int64_t PowerOfTwo(int n) {
    // Doubling stops at 2^62, the largest power an int64_t holds.
    int64_t result = 1;
    for (int i = 0; i < n && i < 62; ++i)
        result *= 2;
    return result;
}

int64_t DIBColorCount(const TDib& dib) {
    return PowerOfTwo(DIBBitCount(dib));
}

}  // namespace qm
