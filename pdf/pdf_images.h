// Images the writer places: palette images expanded to 24 bits.
#pragma once

#include "raster/dib.h"

namespace qm {

// Expands a 1-, 4- or 8-bit image into a new 24-bit image in result and returns true. A 1-bit
// image becomes black where the palette index is 0 and white elsewhere (its colour table is not
// consulted); 4- and 8-bit pixels take their colour-table entry (black beyond the table). Rows
// keep their order. False, result untouched, for other depths, an image without usable pixels,
// or no memory.
bool ConvertTo24Bit(const TDib& image, TDib& result);

}  // namespace qm
