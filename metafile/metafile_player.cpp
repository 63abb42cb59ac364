#include "metafile/metafile_player.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "metafile/metafile_context.h"

namespace qm {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableHeaderBytes = 22;
constexpr uint16_t kHeaderWords = 9;  // [MS-WMF] 2.3.2.2 META_HEADER
constexpr uint16_t kEofFunction = 0x0000;
constexpr uint16_t kSetWindowOrg = 0x020B;
constexpr uint16_t kSetWindowExt = 0x020C;
// Logical coordinates are 16-bit: no genuine frame is wider or higher than this.
constexpr int64_t kMaxFrameSide = 65535;
constexpr int32_t kMinFrameSide = 2;
// Real metafiles stay below a few ten thousand records; this bounds the time a file of tiny
// records can take.
constexpr uint32_t kMaxRecords = uint32_t{1} << 20;

struct TRecordRule {
    uint16_t Function;
    TWmfHandler Play;
    bool Draws;  // paints something (ends the search for the frame a metafile sets itself)
};

// Records the player ignores on purpose (escapes, mapper flags, stretch modes, realising a
// palette, viewport settings) are simply not listed: unknown records are skipped.
constexpr TRecordRule kRecordRules[] = {
    {0x0201, PlaySetBkColor, false},
    {0x0209, PlaySetTextColor, false},
    {0x0102, PlaySetBkMode, false},
    {0x012E, PlaySetTextAlign, false},
    {0x0106, PlaySetPolyFillMode, false},
    {0x0104, PlaySetRop2, false},
    {kSetWindowOrg, PlaySetWindowOrg, false},
    {kSetWindowExt, PlaySetWindowExt, false},
    {0x020F, PlayOffsetWindowOrg, false},
    {0x0410, PlayScaleWindowExt, false},
    {0x001E, PlaySaveDc, false},
    {0x0127, PlayRestoreDc, false},
    {0x0416, PlayIntersectClipRect, false},
    {0x0415, PlayExcludeClipRect, false},
    {0x0214, PlayMoveTo, false},
    {0x02FA, PlayCreatePen, false},
    {0x02FC, PlayCreateBrush, false},
    {0x02FB, PlayCreateFont, false},
    {0x00F7, PlayCreatePalette, false},
    {0x0142, PlayCreatePatternBrush, false},
    {0x01F9, PlayCreatePlaceholder, false},  // META_CREATEPATTERNBRUSH (a device bitmap)
    {0x06FF, PlayCreatePlaceholder, false},  // META_CREATEREGION
    {0x012D, PlaySelectObject, false},
    {0x0234, PlaySelectPalette, false},
    {0x01F0, PlayDeleteObject, false},
    {0x0213, PlayLineTo, true},
    {0x0324, PlayPolygon, true},
    {0x0325, PlayPolyline, true},
    {0x0538, PlayPolyPolygon, true},
    {0x041B, PlayRectangle, true},
    {0x061C, PlayRoundRect, true},
    {0x0418, PlayEllipse, true},
    {0x0817, PlayArc, true},
    {0x081A, PlayPie, true},
    {0x0830, PlayChord, true},
    {0x041F, PlaySetPixel, true},
    {0x0521, PlayTextOut, true},
    {0x0A32, PlayExtTextOut, true},
    {0x061D, PlayPatBlt, true},
    {0x0F43, PlayStretchDib, true},
    {0x0B41, PlayDibStretchBlt, true},
    {0x0940, PlayDibBitBlt, true},
};

const TRecordRule* FindRule(uint16_t function) {
    for (const TRecordRule& rule : kRecordRules) {
        if (rule.Function == function) return &rule;
    }
    return nullptr;
}

struct THeader {
    uint16_t ObjectCount = 0;
    size_t FirstRecord = 0;
    std::optional<TWmfRect> PlaceableBox;
};

std::optional<THeader> ReadHeader(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    THeader header;
    uint32_t key = 0;
    if (r.U32(key) && key == kPlaceableKey) {
        int16_t left = 0, top = 0, right = 0, bottom = 0;
        r.Skip(2);  // HWmf
        r.I16(left), r.I16(top), r.I16(right), r.I16(bottom);
        header.PlaceableBox = TWmfRect{left, top, right, bottom};
        if (!r.Seek(kPlaceableHeaderBytes)) return std::nullopt;
    } else {
        r.Seek(0);
    }
    const size_t start = r.Pos();
    uint16_t type = 0, headerWords = 0, version = 0;
    uint32_t sizeWords = 0;
    r.U16(type), r.U16(headerWords), r.U16(version), r.U32(sizeWords), r.U16(header.ObjectCount);
    if (r.Failed() || (type != 1 && type != 2) || headerWords != kHeaderWords) return std::nullopt;
    if (version != 0x0100 && version != 0x0300) return std::nullopt;
    header.FirstRecord = start + 2 * size_t{kHeaderWords};
    if (header.FirstRecord > bytes.size()) return std::nullopt;
    return header;
}

// Walks the records from the first one: visit(function, params) is called for each until it
// returns false, the end record, a malformed record size or kMaxRecords.
template <class Visit>
void WalkRecords(std::span<const uint8_t> bytes, size_t first, Visit visit) {
    ByteReader r(bytes);
    r.Seek(first);
    for (uint32_t count = 0; count < kMaxRecords; ++count) {
        const size_t start = r.Pos();
        uint32_t words = 0;
        uint16_t function = 0;
        if (!r.U32(words) || !r.U16(function) || function == kEofFunction) return;
        // A record holds at least its size and function; one reaching past the end is cut.
        if (words < 3 || words > (bytes.size() - start) / 2) return;
        ByteReader params(bytes.subspan(start + 6, size_t{words} * 2 - 6));
        if (!visit(function, params)) return;
        r.Seek(start + size_t{words} * 2);
    }
}

// The window a metafile sets before its first drawing record.
std::optional<TWmfRect> WindowBeforeDrawing(std::span<const uint8_t> bytes, size_t first) {
    std::optional<int16_t> orgX, orgY, extX, extY;
    WalkRecords(bytes, first, [&](uint16_t function, ByteReader& params) {
        int16_t y = 0, x = 0;
        if (function == kSetWindowOrg && params.I16(y) && params.I16(x)) orgX = x, orgY = y;
        if (function == kSetWindowExt && params.I16(y) && params.I16(x)) extX = x, extY = y;
        const TRecordRule* rule = FindRule(function);
        return rule == nullptr || !rule->Draws;
    });
    if (!extX || !extY) return std::nullopt;
    const int32_t left = orgX.value_or(0), top = orgY.value_or(0);
    return TWmfRect{left, top, left + *extX, top + *extY};
}

int64_t Side(int32_t from, int32_t to) {
    return std::abs(int64_t{to} - int64_t{from});
}

bool Usable(const TWmfRect& frame) {
    const int64_t w = Side(frame.Left, frame.Right), h = Side(frame.Top, frame.Bottom);
    return w >= kMinFrameSide && h >= kMinFrameSide && w <= kMaxFrameSide && h <= kMaxFrameSide;
}

bool Degenerate(const TWmfRect& frame) {
    return Side(frame.Left, frame.Right) < kMinFrameSide ||
           Side(frame.Top, frame.Bottom) < kMinFrameSide;
}

// Quirk: Word stores the bounds of a metafile drawing at negative coordinates as their 16-bit
// patterns (-1253 as 64283, the right edge as 64283 plus the width). Logical coordinates are
// 16-bit, so an edge past 32767 is taken back by 65536.
TWmfRect SignedFrame(TWmfRect frame) {
    constexpr int32_t kWrap = 65536;
    if (frame.Left > INT16_MAX && frame.Right > INT16_MAX)
        frame.Left -= kWrap, frame.Right -= kWrap;
    if (frame.Top > INT16_MAX && frame.Bottom > INT16_MAX)
        frame.Top -= kWrap, frame.Bottom -= kWrap;
    return frame;
}

std::optional<TWmfRect> ChooseFrame(std::span<const uint8_t> bytes, const THeader& header,
                                    const TWmfRect& given) {
    if (!Degenerate(given)) return Usable(given) ? std::optional(SignedFrame(given)) : std::nullopt;
    if (header.PlaceableBox && Usable(*header.PlaceableBox)) return header.PlaceableBox;
    const std::optional<TWmfRect> window = WindowBeforeDrawing(bytes, header.FirstRecord);
    if (window && Usable(*window)) return window;
    return std::nullopt;
}

// One pixel per logical unit, scaled down to the limit and to kMaxMetafilePixels.
void PictureSize(const TWmfRect& frame, const TWmfSizeLimit& limit, int32_t& width,
                 int32_t& height) {
    const int64_t w = Side(frame.Left, frame.Right), h = Side(frame.Top, frame.Bottom);
    double scale = 1.0;
    if (w * h > kMaxMetafilePixels) scale = std::sqrt(double(kMaxMetafilePixels) / double(w * h));
    if (limit.Width > 0 && limit.Width < w) scale = std::min(scale, double(limit.Width) / w);
    if (limit.Height > 0 && limit.Height < h) scale = std::min(scale, double(limit.Height) / h);
    width = std::max<int32_t>(1, static_cast<int32_t>(double(w) * scale));
    height = std::max<int32_t>(1, static_cast<int32_t>(double(h) * scale));
}

void Play(std::span<const uint8_t> bytes, const THeader& header, TWmfPlayer& player) {
    WalkRecords(bytes, header.FirstRecord, [&](uint16_t function, ByteReader& params) {
        const TRecordRule* rule = FindRule(function);
        return rule == nullptr || rule->Play(player, params);
    });
}

}  // namespace

bool CopyToDib(cairo_surface_t* surface, TDib& picture) {
    cairo_surface_flush(surface);
    const int32_t width = cairo_image_surface_get_width(surface);
    const int32_t height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (data == nullptr || !newdib(picture, width, height, 24, nullptr, 0)) return false;
    uint8_t* pixels = picture.Pixels();
    for (int32_t y = 0; y < height; ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(data + ptrdiff_t{y} * stride);
        uint8_t* dest = pixels + ptrdiff_t{height - 1 - y} * picture.BytesPerRow;
        for (int32_t x = 0; x < width; ++x) {
            dest[3 * x] = static_cast<uint8_t>(src[x]);
            dest[3 * x + 1] = static_cast<uint8_t>(src[x] >> 8);
            dest[3 * x + 2] = static_cast<uint8_t>(src[x] >> 16);
        }
    }
    return true;
}

bool PlayWindowsMetafile(std::span<const uint8_t> metafile, const TWmfRect& frame,
                         const TWmfSizeLimit& limit, TDib& picture) {
    deldib(picture);
    const std::optional<THeader> header = ReadHeader(metafile);
    if (!header) return false;
    const std::optional<TWmfRect> window = ChooseFrame(metafile, *header, frame);
    if (!window) return false;
    int32_t width = 0, height = 0;
    PictureSize(*window, limit, width, height);
    const TWhiteCanvas canvas = WhiteCanvas(width, height);
    if (!canvas.Surface) return false;
    const TCairoSurface& surface = canvas.Surface;
    const TCairoContext& cr = canvas.Cr;
    TWmfPlayer player(cr.get(), width, height, header->ObjectCount);
    TWmfDc& dc = player.Dc();
    dc.WindowOrgX = window->Left;
    dc.WindowOrgY = window->Top;
    dc.WindowExtX = double(window->Right) - window->Left;
    dc.WindowExtY = double(window->Bottom) - window->Top;
    player.ApplyWindow();
    Play(metafile, *header, player);
    return CopyToDib(surface.get(), picture);
}

}  // namespace qm
