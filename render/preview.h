// The preview of laid-out pages: paper on a grey surround with a frame and a shadow, and the
// page's fields drawn by the page walk, at the screen's resolution.
#pragma once

#include <cstdint>

#include "model/document.h"
#include "model/page_walk.h"
#include "render/raster_canvas.h"

namespace qm {

inline constexpr double kScreenDpi = 96.0;

// The grey surround, the white paper with its 1-pixel frame and its 2-pixel shadow.
void DrawPaper(TRasterCanvas& canvas, const TWalkGeometry& geometry);

// Draws page `page` into a canvas of the page bitmap's size, (OffX + PageW + 20) x
// (OffY + PageH + 20), with the paper's corner at (16, 16).
void RenderPreviewPage(const TDocument& doc, int32_t page, TRasterCanvas& canvas,
                       double screenDpi = kScreenDpi);

}  // namespace qm
