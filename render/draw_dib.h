// Drawing an image descriptor onto the preview canvas: the source rectangle clipped to the
// image, then scaled by nearest neighbour, row by row with a column table for true-colour and
// 256-colour images, directly for the other depths.
#pragma once

#include <cstdint>

#include "raster/dib.h"
#include "render/raster_canvas.h"

namespace qm {

// srcY counts from the image's bottom row, as the bitmap stores its rows.
void DrawDIB(TRasterCanvas& canvas, int32_t x, int32_t y, int32_t srcHeight, int32_t srcWidth,
             int32_t srcY, int32_t srcX, const TDib& image, int32_t destHeight,
             int32_t destWidth);

}  // namespace qm
