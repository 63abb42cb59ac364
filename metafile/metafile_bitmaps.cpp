// Metafile block transfers: bitmaps stretched into a rectangle and rectangles filled with the
// brush. The ternary raster operation ([MS-WMF] 2.1.1.31) picks how they combine with the
// picture; the common ones are drawn, the others copy.
#include <cmath>
#include <initializer_list>

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

// Fills the current path with the brush, mixed as the binary raster operation rop2 says.
bool FillWithBrush(TWmfPlayer& p, uint16_t rop2) {
    TWmfDc& dc = p.Dc();
    const uint16_t saved = dc.Rop2;
    dc.Rop2 = rop2;
    const bool withinBudget = FillAndStroke(p, true, false);
    dc.Rop2 = saved;
    return withinBudget;
}

}  // namespace

bool PatternFill(TWmfPlayer& p, uint32_t rop, double x, double y, double width, double height) {
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

namespace {

bool ReadRop(ByteReader& r, uint32_t& rop) {
    return r.U32(rop);
}

// Reads 16-bit values in the order given into the transfer's wider fields.
bool ReadI16s(ByteReader& r, std::initializer_list<int32_t*> fields) {
    for (int32_t* field : fields) {
        int16_t value = 0;
        if (!r.I16(value)) return false;
        *field = value;
    }
    return true;
}

// The destination and source of a transfer stored height, width, y, x (source first).
bool ReadStretch(ByteReader& r, TBlt& blt) {
    return ReadI16s(r, {&blt.SrcHeight, &blt.SrcWidth, &blt.SrcY, &blt.SrcX, &blt.DestHeight,
                        &blt.DestWidth, &blt.DestY, &blt.DestX});
}

bool DecodeAndDraw(TWmfPlayer& p, ByteReader& r, const TBlt& blt, uint16_t colorUsage,
                   bool bottomUpOrigin) {
    TCairoSurface image;
    if (!DecodeDib(p.Dc().Palette, r, r, colorUsage, image)) return false;
    return DrawDibSource(p, blt, image.get(), bottomUpOrigin);
}

}  // namespace

bool DrawDibSource(TWmfPlayer& p, const TBlt& blt, cairo_surface_t* image, bool bottomUpOrigin) {
    if (image == nullptr) return true;
    const double height = cairo_image_surface_get_height(image);
    // StretchDIBits counts the source from the bitmap's bottom row; a bitmap selected into a
    // device context is addressed from its top.
    const double top =
        bottomUpOrigin ? height - double(blt.SrcY) - double(blt.SrcHeight) : double(blt.SrcY);
    return DrawBitmap(p, blt, image, top);
}

bool PlayPatBlt(TWmfPlayer& p, ByteReader& r) {
    uint32_t rop = 0;
    int32_t height = 0, width = 0, y = 0, x = 0;
    if (!ReadRop(r, rop) || !ReadI16s(r, {&height, &width, &y, &x})) return false;
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
    if (!ReadI16s(r,
                  {&blt.SrcY, &blt.SrcX, &blt.DestHeight, &blt.DestWidth, &blt.DestY, &blt.DestX}))
        return false;
    if (withoutBitmap)
        return PatternFill(p, blt.Rop, blt.DestX, blt.DestY, blt.DestWidth, blt.DestHeight);
    blt.SrcWidth = blt.DestWidth;
    blt.SrcHeight = blt.DestHeight;
    return DecodeAndDraw(p, r, blt, 0, false);
}

}  // namespace qm
