// Enhanced metafile text (EMR_EXTTEXTOUTW): UTF-16 strings with their spacing, drawn like the
// text of Windows metafiles through the font layer. Strings of glyph indexes (which name
// glyphs of the font the metafile was made with, not characters) are left out.
#include "metafile/emf_context.h"

namespace qm {

namespace {

constexpr uint32_t kOptionGlyphIndex = 0x0010;
constexpr uint32_t kOptionPdy = 0x2000;  // the spacing holds a y advance after each x advance
// The text record ([MS-EMF] 2.3.5.8): the fixed fields after the bounds and scales.
constexpr size_t kEmrTextOffset = 36;

// UTF-16 code units into code points; unpaired surrogates become U+FFFD.
std::u32string DecodeUtf16(ByteReader& r, uint32_t count) {
    std::u32string text;
    text.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t unit = 0;
        r.U16(unit);
        char32_t code = unit;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count) {
            uint16_t low = 0;
            r.U16(low);
            ++i;
            code = low >= 0xDC00 && low < 0xE000
                       ? 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00)
                       : U'\uFFFD';
        } else if (unit >= 0xD800 && unit < 0xE000) {
            code = U'\uFFFD';
        }
        text.push_back(code);
    }
    return text;
}

// The advances, when the record holds all of them.
std::vector<double> ReadSpacing(const ByteReader& record, uint32_t offset, uint32_t count,
                                uint32_t options) {
    std::vector<double> dx;
    const uint32_t step = (options & kOptionPdy) ? 8 : 4;
    ByteReader part;
    if (offset == 0 || count > UINT32_MAX / step || !RecordPart(record, offset, count * step, part))
        return dx;
    dx.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        int32_t value = 0;
        part.I32(value);
        if (step == 8) part.Skip(4);
        dx.push_back(value);
    }
    return dx;
}

}  // namespace

bool RecordPart(const ByteReader& record, uint32_t offset, uint32_t size, ByteReader& part) {
    const std::span<const uint8_t> all = record.Data();
    if (offset > all.size() || size > all.size() - offset) return false;
    part = ByteReader(all.subspan(offset, size));
    return true;
}

bool PlayEmfExtTextOutW(TWmfPlayer& p, ByteReader& r) {
    int32_t x = 0, y = 0;
    uint32_t count = 0, offString = 0, offDx = 0;
    TMetafileText run;
    if (!r.Seek(kEmrTextOffset) || !r.I32(x) || !r.I32(y) || !r.U32(count) || !r.U32(offString) ||
        !r.U32(run.Options) || !ReadRectL(r, run.Rect) || !r.U32(offDx))
        return false;
    run.X = x, run.Y = y;
    if (run.Options & kOptionGlyphIndex) count = 0;
    ByteReader chars;
    if (count > UINT32_MAX / 2 || !RecordPart(r, offString, count * 2, chars)) return false;
    run.Text = DecodeUtf16(chars, count);
    run.Dx = ReadSpacing(r, offDx, count, run.Options);
    return DrawMetafileText(p, run);
}

}  // namespace qm
