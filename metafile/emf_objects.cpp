// Enhanced metafile records of the object table: pens, brushes and fonts are created at the
// index the record names and selected by it; indexes with the high bit set name the stock
// objects every device context knows. The device context keeps its own copy of what it has
// selected, as with Windows metafiles.
#include <type_traits>

#include "metafile/emf_context.h"

namespace qm {

namespace {

constexpr uint32_t kStockFlag = 0x80000000;
constexpr uint32_t kPenGeometric = 0x00010000;

// Stock objects ([MS-EMF] 2.1.31).
constexpr uint32_t kStockWhiteBrush = 0;
constexpr uint32_t kStockLightGrayBrush = 1;
constexpr uint32_t kStockGrayBrush = 2;
constexpr uint32_t kStockDarkGrayBrush = 3;
constexpr uint32_t kStockBlackBrush = 4;
constexpr uint32_t kStockNullBrush = 5;
constexpr uint32_t kStockWhitePen = 6;
constexpr uint32_t kStockBlackPen = 7;
constexpr uint32_t kStockNullPen = 8;
constexpr uint32_t kStockFirstFont = 10;
constexpr uint32_t kStockLastFont = 17;
constexpr uint32_t kStockDcBrush = 18;
constexpr uint32_t kStockDcPen = 19;

TWmfBrush SolidBrush(uint32_t color) {
    TWmfBrush brush;
    brush.Style = kBrushSolid;
    brush.Color = color;
    return brush;
}

TWmfPen SolidPen(uint32_t color) {
    TWmfPen pen;
    pen.Color = color;
    return pen;
}

TWmfObject StockObject(uint32_t index) {
    switch (index) {
        case kStockWhiteBrush:
        case kStockDcBrush:
            return SolidBrush(kWmfWhite);
        case kStockLightGrayBrush:
            return SolidBrush(0xC0C0C0);
        case kStockGrayBrush:
            return SolidBrush(0x808080);
        case kStockDarkGrayBrush:
            return SolidBrush(0x404040);
        case kStockBlackBrush:
            return SolidBrush(kWmfBlack);
        case kStockNullBrush: {
            TWmfBrush brush;
            brush.Style = kBrushNull;
            return brush;
        }
        case kStockWhitePen:
            return SolidPen(kWmfWhite);
        case kStockBlackPen:
        case kStockDcPen:
            return SolidPen(kWmfBlack);
        case kStockNullPen: {
            TWmfPen pen;
            pen.Style = kPenNull;
            return pen;
        }
        default:
            break;
    }
    if (index >= kStockFirstFont && index <= kStockLastFont) return TWmfFont{};
    return std::monostate{};
}

void Select(TWmfPlayer& p, const TWmfObject& object) {
    TWmfDc& dc = p.Dc();
    std::visit(
        [&](const auto& o) {
            using T = std::decay_t<decltype(o)>;
            if constexpr (std::is_same_v<T, TWmfPen>) dc.Pen = o;
            if constexpr (std::is_same_v<T, TWmfBrush>) dc.Brush = o;
            if constexpr (std::is_same_v<T, TWmfFont>) dc.Font = o;
        },
        object);
}

// A brush style as a logical brush stores it; patterns and the like paint in their colour.
uint16_t BrushStyle(uint32_t style) {
    return style == kBrushNull || style == kBrushHatched ? static_cast<uint16_t>(style)
                                                         : kBrushSolid;
}

}  // namespace

bool PlayEmfCreatePen(TWmfPlayer& p, ByteReader& r) {
    uint32_t index = 0, color = 0;
    int32_t widthY = 0;
    TWmfPen pen;
    if (!r.U32(index) || !r.U32(pen.Style) || !r.I32(pen.Width) || !r.I32(widthY) ||
        !ReadColorRef(r, color))
        return false;
    pen.Color = color & 0xFFFFFF;
    p.SetObject(index, pen);
    return true;
}

bool PlayEmfExtCreatePen(TWmfPlayer& p, ByteReader& r) {
    uint32_t index = 0, brushStyle = 0, color = 0, width = 0;
    TWmfPen pen;
    // The pen follows the offsets and sizes of an optional pattern bitmap (16 bytes).
    if (!r.U32(index) || !r.Skip(16) || !r.U32(pen.Style) || !r.U32(width) || !r.U32(brushStyle) ||
        !ReadColorRef(r, color))
        return false;
    // A cosmetic pen is one device pixel wide whatever its width says.
    pen.Width = (pen.Style & kPenGeometric) && width <= INT32_MAX ? static_cast<int32_t>(width) : 0;
    pen.Color = color & 0xFFFFFF;
    if (brushStyle == kBrushNull) pen.Style = (pen.Style & ~0x0Fu) | kPenNull;
    p.SetObject(index, pen);
    return true;
}

bool PlayEmfCreateBrush(TWmfPlayer& p, ByteReader& r) {
    uint32_t index = 0, style = 0, color = 0, hatch = 0;
    if (!r.U32(index) || !r.U32(style) || !ReadColorRef(r, color) || !r.U32(hatch)) return false;
    TWmfBrush brush;
    brush.Style = BrushStyle(style);
    brush.Color = color & 0xFFFFFF;
    brush.Hatch = static_cast<uint16_t>(hatch);
    p.SetObject(index, brush);
    return true;
}

bool PlayEmfCreateFont(TWmfPlayer& p, ByteReader& r) {
    uint32_t index = 0;
    int32_t width = 0, orientation = 0;
    uint8_t italic = 0, underline = 0, strikeOut = 0;
    TWmfFont font;
    if (!r.U32(index) || !r.I32(font.Height) || !r.I32(width) || !r.I32(font.Escapement) ||
        !r.I32(orientation) || !r.I32(font.Weight) || !r.U8(italic) || !r.U8(underline) ||
        !r.U8(strikeOut) || !r.U8(font.Charset) || !r.Skip(4))
        return false;
    font.Italic = italic != 0;
    font.Underline = underline != 0;
    font.StrikeOut = strikeOut != 0;
    font.FaceName = ReadFaceName(r, 2);
    p.SetObject(index, font);
    return true;
}

bool PlayEmfSelectObject(TWmfPlayer& p, ByteReader& r) {
    uint32_t index = 0;
    if (!r.U32(index)) return false;
    if (index & kStockFlag) {
        Select(p, StockObject(index & ~kStockFlag));
    } else if (const TWmfObject* object = p.Object(index)) {
        Select(p, *object);
    }
    return true;
}

bool PlayEmfDeleteObject(TWmfPlayer& p, ByteReader& r) {
    uint32_t index = 0;
    if (!r.U32(index)) return false;
    p.DeleteObject(index);
    return true;
}

}  // namespace qm
