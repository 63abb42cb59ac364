#include "word/sprm.h"

#include "word/colors.h"

#include <algorithm>
#include <iterator>

#include "base/byte_reader.h"
#include "word/row_definition.h"
#include "word/tab_stops.h"

namespace qm {

namespace {

// A character style's list may name a character style in turn; past this depth such a chain
// is taken to be a loop and not followed.
constexpr int kMaxStyleNesting = 8;

constexpr uint16_t kSprmPChgTabs = 0xC615;
constexpr uint16_t kSprmTDefTable = 0xD608;

// The operand of one property code, read little-endian; missing bytes read as 0.
struct TOperand {
    std::span<const uint8_t> Bytes;

    uint8_t U8() const { return Bytes.empty() ? 0 : Bytes[0]; }
    uint16_t U16() const {
        ByteReader r(Bytes);
        uint16_t v = 0;
        r.U16(v);
        return v;
    }
    int16_t I16() const { return static_cast<int16_t>(U16()); }
    uint32_t U32() const {
        ByteReader r(Bytes);
        uint32_t v = 0;
        r.U32(v);
        return v;
    }
};

// What a property code acts on: the properties in force and the styles it may name.
struct TTarget {
    TPropertyState& State;
    std::span<const TStyleEntry> Styles;
};

using TAction = void (*)(TTarget&, const TOperand&, int depth);

struct TSprmRule {
    uint16_t Code;
    TAction Apply;
};

// Toggle operands: 0 clears, 1 sets, 0x80 keeps, 0x81 inverts; other values keep.
void Toggle(bool& flag, uint8_t operand) {
    if (operand == 0) flag = false;
    if (operand == 1) flag = true;
    if (operand == 0x81) flag = !flag;
}

template <bool TChp::*Member>
void ToggleChp(TTarget& t, const TOperand& op, int) {
    Toggle(t.State.Chp.*Member, op.U8());
}

void ApplyCharStyle(TTarget& t, const TOperand& op, int depth) {
    const uint16_t istd = op.U16();
    if (istd >= t.Styles.size() || depth >= kMaxStyleNesting) return;
    ApplySprms(t.State, t.Styles, t.Styles[istd].SavedChpx, depth + 1);
}

void ApplyPlainText(TTarget& t, const TOperand&, int) {
    TChp& chp = t.State.Chp;
    const bool special = chp.FSpec;
    chp = t.State.ParaStyleChp;
    chp.FSpec = special;
}

void ClearCharFormat(TTarget& t, const TOperand&, int) {
    TChp& chp = t.State.Chp;
    chp.Bold = chp.Italic = chp.FldVanish = chp.SmallCaps = chp.Caps = false;
    chp.Ico = 0;
    chp.HasCv = false;
    chp.Kul = 0;
}

// sprmPJc80 gives the alignment as it shows on the page, sprmPJc as it reads: its left is the
// paragraph's start side. The later of the two in a list wins.
void SetJc(TPap& pap, uint8_t jc, bool logical) {
    pap.Jc = jc;
    pap.FJcLogical = logical ? 1 : 0;
}

// Section lengths that Word stores as signed values whose magnitude is the length.
// A paragraph border as a Brc80 (width in eighths of a point, kind, colour index).
void SetBorder80(TPap& pap, size_t side, uint32_t brc) {
    pap.Brc[side] = brc;
    pap.BrcCv[side] = -1;
}

// A paragraph border as an 8-byte Brc, kept as a Brc80 of colour index 0 with the 24-bit colour
// beside it; a shorter operand changes nothing.
void SetBorder(TPap& pap, size_t side, std::span<const uint8_t> operand) {
    ByteReader r(operand);
    TBorderLine line;
    if (!ReadBrc(r, line)) return;
    pap.Brc[side] = line.Eighths | (static_cast<uint32_t>(line.Type) << 8);
    pap.BrcCv[side] = line.Color;
}

uint32_t Magnitude(int16_t value) {
    return static_cast<uint32_t>(value < 0 ? -value : value);
}

// clang-format off
// One row per property code the program uses, sorted by code.
constexpr TSprmRule kRules[] = {
    {0x0802, ToggleChp<&TChp::FldVanish>},
    {0x0835, ToggleChp<&TChp::Bold>},
    {0x0836, ToggleChp<&TChp::Italic>},
    {0x0837, ToggleChp<&TChp::Strike>},
    {0x0839, ToggleChp<&TChp::Shadow>},
    {0x083A, ToggleChp<&TChp::SmallCaps>},
    {0x083B, ToggleChp<&TChp::Caps>},
    {0x083C, ToggleChp<&TChp::FVanish>},
    {0x0855, ToggleChp<&TChp::FSpec>},
    {0x085A, ToggleChp<&TChp::FBiDi>},
    {0x2403, [](TTarget& t, const TOperand& o, int) { SetJc(t.State.Pap, o.U8(), false); }},
    {0x2405, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FKeep = o.U8(); }},
    {0x2406, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FKeepFollow = o.U8(); }},
    {0x2407, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FPageBreakBefore = o.U8(); }},
    {0x240C, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FNoLnn = o.U8(); }},
    {0x2416, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FInTable = o.U8(); }},
    {0x2417, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FTtp = o.U8(); }},
    {0x2431, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FWidowControl = o.U8(); }},
    {0x2437, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FAutoSpaceDE = o.U8(); }},
    {0x2438, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FAutoSpaceDN = o.U8(); }},
    {0x2441, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FBiDi = o.U8(); }},
    {0x2461, [](TTarget& t, const TOperand& o, int) { SetJc(t.State.Pap, o.U8(), true); }},
    {0x246D, [](TTarget& t, const TOperand& o, int) { t.State.Pap.FContextualSpacing = o.U8(); }},
    {0x260A, [](TTarget& t, const TOperand& o, int) { t.State.Pap.Ilvl = o.U8(); }},
    {0x2640, [](TTarget& t, const TOperand& o, int) { t.State.Pap.OutLvl = o.U8(); }},
    {0x2A0C, [](TTarget& t, const TOperand& o, int) {
         t.State.Chp.IcoHighlight = o.U8() & 0x1F;
         t.State.Chp.Highlight = o.U8() != 0;
     }},
    {0x2A32, ClearCharFormat},
    {0x2A33, ApplyPlainText},
    {0x2A3E, [](TTarget& t, const TOperand& o, int) { t.State.Chp.Kul = o.U8() & 0x0F; }},
    {0x2A42, [](TTarget& t, const TOperand& o, int) {
         t.State.Chp.Ico = o.U8() & 0x1F;
         t.State.Chp.HasCv = false;
     }},
    {0x2A48, [](TTarget& t, const TOperand& o, int) { t.State.Chp.Iss = o.U8() & 0x07; }},
    {0x3009, [](TTarget& t, const TOperand& o, int) { t.State.Sep.Bkc = o.U8(); }},
    {0x300A, [](TTarget& t, const TOperand& o, int) { t.State.Sep.FTitlePage = o.U8(); }},
    {0x3019, [](TTarget& t, const TOperand& o, int) { t.State.Sep.FLBetween = o.U8(); }},
    {0x442D, [](TTarget& t, const TOperand& o, int) { t.State.Pap.Shd = o.U16(); t.State.Pap.HasShdCv = false; }},
    {0x460B, [](TTarget& t, const TOperand& o, int) { t.State.Pap.Ilfo = o.U16(); }},
    {0x4610, [](TTarget& t, const TOperand& o, int) {
         t.State.Pap.DxaLeft = std::max<int32_t>(t.State.Pap.DxaLeft + o.I16(), 0);
     }},
    {0x4866, [](TTarget& t, const TOperand& o, int) { t.State.Chp.Shd = o.U16(); t.State.Chp.HasShdCv = false; }},
    {0x4A30, ApplyCharStyle},
    {0x4A43, [](TTarget& t, const TOperand& o, int) { t.State.Chp.Hps = o.U16(); }},
    {0x4A4F, [](TTarget& t, const TOperand& o, int) { t.State.Chp.FtcAscii = o.U16(); }},
    {0x500B, [](TTarget& t, const TOperand& o, int) { t.State.Sep.CcolM1 = o.U16(); }},
    {0x5400, [](TTarget& t, const TOperand& o, int) { t.State.Row.Justification = o.U16(); }},
    {0x548A, [](TTarget& t, const TOperand& o, int) { t.State.Row.Justification = o.U16(); }},
    {0x6412, [](TTarget& t, const TOperand& o, int) {
         t.State.Pap.DyaLine = static_cast<int16_t>(o.U32() & 0xFFFF);
         t.State.Pap.FMultLinespace = static_cast<uint16_t>(o.U32() >> 16);
     }},
    {0x6424, [](TTarget& t, const TOperand& o, int) { SetBorder80(t.State.Pap, 0, o.U32()); }},
    {0x6425, [](TTarget& t, const TOperand& o, int) { SetBorder80(t.State.Pap, 1, o.U32()); }},
    {0x6426, [](TTarget& t, const TOperand& o, int) { SetBorder80(t.State.Pap, 2, o.U32()); }},
    {0x6427, [](TTarget& t, const TOperand& o, int) { SetBorder80(t.State.Pap, 3, o.U32()); }},
    {0x6646, [](TTarget& t, const TOperand& o, int) { t.State.HugePapx = o.U32(); }},
    {0x6870, [](TTarget& t, const TOperand& o, int) {
         t.State.Chp.Cv = o.U32();
         t.State.Chp.HasCv = true;
     }},
    {0x6A03, [](TTarget& t, const TOperand& o, int) {
         t.State.Chp.FSpec = true;
         t.State.Chp.FcPic = o.U32();
     }},
    {0x840E, [](TTarget& t, const TOperand& o, int) { t.State.Pap.DxaRight = o.I16(); }},
    {0x840F, [](TTarget& t, const TOperand& o, int) { t.State.Pap.DxaLeft = o.I16(); }},
    {0x8411, [](TTarget& t, const TOperand& o, int) { t.State.Pap.DxaLeft1 = o.I16(); }},
    {0x900C, [](TTarget& t, const TOperand& o, int) { t.State.Sep.DxaColumns = o.U16(); }},
    {0x9023, [](TTarget& t, const TOperand& o, int) { t.State.Sep.DyaTop = Magnitude(o.I16()); }},
    {0x9024, [](TTarget& t, const TOperand& o, int) { t.State.Sep.DyaBottom = Magnitude(o.I16()); }},
    {0x9602, [](TTarget& t, const TOperand& o, int) { t.State.Row.GapHalf = std::max<int32_t>(0, o.I16()); }},
    {0xA413, [](TTarget& t, const TOperand& o, int) { t.State.Pap.DyaBefore = o.U16(); }},
    {0xA414, [](TTarget& t, const TOperand& o, int) { t.State.Pap.DyaAfter = o.U16(); }},
    {0xB017, [](TTarget& t, const TOperand& o, int) { t.State.Sep.DyaHdrTop = o.U16(); }},
    {0xB018, [](TTarget& t, const TOperand& o, int) { t.State.Sep.DyaHdrBottom = o.U16(); }},
    {0xB01F, [](TTarget& t, const TOperand& o, int) { t.State.Sep.XaPage = o.U16(); }},
    {0xB020, [](TTarget& t, const TOperand& o, int) { t.State.Sep.YaPage = o.U16(); }},
    {0xB021, [](TTarget& t, const TOperand& o, int) { t.State.Sep.DxaLeft = o.U16(); }},
    {0xB022, [](TTarget& t, const TOperand& o, int) { t.State.Sep.DxaRight = o.U16(); }},
    {0xC60D, [](TTarget& t, const TOperand& o, int) { ChangeTabs(t.State.Pap, o.Bytes); }},
    {0xC64D, [](TTarget& t, const TOperand& o, int) { t.State.Pap.ShdCv = ShadingColor24(o.Bytes); t.State.Pap.HasShdCv = true; }},
    {0xC64E, [](TTarget& t, const TOperand& o, int) { SetBorder(t.State.Pap, 0, o.Bytes); }},
    {0xC64F, [](TTarget& t, const TOperand& o, int) { SetBorder(t.State.Pap, 1, o.Bytes); }},
    {0xC650, [](TTarget& t, const TOperand& o, int) { SetBorder(t.State.Pap, 2, o.Bytes); }},
    {0xC651, [](TTarget& t, const TOperand& o, int) { SetBorder(t.State.Pap, 3, o.Bytes); }},
    {0xCA71, [](TTarget& t, const TOperand& o, int) { t.State.Chp.ShdCv = ShadingColor24(o.Bytes); t.State.Chp.HasShdCv = true; }},
    {0xD605, [](TTarget& t, const TOperand& o, int) { DefineTableBorders80(t.State.Row, o.Bytes); }},
    {0xD608, [](TTarget& t, const TOperand& o, int) { DefineRow(t.State.Row, o.Bytes); }},
    {0xD609, [](TTarget& t, const TOperand& o, int) { DefineRowShading(t.State.Row, o.Bytes); }},
    {0xD613, [](TTarget& t, const TOperand& o, int) { DefineTableBorders(t.State.Row, o.Bytes); }},
    {0xD632, [](TTarget& t, const TOperand& o, int) { DefineCellPadding(t.State.Row, o.Bytes, false); }},
    {0xD634, [](TTarget& t, const TOperand& o, int) { DefineCellPadding(t.State.Row, o.Bytes, true); }},
};
// clang-format on
static_assert(std::is_sorted(std::begin(kRules), std::end(kRules),
                             [](const TSprmRule& a, const TSprmRule& b) {
                                 return a.Code < b.Code;
                             }));

const TSprmRule* FindRule(uint16_t code) {
    const auto* it = std::lower_bound(std::begin(kRules), std::end(kRules), code,
                                      [](const TSprmRule& r, uint16_t c) { return r.Code < c; });
    return it != std::end(kRules) && it->Code == code ? it : nullptr;
}

// Reads the operand of code at the reader's position; false when it runs past the list.
bool ReadOperand(ByteReader& r, uint16_t code, std::span<const uint8_t>& operand) {
    const int fixed = SprmOperandSize(code);
    if (fixed >= 0) return r.Bytes(static_cast<size_t>(fixed), operand);
    if (code == kSprmTDefTable) {
        // Its size is 16 bits and counts itself plus one (TDefTableOperand).
        uint16_t cb = 0;
        if (!r.U16(cb)) return false;
        return r.Bytes(cb > 0 ? cb - 1u : 0u, operand);
    }
    uint8_t cb = 0;
    if (!r.U8(cb)) return false;
    if (code == kSprmPChgTabs && cb == 255) {
        // PChgTabsOperand: the size is then given by the counts: deletions take 4 bytes
        // each (position and close distance), additions 3 (position and descriptor).
        const size_t start = r.Pos();
        uint8_t deleteCount = 0;
        uint8_t addCount = 0;
        if (!r.U8(deleteCount) || !r.Skip(4u * deleteCount) || !r.U8(addCount)) return false;
        r.Seek(start);
        return r.Bytes(2u + 4u * deleteCount + 3u * addCount, operand);
    }
    return r.Bytes(cb, operand);
}

}  // namespace

int SprmOperandSize(uint16_t code) {
    switch (code >> 13) {
        case 0:
        case 1:
            return 1;
        case 2:
        case 4:
        case 5:
            return 2;
        case 3:
            return 4;
        case 7:
            return 3;
        default:
            return -1;
    }
}

std::vector<uint8_t> WithWord97Indents(std::span<const uint8_t> list) {
    std::vector<uint8_t> out(list.begin(), list.end());
    ByteReader r(list);
    while (r.Remaining() >= 2) {
        const size_t at = r.Pos();
        uint16_t code = 0;
        r.U16(code);
        std::span<const uint8_t> operand;
        if (!ReadOperand(r, code, operand)) break;
        uint16_t old = 0;
        if (code == 0x845E) old = 0x840F;
        if (code == 0x845D) old = 0x840E;
        if (code == 0x8460) old = 0x8411;
        if (old == 0) continue;
        out[at] = static_cast<uint8_t>(old);
        out[at + 1] = static_cast<uint8_t>(old >> 8);
    }
    return out;
}

void ApplySprms(TPropertyState& state, std::span<const TStyleEntry> styles,
                std::span<const uint8_t> list, int depth) {
    TTarget target{state, styles};
    ByteReader r(list);
    while (r.Remaining() >= 2) {
        uint16_t code = 0;
        r.U16(code);
        std::span<const uint8_t> operand;
        if (!ReadOperand(r, code, operand)) return;
        if (const TSprmRule* rule = FindRule(code)) rule->Apply(target, TOperand{operand}, depth);
    }
}

}  // namespace qm
