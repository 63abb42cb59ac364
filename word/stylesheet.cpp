#include "word/stylesheet.h"

#include <algorithm>

#include "base/byte_reader.h"
#include "word/sprm.h"
#include "word/sprm_word6.h"

namespace qm {

namespace {

constexpr uint8_t kParagraphStyle = 1;
constexpr uint8_t kCharacterStyle = 2;
// The base part of a style as Word 97 writes it; later versions append more (StdfPost2000).
constexpr uint16_t kStdBaseSize = 10;
// Where the STSHI's standard fonts start: after the style count, the base size, the flags and
// three limits.
constexpr uint16_t kStshiFontOffset = 12;

struct TStdBase {
    uint8_t Sgc = 0;
    uint16_t Sti = 0x0FFE;
    uint16_t IstdBase = 0;
    uint8_t Cupx = 0;
};

TStdBase ReadStdBase(ByteReader& r, uint16_t cbStdBase) {
    uint16_t words[5] = {};
    const uint16_t wordCount = std::min<uint16_t>(cbStdBase, kStdBaseSize) / 2;
    for (uint16_t i = 0; i < wordCount; ++i)
        r.U16(words[i]);
    TStdBase base;
    base.Sti = words[0] & 0x0FFF;
    base.Sgc = words[1] & 0x0F;
    base.IstdBase = words[1] >> 4;
    base.Cupx = words[2] & 0x0F;
    return base;
}

// Where the property lists begin: after the base part and the name (a 16-bit count, that many
// 16-bit characters and a terminating 0; in Word 6 an 8-bit count and 8-bit characters), at an
// even offset from the style's start.
size_t PropertyListsStart(ByteReader& r, size_t stdStart, uint16_t cbStdBase, bool word6) {
    r.Seek(stdStart + cbStdBase);
    if (word6) {
        uint8_t count = 0;
        r.U8(count);
        const size_t offset = cbStdBase + 1 + static_cast<size_t>(count) + 1;
        return stdStart + offset + (offset & 1);
    }
    uint16_t count = 0;
    r.U16(count);
    size_t offset = cbStdBase + 2 + 2 * static_cast<size_t>(count & 0xFF) + 2;
    return stdStart + offset + (offset & 1);
}

std::vector<uint8_t> InWord97Codes(std::span<const uint8_t> list, bool word6) {
    if (word6) return TranslateWord6Sprms(list);
    return {list.begin(), list.end()};
}

// The property lists of a style (UPX), each after its 16-bit size and padded to an even length.
void ApplyStyleLists(TStylesheet& sheet, TPropertyState& work, ByteReader& r, size_t stdStart,
                     size_t stdEnd, size_t pos, const TStdBase& base, TStyleEntry& entry,
                     bool word6) {
    for (uint8_t j = 0; j < base.Cupx && pos < stdEnd; ++j) {
        uint16_t cbUpx = 0;
        r.Seek(pos);
        if (!r.U16(cbUpx)) return;
        std::span<const uint8_t> list;
        if (cbUpx > stdEnd - r.Pos() || !r.Bytes(cbUpx, list)) return;
        if (base.Sgc == kCharacterStyle) {
            if (j == 0) entry.SavedChpx = InWord97Codes(list, word6);
        } else if (j == 0) {
            // after the style index
            if (list.size() >= 2)
                ApplySprms(work, sheet.Styles, InWord97Codes(list.subspan(2), word6));
        } else if (j == 1) {
            ApplySprms(work, sheet.Styles, InWord97Codes(list, word6));
        }
        const size_t offset = r.Pos() - stdStart;
        pos = r.Pos() + (offset & 1);
    }
}

void ReadStyle(TStylesheet& sheet, TPropertyState& work, ByteReader& r, size_t pos, uint16_t cbStd,
               uint16_t cbStdBase, size_t i, bool word6) {
    const size_t stdStart = pos + 2;
    const size_t stdEnd = std::min(stdStart + cbStd, r.Size());
    r.Seek(stdStart);
    const TStdBase base = ReadStdBase(r, cbStdBase);
    const size_t lists = PropertyListsStart(r, stdStart, cbStdBase, word6);
    if (base.IstdBase <= i) {
        work.Pap = sheet.Styles[base.IstdBase].Pap;
        work.Chp = sheet.Styles[base.IstdBase].Chp;
    }
    sheet.Styles[i].IsCharStyle = base.Sgc == kCharacterStyle;
    sheet.Styles[i].Sti = base.Sti;
    if (base.Sgc == kParagraphStyle || base.Sgc == kCharacterStyle) {
        ApplyStyleLists(sheet, work, r, stdStart, stdEnd, lists, base, sheet.Styles[i], word6);
    }
}

// A style before its lists apply: the defaults, with the STSHI's standard font
// (rgftcStandardChpStsh, its first entry the one for ASCII text) when the STSHI holds it.
TStyleEntry FreshStyle(ByteReader& r, uint32_t fcStshf, uint16_t cbStshi) {
    TStyleEntry entry;
    const size_t start = r.Pos();
    uint16_t ftc = 0;
    if (cbStshi >= kStshiFontOffset + 2 &&
        r.Seek(static_cast<size_t>(fcStshf) + 2 + kStshiFontOffset) && r.U16(ftc))
        entry.Chp.FtcAscii = ftc;
    r.Seek(start);
    return entry;
}

}  // namespace

TStylesheet ReadStylesheet(std::span<const uint8_t> tableStream, uint32_t fcStshf, bool word6) {
    TStylesheet sheet;
    TPropertyState work;
    ByteReader r(tableStream);
    uint16_t cbStshi = 0;
    uint16_t cstd = 0;
    uint16_t cbStdBase = 0;
    if (r.Seek(fcStshf) && r.U16(cbStshi) && r.U16(cstd)) r.U16(cbStdBase);
    const TStyleEntry fresh = FreshStyle(r, fcStshf, cbStshi);
    size_t pos = static_cast<size_t>(fcStshf) + cbStshi + 2;
    // Every style takes at least its 2-byte size, so the stream bounds the count.
    const size_t remaining = pos < tableStream.size() ? tableStream.size() - pos : 0;
    const size_t count = std::min<size_t>(cstd, remaining / 2);
    for (size_t i = 0; i < count; ++i) {
        sheet.Styles.push_back(fresh);
        work.Pap = sheet.Styles[i].Pap;
        work.Chp = sheet.Styles[i].Chp;
        uint16_t cbStd = 0;
        if (!r.Seek(pos) || !r.U16(cbStd)) break;
        if (cbStd != 0) ReadStyle(sheet, work, r, pos, cbStd, cbStdBase, i, word6);
        sheet.Styles[i].Pap = work.Pap;
        sheet.Styles[i].Chp = work.Chp;
        pos += static_cast<size_t>(cbStd) + 2;
    }
    if (sheet.Styles.empty()) sheet.Styles.push_back(fresh);
    sheet.LastChp = work.Chp;
    sheet.LastPap = work.Pap;
    return sheet;
}

}  // namespace qm
