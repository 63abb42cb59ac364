#include "render/draw_dib.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qm {

namespace {

int32_t RoundScaled(int64_t value, int64_t num, int64_t den) {
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(value) * num / den));
}

uint32_t PaletteColor(const TDib& image, uint32_t index) {
    if (index >= image.ColorTable.size()) return 0;
    const TRgbQuad& q = image.ColorTable[index];
    return (uint32_t{q.Red} << 16) | (uint32_t{q.Green} << 8) | q.Blue;
}

// The source rectangle in the image's coordinates and the destination it maps onto.
struct TTransfer {
    int32_t X, Y, DestWidth, DestHeight;
    int32_t SrcX, SrcY, SrcWidth, SrcHeight;  // SrcY from the bottom row
};

// Cuts the source rectangle back to the image, shrinking the destination in proportion.
bool ClipToImage(TTransfer& t, const TDib& image) {
    const int32_t w = DIBWidth(image), h = DIBHeight(image);
    if (t.SrcWidth <= 0 || t.SrcHeight <= 0) return false;
    if (w < static_cast<int64_t>(t.SrcWidth) + t.SrcX) {
        const int32_t cut = w - t.SrcX;
        t.DestWidth = RoundScaled(t.DestWidth, cut, t.SrcWidth);
        t.SrcWidth = cut;
    }
    if (t.SrcY < 0 && t.SrcHeight > 0) {
        const int32_t cut = t.SrcHeight + t.SrcY;
        t.DestHeight = RoundScaled(t.DestHeight, cut, t.SrcHeight);
        t.SrcHeight = cut;
        t.SrcY = 0;
    }
    if (t.SrcHeight > 0 && h < static_cast<int64_t>(t.SrcHeight) + t.SrcY) {
        const int32_t cut = h - t.SrcY;
        const int32_t h2 = RoundScaled(t.DestHeight, cut, t.SrcHeight);
        t.Y += t.DestHeight - h2;
        t.SrcHeight = cut;
        t.DestHeight = h2;
    }
    if (t.SrcX < 0 && t.SrcWidth > 0) {
        const int32_t cut = t.SrcWidth + t.SrcX;
        const int32_t w2 = RoundScaled(t.DestWidth, cut, t.SrcWidth);
        t.X += t.DestWidth - w2;
        t.SrcWidth = cut;
        t.DestWidth = w2;
        t.SrcX = 0;
    }
    return t.SrcWidth > 0 && t.SrcHeight > 0 && t.DestWidth > 0 && t.DestHeight > 0;
}

// True-colour and 256-colour images: one destination row at a time through a column table;
// a row that maps to the same source row as the one before reuses its pixels.
void DrawRows(TRasterCanvas& canvas, const TTransfer& t, const TDib& image) {
    const int32_t h = DIBHeight(image), w = DIBWidth(image);
    const int32_t srcTop = h - t.SrcY - t.SrcHeight;
    const bool trueColor = DIBBitCount(image) == 24;
    const uint8_t* pixels = image.Pixels();
    const int64_t blockSize = static_cast<int64_t>(image.PixelBlock->size());
    // Only destination rows and columns on the canvas are computed.
    const int32_t c0 = std::max(0, -t.X), c1 = std::min(t.DestWidth, canvas.Width() - t.X);
    const int32_t r0 = std::max(0, -t.Y), r1 = std::min(t.DestHeight, canvas.Height() - t.Y);
    if (c0 >= c1 || r0 >= r1) return;
    std::vector<int32_t> columns(c1 - c0);
    for (int32_t i = c0; i < c1; ++i)
        columns[i - c0] = static_cast<int32_t>(t.SrcX + static_cast<int64_t>(t.SrcWidth) * i / t.DestWidth);
    std::vector<uint32_t> row(c1 - c0, 0);
    int64_t previous = -1;
    for (int32_t r = r0; r < r1; ++r) {
        const int64_t srcRow = h - srcTop - static_cast<int64_t>(t.SrcHeight) * r / t.DestHeight - 1;
        const int64_t offset = srcRow * image.BytesPerRow;
        if (offset != previous) {
            previous = offset;
            if (srcRow < 0 || srcRow >= h || offset + image.BytesPerRow > blockSize) {
                std::fill(row.begin(), row.end(), 0);
            } else {
                const uint8_t* src = pixels + offset;
                for (size_t i = 0; i < columns.size(); ++i) {
                    const int32_t col = columns[i];
                    if (col < 0 || col >= w) continue;
                    row[i] = trueColor ? (uint32_t{src[col * 3 + 2]} << 16) |
                                             (uint32_t{src[col * 3 + 1]} << 8) | src[col * 3]
                                       : PaletteColor(image, src[col]);
                }
            }
        }
        for (int32_t i = c0; i < c1; ++i) canvas.PutPixel(t.X + i, t.Y + r, row[i - c0]);
    }
}

// Other depths: nearest neighbour through the pixel accessors.
void DrawDirect(TRasterCanvas& canvas, const TTransfer& t, const TDib& image) {
    const int32_t h = DIBHeight(image);
    const int32_t srcTop = h - t.SrcY - t.SrcHeight;
    const bool trueColor = DIBBitCount(image) == 24;
    const int32_t c0 = std::max(0, -t.X), c1 = std::min(t.DestWidth, canvas.Width() - t.X);
    const int32_t r0 = std::max(0, -t.Y), r1 = std::min(t.DestHeight, canvas.Height() - t.Y);
    for (int32_t r = r0; r < r1; ++r) {
        const auto sy = static_cast<int32_t>(srcTop + static_cast<int64_t>(t.SrcHeight) * r / t.DestHeight);
        for (int32_t c = c0; c < c1; ++c) {
            const auto sx = static_cast<int32_t>(t.SrcX + static_cast<int64_t>(t.SrcWidth) * c / t.DestWidth);
            const uint32_t v = getpixel(image, sx, sy);
            const uint32_t rgb = trueColor ? ColorToPixel(static_cast<int32_t>(v)) : PaletteColor(image, v);
            canvas.PutPixel(t.X + c, t.Y + r, rgb);
        }
    }
}

}  // namespace

void DrawDIB(TRasterCanvas& canvas, int32_t x, int32_t y, int32_t srcHeight, int32_t srcWidth,
             int32_t srcY, int32_t srcX, const TDib& image, int32_t destHeight,
             int32_t destWidth) {
    if (!image.HasImage() || DIBWidth(image) <= 0 || DIBHeight(image) <= 0) return;
    TTransfer t{x, y, destWidth, destHeight, srcX, srcY, srcWidth, srcHeight};
    if (!ClipToImage(t, image)) return;
    const int bits = DIBBitCount(image);
    if (bits == 24 || bits == 8) DrawRows(canvas, t, image);
    else DrawDirect(canvas, t, image);
}

void TRasterCanvas::DrawPicture(int32_t x, int32_t y, int32_t width, int32_t height,
                                const TDib& picture) {
    DrawDIB(*this, x, y, DIBHeight(picture), DIBWidth(picture), 0, 0, picture, height, width);
}

}  // namespace qm
