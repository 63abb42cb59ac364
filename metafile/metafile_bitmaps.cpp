// Metafile block transfers: bitmaps stretched into a rectangle and rectangles filled with the
// brush. The ternary raster operation ([MS-WMF] 2.1.1.31) picks how they combine with the
// picture; the common ones are drawn, the others copy.
#include <cmath>

#include "metafile/metafile_context.h"

namespace qm {

namespace {

// The operation index: bits 16 to 23 of a ternary raster operation.
constexpr uint8_t kRopBlackness = 0x00;
constexpr uint8_t kRopDestInvert = 0x55;
constexpr uint8_t kRopPatInvert = 0x5A;
constexpr uint8_t kRopSrcInvert = 0x66;
constexpr uint8_t kRopSrcAnd = 0x88;
constexpr uint8_t kRopDest = 0xAA;
constexpr uint8_t kRopSrcPaint = 0xEE;
constexpr uint8_t kRopWhiteness = 0xFF;
// The pen mixes ([MS-WMF] 2.1.1.3) a brush transfer is painted with.
constexpr uint16_t kRop2XorPen = 7;
constexpr uint16_t kRop2CopyPen = 13;

// The sizes of DIBStretchBlt and DIBBitBlt records that carry no bitmap ([MS-WMF] 2.3.1.3):
// their parameters, a reserved word included.
constexpr size_t kStretchBltWithoutBitmap = 22;
constexpr size_t kBitBltWithoutBitmap = 18;

uint8_t RopIndex(uint32_t rop) {
    return static_cast<uint8_t>(rop >> 16);
}

cairo_operator_t SourceOperator(uint8_t index) {
    switch (index) {
        case kRopSrcInvert:
            return CAIRO_OPERATOR_DIFFERENCE;
        case kRopSrcAnd:
            return CAIRO_OPERATOR_MULTIPLY;
        case kRopSrcPaint:
            return CAIRO_OPERATOR_LIGHTEN;
        default:
            return CAIRO_OPERATOR_OVER;
    }
}

struct TBlt {
    uint32_t Rop = 0;
    int16_t SrcX = 0, SrcY = 0, SrcWidth = 0, SrcHeight = 0;
    int16_t DestX = 0, DestY = 0, DestWidth = 0, DestHeight = 0;
};

// Fills the current path with the brush, mixed as the binary raster operation rop2 says.
bool FillWithBrush(TWmfPlayer& p, uint16_t rop2) {
    TWmfDc& dc = p.Dc();
    const uint16_t saved = dc.Rop2;
    dc.Rop2 = rop2;
    const bool withinBudget = FillAndStroke(p, true, false);
    dc.Rop2 = saved;
    return withinBudget;
}

// Fills the destination rectangle with the brush (or black, white, the inverted picture).
bool PatternFill(TWmfPlayer& p, uint32_t rop, int16_t x, int16_t y, int16_t width, int16_t height) {
    const uint8_t index = RopIndex(rop);
    if (index == kRopDest) return true;
    cairo_t* cr = p.Cr();
    cairo_new_path(cr);
    cairo_rectangle(cr, x, y, width, height);
    switch (index) {
        case kRopBlackness:
            return FillWithColor(p, kWmfBlack);
        case kRopWhiteness:
            return FillWithColor(p, kWmfWhite);
        case kRopPatInvert:
            return FillWithBrush(p, kRop2XorPen);
        case kRopDestInvert: {
            cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
            const bool withinBudget = FillWithColor(p, kWmfWhite);
            cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
            return withinBudget;
        }
        default:
            return FillWithBrush(p, kRop2CopyPen);
    }
}

// Draws the source rectangle of image (top row `srcTop`) into the destination rectangle.
bool DrawBitmap(TWmfPlayer& p, const TBlt& blt, cairo_surface_t* image, double srcTop) {
    if (RopIndex(blt.Rop) == kRopDest || blt.SrcWidth <= 0 || blt.SrcHeight <= 0) return true;
    const TWmfPoint a = p.ToDevice(blt.DestX, blt.DestY);
    const TWmfPoint b =
        p.ToDevice(double(blt.DestX) + blt.DestWidth, double(blt.DestY) + blt.DestHeight);
    const double scaleX = (b.X - a.X) / blt.SrcWidth, scaleY = (b.Y - a.Y) / blt.SrcHeight;
    if (!std::isnormal(scaleX) || !std::isnormal(scaleY)) return true;
    if (!p.Spend(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)))
        return false;
    cairo_t* cr = p.Cr();
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_translate(cr, a.X, a.Y);
    cairo_scale(cr, scaleX, scaleY);
    cairo_set_source_surface(cr, image, -double(blt.SrcX), -srcTop);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    // Enlarged bitmaps keep their pixels sharp as on a screen; reduced ones are averaged.
    const bool enlarged = std::abs(scaleX) >= 1 && std::abs(scaleY) >= 1;
    cairo_pattern_set_filter(cairo_get_source(cr),
                             enlarged ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_set_operator(cr, SourceOperator(RopIndex(blt.Rop)));
    cairo_new_path(cr);
    cairo_rectangle(cr, 0, 0, blt.SrcWidth, blt.SrcHeight);
    cairo_fill(cr);
    cairo_restore(cr);
    return true;
}

bool ReadRop(ByteReader& r, uint32_t& rop) {
    return r.U32(rop);
}

// The destination and source of a transfer stored height, width, y, x (source first).
bool ReadStretch(ByteReader& r, TBlt& blt) {
    return r.I16(blt.SrcHeight) && r.I16(blt.SrcWidth) && r.I16(blt.SrcY) && r.I16(blt.SrcX) &&
           r.I16(blt.DestHeight) && r.I16(blt.DestWidth) && r.I16(blt.DestY) && r.I16(blt.DestX);
}

bool DecodeAndDraw(TWmfPlayer& p, ByteReader& r, const TBlt& blt, uint16_t colorUsage,
                   bool bottomUpOrigin) {
    TCairoSurface image;
    if (!DecodeDib(p, r, colorUsage, image)) return false;
    if (!image) return true;
    const double height = cairo_image_surface_get_height(image.get());
    // StretchDIBits counts the source from the bitmap's bottom row; a bitmap selected into a
    // device context is addressed from its top.
    const double top = bottomUpOrigin ? height - blt.SrcY - blt.SrcHeight : blt.SrcY;
    return DrawBitmap(p, blt, image.get(), top);
}

}  // namespace

bool PlayPatBlt(TWmfPlayer& p, ByteReader& r) {
    uint32_t rop = 0;
    int16_t height = 0, width = 0, y = 0, x = 0;
    if (!ReadRop(r, rop) || !r.I16(height) || !r.I16(width) || !r.I16(y) || !r.I16(x)) return false;
    return PatternFill(p, rop, x, y, width, height);
}

bool PlayStretchDib(TWmfPlayer& p, ByteReader& r) {
    TBlt blt;
    uint16_t colorUsage = 0;
    if (!ReadRop(r, blt.Rop) || !r.U16(colorUsage) || !ReadStretch(r, blt)) return false;
    return DecodeAndDraw(p, r, blt, colorUsage, true);
}

bool PlayDibStretchBlt(TWmfPlayer& p, ByteReader& r) {
    TBlt blt;
    const bool withoutBitmap = r.Size() == kStretchBltWithoutBitmap;
    if (!ReadRop(r, blt.Rop) || (withoutBitmap && !r.Skip(2)) || !ReadStretch(r, blt)) return false;
    if (withoutBitmap)
        return PatternFill(p, blt.Rop, blt.DestX, blt.DestY, blt.DestWidth, blt.DestHeight);
    return DecodeAndDraw(p, r, blt, 0, false);
}

bool PlayDibBitBlt(TWmfPlayer& p, ByteReader& r) {
    TBlt blt;
    const bool withoutBitmap = r.Size() == kBitBltWithoutBitmap;
    if (!ReadRop(r, blt.Rop) || (withoutBitmap && !r.Skip(2))) return false;
    if (!r.I16(blt.SrcY) || !r.I16(blt.SrcX) || !r.I16(blt.DestHeight) || !r.I16(blt.DestWidth) ||
        !r.I16(blt.DestY) || !r.I16(blt.DestX))
        return false;
    if (withoutBitmap)
        return PatternFill(p, blt.Rop, blt.DestX, blt.DestY, blt.DestWidth, blt.DestHeight);
    blt.SrcWidth = blt.DestWidth;
    blt.SrcHeight = blt.DestHeight;
    return DecodeAndDraw(p, r, blt, 0, false);
}

}  // namespace qm
