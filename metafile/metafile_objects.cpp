// Metafile records of the object table ([MS-WMF] 3.1.4.1): pens, brushes, fonts and palettes
// are created into the lowest free place, selected into the device context by their place and
// deleted from it. The device context keeps its own copy, so deleting a selected object leaves
// the drawing as it is.
#include <type_traits>

#include "metafile/metafile_context.h"

namespace qm {

namespace {

constexpr size_t kFaceNameUnits = 32;
constexpr uint16_t kPaletteEntryBytes = 4;

}  // namespace

std::string ReadFaceName(ByteReader& r, size_t unitBytes) {
    std::string name;
    for (size_t i = 0; i < kFaceNameUnits; ++i) {
        uint8_t low = 0, high = 0;
        if (!r.U8(low) || (unitBytes == 2 && !r.U8(high))) break;
        if (low == 0 && high == 0) break;
        if (low >= 0x80 || high != 0) return {};
        name.push_back(static_cast<char>(low));
    }
    return name;
}

bool PlayCreatePen(TWmfPlayer& p, ByteReader& r) {
    TWmfPen pen;
    uint16_t style = 0;
    int16_t width = 0, widthY = 0;
    uint32_t color = 0;
    if (!r.U16(style) || !r.I16(width) || !r.I16(widthY) || !ReadColorRef(r, color)) return false;
    pen.Style = style;
    pen.Width = width;
    pen.Color = p.Color(color);
    p.AddObject(pen);
    return true;
}

bool PlayCreateBrush(TWmfPlayer& p, ByteReader& r) {
    TWmfBrush brush;
    uint32_t color = 0;
    if (!r.U16(brush.Style) || !ReadColorRef(r, color)) return false;
    r.U16(brush.Hatch);  // absent in some writers' solid brushes
    brush.Color = p.Color(color);
    // A pattern needs a bitmap this record cannot carry; the colour stands in for it.
    if (brush.Style != kBrushNull && brush.Style != kBrushHatched) brush.Style = kBrushSolid;
    p.AddObject(brush);
    return true;
}

bool PlayCreateFont(TWmfPlayer& p, ByteReader& r) {
    TWmfFont font;
    int16_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    uint8_t italic = 0, underline = 0, strikeOut = 0;
    if (!r.I16(height) || !r.I16(width) || !r.I16(escapement) || !r.I16(orientation) ||
        !r.I16(weight) || !r.U8(italic) || !r.U8(underline) || !r.U8(strikeOut) ||
        !r.U8(font.Charset) || !r.Skip(4)) {
        return false;
    }
    font.Height = height;
    font.Escapement = escapement;
    font.Weight = weight;
    font.Italic = italic != 0;
    font.Underline = underline != 0;
    font.StrikeOut = strikeOut != 0;
    font.FaceName = ReadFaceName(r, 1);
    p.AddObject(font);
    return true;
}

bool PlayCreatePalette(TWmfPlayer& p, ByteReader& r) {
    uint16_t start = 0, count = 0;
    if (!r.U16(start) || !r.U16(count)) return false;
    if (count > r.Remaining() / kPaletteEntryBytes) return false;
    TWmfPalette palette;
    palette.Colors.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        uint8_t red = 0, green = 0, blue = 0, flags = 0;
        r.U8(red), r.U8(green), r.U8(blue), r.U8(flags);
        palette.Colors.push_back((uint32_t{blue} << 16) | (uint32_t{green} << 8) | red);
    }
    p.AddObject(std::move(palette));
    return true;
}

bool PlayCreatePatternBrush(TWmfPlayer& p, ByteReader& r) {
    uint16_t style = 0, colorUsage = 0;
    if (!r.U16(style) || !r.U16(colorUsage)) return false;
    // [MS-WMF] 2.3.4.8: with BS_PATTERN the colour table holds colours whatever the field says.
    if (style == kBrushPattern) colorUsage = 0;
    TWmfBrush brush;
    if (!DecodeDib(p.Dc().Palette, r, r, colorUsage, brush.Pattern)) return false;
    brush.Style = brush.Pattern ? kBrushPattern : kBrushNull;
    p.AddObject(std::move(brush));
    return true;
}

bool PlayCreatePlaceholder(TWmfPlayer& p, ByteReader&) {
    p.AddObject(TWmfPlaceholder{});
    return true;
}

bool PlaySelectObject(TWmfPlayer& p, ByteReader& r) {
    uint16_t index = 0;
    if (!r.U16(index)) return false;
    TWmfObject* object = p.Object(index);
    if (object == nullptr) return true;
    TWmfDc& dc = p.Dc();
    std::visit(
        [&](const auto& o) {
            using T = std::decay_t<decltype(o)>;
            if constexpr (std::is_same_v<T, TWmfPen>) dc.Pen = o;
            if constexpr (std::is_same_v<T, TWmfBrush>) dc.Brush = o;
            if constexpr (std::is_same_v<T, TWmfFont>) dc.Font = o;
        },
        *object);
    return true;
}

bool PlaySelectPalette(TWmfPlayer& p, ByteReader& r) {
    uint16_t index = 0;
    if (!r.U16(index)) return false;
    TWmfObject* object = p.Object(index);
    if (object != nullptr && std::holds_alternative<TWmfPalette>(*object))
        p.Dc().Palette = std::get<TWmfPalette>(*object);
    return true;
}

bool PlayDeleteObject(TWmfPlayer& p, ByteReader& r) {
    uint16_t index = 0;
    if (!r.U16(index)) return false;
    p.DeleteObject(index);
    return true;
}

}  // namespace qm
