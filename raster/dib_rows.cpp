#include "raster/dib_rows.h"

#include <cstring>

namespace qm {

namespace {

bool IsSupportedDepth(int bitsPerPixel) {
    return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 24;
}

}  // namespace

uint32_t PaletteIndexInRow(const uint8_t* row, int32_t x, int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
            return (row[x / 8] >> (7 - x % 8)) & 1u;
        case 4:
            return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0Fu;
        default:
            return row[x];
    }
}

int32_t PaddedRowBytes(int32_t width, int bitsPerPixel) {
    if (width <= 0 || bitsPerPixel <= 0) return 0;
    const int64_t bytes = (int64_t{width} * bitsPerPixel + 31) / 32 * 4;
    return bytes > INT32_MAX ? 0 : static_cast<int32_t>(bytes);
}

bool IsUsableDib(const TDib& dib) {
    const TBitmapInfoHeader& header = dib.Header;
    if (!dib.HasImage() || header.Width <= 0 || header.Height <= 0) return false;
    if (!IsSupportedDepth(header.BitCount)) return false;
    const int32_t minRow = PaddedRowBytes(header.Width, header.BitCount);
    if (minRow == 0 || dib.BytesPerRow < minRow) return false;
    return int64_t{dib.BytesPerRow} * header.Height <= static_cast<int64_t>(dib.PixelBlock->size());
}

const uint8_t* RowFromTop(const TDib& dib, int32_t y) {
    if (y < 0 || y >= dib.Header.Height) return nullptr;
    const int64_t storedRow = int64_t{dib.Header.Height} - 1 - y;
    return dib.Pixels() + storedRow * dib.BytesPerRow;
}

uint8_t* RowFromTop(TDib& dib, int32_t y) {
    return const_cast<uint8_t*>(RowFromTop(static_cast<const TDib&>(dib), y));
}

TRgbQuad ColorInRow(const TDib& dib, const uint8_t* row, int32_t x) {
    if (dib.Header.BitCount == 24) {
        const uint8_t* pixel = row + int64_t{x} * 3;
        return TRgbQuad{pixel[0], pixel[1], pixel[2], 0};
    }
    const uint32_t index = PaletteIndexInRow(row, x, dib.Header.BitCount);
    if (index >= dib.ColorTable.size()) return TRgbQuad{};
    TRgbQuad color = dib.ColorTable[index];
    color.Reserved = 0;
    return color;
}

void ExpandRowToBgr(const TDib& dib, const uint8_t* row, uint8_t* bgr) {
    const int32_t width = dib.Header.Width;
    if (dib.Header.BitCount == 24) {
        std::memcpy(bgr, row, static_cast<size_t>(width) * 3);
        return;
    }
    for (int32_t x = 0; x < width; ++x) {
        const TRgbQuad color = ColorInRow(dib, row, x);
        bgr[0] = color.Blue;
        bgr[1] = color.Green;
        bgr[2] = color.Red;
        bgr += 3;
    }
}

}  // namespace qm
