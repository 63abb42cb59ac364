// Enhanced metafile block transfers: bitmaps stretched into a rectangle, and transfers without
// a bitmap that fill the rectangle with the brush. The bitmap's header and its pixel rows are
// found by offsets from the record's start.
#include <initializer_list>

#include "metafile/emf_context.h"

namespace qm {

namespace {

// Where the bitmap of a transfer lies in its record.
struct TBitmapPlace {
    uint32_t OffInfo = 0, InfoBytes = 0, OffBits = 0, BitsBytes = 0;

    bool Read(ByteReader& r) {
        return r.U32(OffInfo) && r.U32(InfoBytes) && r.U32(OffBits) && r.U32(BitsBytes);
    }
};

bool ReadI32s(ByteReader& r, std::initializer_list<int32_t*> fields) {
    for (int32_t* field : fields)
        if (!r.I32(*field)) return false;
    return true;
}

bool DrawPlacedBitmap(TWmfPlayer& p, const ByteReader& record, const TBitmapPlace& place,
                      uint32_t colorUsage, const TBlt& blt, bool bottomUpOrigin) {
    ByteReader info, bits;
    if (!RecordPart(record, place.OffInfo, place.InfoBytes, info) ||
        !RecordPart(record, place.OffBits, place.BitsBytes, bits))
        return false;
    TCairoSurface image;
    if (!DecodeDib(p.Dc().Palette, info, bits, static_cast<uint16_t>(colorUsage), image))
        return false;
    return DrawDibSource(p, blt, image.get(), bottomUpOrigin);
}

// BitBlt and StretchBlt: the destination, the operation, the source's corner and (for the
// stretch) its size; without a bitmap the destination is filled with the brush.
bool PlayBlt(TWmfPlayer& p, ByteReader& r, bool stretch) {
    TBlt blt;
    uint32_t background = 0, colorUsage = 0;
    TBitmapPlace place;
    if (!r.Skip(16) || !ReadI32s(r, {&blt.DestX, &blt.DestY, &blt.DestWidth, &blt.DestHeight}) ||
        !r.U32(blt.Rop) || !ReadI32s(r, {&blt.SrcX, &blt.SrcY}) || !r.Skip(24) ||
        !r.U32(background) || !r.U32(colorUsage) || !place.Read(r))
        return false;
    if (place.InfoBytes == 0)
        return PatternFill(p, blt.Rop, blt.DestX, blt.DestY, blt.DestWidth, blt.DestHeight);
    blt.SrcWidth = blt.DestWidth, blt.SrcHeight = blt.DestHeight;
    if (stretch && !ReadI32s(r, {&blt.SrcWidth, &blt.SrcHeight})) return false;
    return DrawPlacedBitmap(p, r, place, colorUsage, blt, false);
}

}  // namespace

bool PlayEmfBitBlt(TWmfPlayer& p, ByteReader& r) {
    return PlayBlt(p, r, false);
}

bool PlayEmfStretchBlt(TWmfPlayer& p, ByteReader& r) {
    return PlayBlt(p, r, true);
}

bool PlayEmfStretchDiBits(TWmfPlayer& p, ByteReader& r) {
    TBlt blt;
    TBitmapPlace place;
    uint32_t colorUsage = 0;
    if (!r.Skip(16) || !ReadI32s(r, {&blt.DestX, &blt.DestY, &blt.SrcX, &blt.SrcY}) ||
        !ReadI32s(r, {&blt.SrcWidth, &blt.SrcHeight}) || !place.Read(r) || !r.U32(colorUsage) ||
        !r.U32(blt.Rop) || !ReadI32s(r, {&blt.DestWidth, &blt.DestHeight}))
        return false;
    if (place.InfoBytes == 0)
        return PatternFill(p, blt.Rop, blt.DestX, blt.DestY, blt.DestWidth, blt.DestHeight);
    return DrawPlacedBitmap(p, r, place, colorUsage, blt, true);
}

}  // namespace qm
