#include "metafile/emf_player.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "metafile/emf_context.h"

namespace qm {

namespace {

constexpr uint32_t kHeaderType = 1;
constexpr uint32_t kEofType = 14;
constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr size_t kHeaderBytes = 88;          // the header without its optional extensions
constexpr size_t kRecordHeaderBytes = 8;
// Real metafiles stay below a few ten thousand records; this bounds the time a file of tiny
// records can take.
constexpr uint32_t kMaxRecords = uint32_t{1} << 20;
// A frame wider or higher than this many reference pixels (a wall at 600 dots per inch) is no
// genuine picture; a narrower one than this draws nothing visible.
constexpr double kMaxFrameSide = 1e6;
constexpr double kMinFrameSide = 1;
// Cairo's image surfaces are at most this wide and high.
constexpr int32_t kMaxPictureSide = 32767;
constexpr double kHundredthsPerMm = 100;

struct TEmfHeader {
    TLogicalRect Bounds;  // reference pixels, inclusive
    TLogicalRect Frame;   // hundredths of a millimetre, inclusive
    uint16_t Handles = 0;
    double DeviceXPerMm = 0;
    double DeviceYPerMm = 0;
    size_t Bytes = 0;  // the header record's size
};

struct TRecordRule {
    uint32_t Type;
    TWmfHandler Play;
    bool Draws;
};

constexpr TRecordRule kRecordRules[] = {
    {3, PlayEmfPolygon, true},
    {4, PlayEmfPolyline, true},
    {5, PlayEmfPolyBezierTo, true},
    {6, PlayEmfPolylineTo, true},
    {9, PlayEmfSetWindowExt, false},
    {10, PlayEmfSetWindowOrg, false},
    {11, PlayEmfSetViewportExt, false},
    {12, PlayEmfSetViewportOrg, false},
    {17, PlayEmfSetMapMode, false},
    {18, PlayEmfSetBkMode, false},
    {19, PlayEmfSetPolyFillMode, false},
    {20, PlayEmfSetRop2, false},
    {22, PlayEmfSetTextAlign, false},
    {24, PlayEmfSetTextColor, false},
    {25, PlayEmfSetBkColor, false},
    {27, PlayEmfMoveTo, false},
    {29, PlayEmfExcludeClipRect, false},
    {30, PlayEmfIntersectClipRect, false},
    {33, PlayEmfSaveDc, false},
    {34, PlayEmfRestoreDc, false},
    {35, PlayEmfSetWorldTransform, false},
    {36, PlayEmfModifyWorldTransform, false},
    {37, PlayEmfSelectObject, false},
    {38, PlayEmfCreatePen, false},
    {39, PlayEmfCreateBrush, false},
    {40, PlayEmfDeleteObject, false},
    {42, PlayEmfEllipse, true},
    {43, PlayEmfRectangle, true},
    {54, PlayEmfLineTo, true},
    {59, PlayEmfBeginPath, false},
    {60, PlayEmfEndPath, false},
    {61, PlayEmfCloseFigure, false},
    {62, PlayEmfFillPath, true},
    {63, PlayEmfStrokeAndFillPath, true},
    {64, PlayEmfStrokePath, true},
    {67, PlayEmfSelectClipPath, false},
    {68, PlayEmfAbortPath, false},
    {75, PlayEmfExtSelectClipRgn, false},
    {76, PlayEmfBitBlt, true},
    {77, PlayEmfStretchBlt, true},
    {81, PlayEmfStretchDiBits, true},
    {82, PlayEmfCreateFont, false},
    {84, PlayEmfExtTextOutW, true},
    {85, PlayEmfPolyBezier16, true},
    {86, PlayEmfPolygon16, true},
    {87, PlayEmfPolyline16, true},
    {88, PlayEmfPolyBezierTo16, true},
    {89, PlayEmfPolylineTo16, true},
    {90, PlayEmfPolyPolyline16, true},
    {91, PlayEmfPolyPolygon16, true},
    {95, PlayEmfExtCreatePen, false},
};

// Records that change nothing this player draws: brush origins, stretch modes, the meta
// region, comments (EMF+ among them), colour management, mapper flags, miter limits, palettes
// and layout.
constexpr uint32_t kPassedOver[] = {13, 16, 21, 28, 58, 70, 98, 48, 49, 51, 115};

const TRecordRule* FindRule(uint32_t type) {
    for (const TRecordRule& rule : kRecordRules)
        if (rule.Type == type) return &rule;
    return nullptr;
}

bool PassedOver(uint32_t type) {
    return std::find(std::begin(kPassedOver), std::end(kPassedOver), type) != std::end(kPassedOver);
}

std::optional<TEmfHeader> ReadHeader(std::span<const uint8_t> bytes) {
    ByteReader r(bytes);
    TEmfHeader h;
    uint32_t type = 0, size = 0, signature = 0;
    int32_t deviceX = 0, deviceY = 0, mmX = 0, mmY = 0;
    if (!r.U32(type) || !r.U32(size) || !ReadRectL(r, h.Bounds) || !ReadRectL(r, h.Frame) ||
        !r.U32(signature) || !r.Seek(56) || !r.U16(h.Handles) || !r.Seek(72) || !r.I32(deviceX) ||
        !r.I32(deviceY) || !r.I32(mmX) || !r.I32(mmY))
        return std::nullopt;
    if (type != kHeaderType || signature != kSignature || size < kHeaderBytes ||
        size > bytes.size())
        return std::nullopt;
    if (deviceX <= 0 || deviceY <= 0 || mmX <= 0 || mmY <= 0) return std::nullopt;
    h.DeviceXPerMm = double(deviceX) / mmX;
    h.DeviceYPerMm = double(deviceY) / mmY;
    h.Bytes = size;
    return h;
}

// The frame in reference pixels: the header's frame, else its bounds.
std::optional<TLogicalRect> DeviceFrame(const TEmfHeader& h) {
    const TLogicalRect& f = h.Frame;
    TLogicalRect frame{
        f.Left / kHundredthsPerMm * h.DeviceXPerMm, f.Top / kHundredthsPerMm * h.DeviceYPerMm,
        f.Right / kHundredthsPerMm * h.DeviceXPerMm, f.Bottom / kHundredthsPerMm * h.DeviceYPerMm};
    const auto usable = [](const TLogicalRect& r) {
        const double w = r.Right - r.Left, h = r.Bottom - r.Top;
        return w >= kMinFrameSide && h >= kMinFrameSide && w <= kMaxFrameSide && h <= kMaxFrameSide;
    };
    if (usable(frame)) return frame;
    frame = {h.Bounds.Left, h.Bounds.Top, h.Bounds.Right + 1, h.Bounds.Bottom + 1};
    if (usable(frame)) return frame;
    return std::nullopt;
}

// The size asked for, else one pixel per reference pixel; shrunk to the limits.
void PictureSize(const TLogicalRect& frame, const TWmfSizeLimit& size, int32_t& width,
                 int32_t& height) {
    double w = frame.Right - frame.Left, h = frame.Bottom - frame.Top;
    if (size.Width > 0 && size.Height > 0) w = double(size.Width), h = double(size.Height);
    double scale = 1;
    if (w * h > double(kMaxMetafilePixels)) scale = std::sqrt(double(kMaxMetafilePixels) / (w * h));
    scale = std::min({scale, kMaxPictureSide / w, kMaxPictureSide / h});
    width = std::max<int32_t>(1, static_cast<int32_t>(w * scale));
    height = std::max<int32_t>(1, static_cast<int32_t>(h * scale));
}

void Play(std::span<const uint8_t> bytes, size_t first, TWmfPlayer& player, TEmfPlayback& out) {
    size_t pos = first;
    for (uint32_t count = 0; count < kMaxRecords; ++count) {
        ByteReader head(bytes.subspan(pos));
        uint32_t type = 0, size = 0;
        if (!head.U32(type) || !head.U32(size) || size < kRecordHeaderBytes ||
            size > bytes.size() - pos) {
            out.Damaged = true;
            return;
        }
        if (type == kEofType) return;
        ByteReader record(bytes.subspan(pos, size));
        record.Seek(kRecordHeaderBytes);
        if (const TRecordRule* rule = FindRule(type)) {
            if (!rule->Play(player, record)) {
                out.Damaged = true;
                return;
            }
            if (rule->Draws) ++out.Drawn;
        } else if (!PassedOver(type)) {
            ++out.Skipped;
        }
        pos += size;
    }
}

}  // namespace

bool PlayEnhancedMetafile(std::span<const uint8_t> metafile, const TWmfSizeLimit& size,
                          TDib& picture, TEmfPlayback& playback) {
    deldib(picture);
    playback = {};
    const std::optional<TEmfHeader> header = ReadHeader(metafile);
    if (!header) return false;
    const std::optional<TLogicalRect> frame = DeviceFrame(*header);
    if (!frame) return false;
    int32_t width = 0, height = 0;
    PictureSize(*frame, size, width, height);
    const TWhiteCanvas canvas = WhiteCanvas(width, height);
    if (!canvas.Surface) return false;
    const TCairoSurface& surface = canvas.Surface;
    const TCairoContext& cr = canvas.Cr;
    const double sx = width / (frame->Right - frame->Left);
    const double sy = height / (frame->Bottom - frame->Top);
    cairo_matrix_t deviceToPicture;
    cairo_matrix_init(&deviceToPicture, sx, 0, 0, sy, -frame->Left * sx, -frame->Top * sy);
    TWmfPlayer player(cr.get(), width, height, header->Handles);
    player.UseEnhancedMapping(deviceToPicture, std::max(1.0, std::min(sx, sy)),
                              header->DeviceXPerMm, header->DeviceYPerMm);
    Play(metafile, header->Bytes, player, playback);
    return CopyToDib(surface.get(), picture);
}

}  // namespace qm
