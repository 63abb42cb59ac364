// Row-level access to bitmaps shared by the codecs and the halftoner.
#pragma once

#include <cstdint>

#include "raster/dib.h"

namespace qm {

// Bytes of one row of width pixels at bitsPerPixel, padded to a multiple of 4; 0 when the row
// would not fit an int32.
int32_t PaddedRowBytes(int32_t width, int bitsPerPixel);

// True when the descriptor holds pixels whose header, row length and pixel block agree, so
// every row of the image can be read without going past the block.
bool IsUsableDib(const TDib& dib);

// The row y counted from the top of the image (rows are stored bottom-up); nullptr when y is
// outside the image. The descriptor must be usable.
const uint8_t* RowFromTop(const TDib& dib, int32_t y);
uint8_t* RowFromTop(TDib& dib, int32_t y);

// The colour-table index of pixel x of a row of an image of 1, 4 or 8 bits per pixel (bits and
// nibbles are taken from the high end of each byte first).
uint32_t PaletteIndexInRow(const uint8_t* row, int32_t x, int bitsPerPixel);

// The colour of pixel x of a row as blue, green, red. Palette indexes beyond the colour table
// read as black. The descriptor must be usable and x inside the image.
TRgbQuad ColorInRow(const TDib& dib, const uint8_t* row, int32_t x);

// Writes a row of the image as width * 3 bytes of blue, green, red.
void ExpandRowToBgr(const TDib& dib, const uint8_t* row, uint8_t* bgr);

}  // namespace qm
