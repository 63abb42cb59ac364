// Placing images on a page (PDF Reference 1.3, 4.8.3): the image table holds the picture, the
// page's content stream maps the image's unit square onto the box.
#include "pdf/pdf_images.h"

#include <exception>
#include <utility>

#include "pdf/pdf_canvas.h"
#include "raster/dib_rows.h"

namespace qm {

namespace {

void ExpandRowTo24Bit(const TDib& image, const uint8_t* row, uint8_t* out) {
    const int32_t width = image.Header.Width;
    if (image.Header.BitCount == 1) {
        for (int32_t x = 0; x < width; ++x, out += 3) {
            const uint8_t level = PaletteIndexInRow(row, x, 1) == 0 ? 0 : 255;
            out[0] = out[1] = out[2] = level;
        }
        return;
    }
    ExpandRowToBgr(image, row, out);
}

}  // namespace

bool ConvertTo24Bit(const TDib& image, TDib& result) {
    const int depth = image.Header.BitCount;
    if ((depth != 1 && depth != 4 && depth != 8) || !IsUsableDib(image)) return false;
    TDib expanded;
    if (!newdib(expanded, image.Header.Width, image.Header.Height, 24, nullptr, 0)) return false;
    for (int32_t y = 0; y < image.Header.Height; ++y) {
        ExpandRowTo24Bit(image, RowFromTop(image, y), RowFromTop(expanded, y));
    }
    result = std::move(expanded);
    return true;
}

void TPDFCanvas::DrawImage(int32_t x, int32_t y, int32_t width, int32_t height, const TDib& image,
                           int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight) {
    (void)srcX, (void)srcY;  // the whole image is always placed
    if (!isOpen_) return;
    try {
        TDib placed;
        if (!images_.Prepare(image, placed) || width == 0 || height == 0 || srcWidth == 0 ||
            srcHeight == 0) {
            return;
        }
        const int64_t w = width > 0 ? int64_t{width} - 1 : int64_t{width} + 1;
        const int64_t h = height > 0 ? int64_t{height} - 1 : int64_t{height} + 1;
        WriteLine("q");
        WriteNumber(w);
        WriteRaw(" 0 0 ");
        WriteNumber(h);
        WriteRaw(" ");
        WriteNumber(x);
        WriteRaw(" ");
        WriteNumber(int64_t{PageHeight} - y - h);
        WriteLine(" cm");
        WriteRaw("/Im");
        WriteNumber(images_.Add(std::move(placed)));
        WriteLine(" Do");
        WriteLine("Q");
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

}  // namespace qm
