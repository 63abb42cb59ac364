#include "word/model_format.h"

#include <algorithm>
#include <cstdlib>

#include "word/colors.h"

namespace qm {

namespace {

// Sep ccolM1: at most 45 columns.
constexpr int32_t kMaxColumns = 45;
// The in-table padding added to both indents, mm.
constexpr double kCellPaddingMM = 2.5;

void WriteLineSpacing(const TPap& pap, TParaFormat& para) {
    const double magnitude = std::abs(static_cast<int32_t>(pap.DyaLine));
    if (pap.FMultLinespace == 0 && pap.DyaLine != 0) {
        para.LineSpacingRule = pap.DyaLine > 0 ? 1 : 2;  // at least / exactly
        para.LineSpacing = TwipsToMm(magnitude);
    } else if (pap.FMultLinespace == 1) {
        para.LineSpacingRule = 0;
        para.LineSpacing = magnitude / 240;
    }
}

TTabStop MakeTabStop(int16_t position, uint8_t descriptor) {
    TTabStop tab;
    tab.Pos = TwipsToMm(position);
    const uint8_t jc = descriptor & 0x07;
    tab.Align = jc >= 1 && jc <= 3 ? jc : 0;
    static constexpr int32_t kLeaders[8] = {0, 2, 1, 3, 3, 0, 0, 0};
    tab.Leader = kLeaders[(descriptor >> 3) & 0x07];
    return tab;
}

int32_t BackgroundOf(const TChp& chp, uint8_t& transparent) {
    int32_t color = 0xFFFFFF;
    transparent = 1;
    if (chp.Highlight) {
        color = IcoColor(chp.IcoHighlight);
        transparent = 0;
    } else if (chp.HasShdCv) {
        if (chp.ShdCv >= 0) {
            color = chp.ShdCv;
            transparent = 0;
        }
    } else if (ShadingColor(chp.Shd, color)) {
        transparent = 0;
    }
    return color;
}

// Where the paragraph's lines stand on the page: a logical alignment names its start and end
// sides, which a right-to-left paragraph has on the right and left.
uint8_t PhysicalAlign(const TPap& pap) {
    if (pap.FJcLogical == 0 || pap.FBiDi == 0) return pap.Jc;
    if (pap.Jc == 0) return 2;
    if (pap.Jc == 2) return 0;
    return pap.Jc;
}

// The 24-bit colour overrides the index; its automatic value is black like index 0.
int32_t TextColorOf(const TChp& chp) {
    return chp.HasCv ? ColorRefColor(chp.Cv, 0) : IcoColor(chp.Ico);
}

}  // namespace

void WriteParagraphFormat(const TPap& pap, uint16_t defaultTabTwips, TParaFormat& para) {
    const double cellPadding = pap.FInTable == 1 ? kCellPaddingMM : 0;
    para.Align = PhysicalAlign(pap);
    para.RightToLeft = pap.FBiDi != 0 ? 1 : 0;
    para.AsianLatinGap = pap.FAutoSpaceDE != 0 ? 1 : 0;
    para.AsianDigitGap = pap.FAutoSpaceDN != 0 ? 1 : 0;
    para.LeftIndent = TwipsToMm(pap.DxaLeft) + cellPadding;
    para.RightIndent = TwipsToMm(pap.DxaRight) + cellPadding;
    para.FirstLineIndent = TwipsToMm(pap.DxaLeft1);
    para.SpaceBefore = TwipsToMm(pap.DyaBefore);
    para.SpaceAfter = TwipsToMm(pap.DyaAfter);
    WriteLineSpacing(pap, para);
    para.Tabs.clear();
    const int count = std::clamp<int>(pap.ItbdMac, 0, kMaxTabStops);
    for (int i = 0; i < count; ++i)
        para.Tabs.push_back(MakeTabStop(pap.RgdxaTab[i], pap.Rgtbd[i]));
    // Quirk: a document without a default tab width keeps the model's; default stops 0 mm
    // apart would never reach a position.
    if (defaultTabTwips != 0) para.DefaultTabWidth = TwipsToMm(defaultTabTwips);
    // A page cannot break inside a table row, so a cell's paragraph never starts a page.
    para.PageBreakBefore = pap.FPageBreakBefore != 0 && pap.FInTable == 0 ? 1 : 0;
    para.KeepTogether = pap.FKeep != 0 ? 1 : 0;
    para.KeepWithNext = pap.FKeepFollow != 0 ? 1 : 0;
    para.WidowControl = pap.FWidowControl != 0 ? 1 : 0;
    para.Style = pap.Istd;
    for (size_t side = 0; side < 4; ++side) {
        // Brc80: dptLineWidth (eighths of a point), brcType (0 none, 0xFF nil), ico.
        const uint32_t brc = pap.Brc[side];
        const uint32_t type = (brc >> 8) & 0xFF;
        const uint32_t eighths = brc & 0xFF;
        const bool on = pap.FInTable == 0 && type != 0 && type != 0xFF;
        para.BorderWidth[side] = on ? (eighths > 0 ? eighths / 8.0 : 0.5) : 0;
        const int32_t color =
            pap.BrcCv[side] >= 0 ? pap.BrcCv[side] : IcoColor((brc >> 16) & 0xFF, 0);
        para.BorderColor[side] = on ? color : 0;
    }
    int32_t shade = 0;
    if (pap.HasShdCv) {
        shade = pap.ShdCv;
    } else if (!ShadingColor(pap.Shd, shade)) {
        shade = -1;
    }
    para.ShadeColor = pap.FInTable == 0 ? shade : -1;
    para.ContextualSpacing = pap.FContextualSpacing != 0 ? 1 : 0;
    para.ListKind = pap.Ilfo != 0 && pap.FNoLnn == 0 ? 2 : 0;
}

void WriteColumnSettings(const TSep& sep, TLineRec& line) {
    line.ColumnCount = std::min<int32_t>(sep.CcolM1 + 1, kMaxColumns);
    line.ColumnSpacing = TwipsToMm(sep.DxaColumns);
    line.ColumnSeparator = sep.FLBetween;
}

TFontRec FontFormat(const TChp& chp, std::span<const TFontTableEntry> fonts, const TFontRec& base) {
    TFontRec font = base;
    SettingOps(font.Attrib, 8, chp.Iss == 1);
    SettingOps(font.Attrib, 9, chp.Iss == 2);
    if (chp.Kul != 0) {
        SettingOps(font.Attrib, 2, true);
        SettingOpsB(font.Style, 2, true);
        if (chp.Kul == 2) SettingOps(font.Attrib, 4, true);
        if (chp.Kul == 3) SettingOps(font.Attrib, 5, true);
    } else {
        SettingOpsB(font.Style, 2, false);
    }
    SettingOpsB(font.Style, 3, chp.Strike);
    SettingOps(font.Attrib, 6, chp.Shadow);
    SettingOps(font.Attrib, 10, chp.SmallCaps);
    SettingOps(font.Attrib, 11, chp.Caps);
    font.Color = TextColorOf(chp);
    font.BackColor = BackgroundOf(chp, font.Transparent);
    font.Size = chp.Hps / 2.0;
    if (chp.FtcAscii < fonts.size()) {
        SetPCharText(font.Name, fonts[chp.FtcAscii].Name);
        font.FamilyClass = fonts[chp.FtcAscii].FamilyClass;
    }
    SettingOpsB(font.Style, 0, chp.Bold);
    SettingOpsB(font.Style, 1, chp.Italic);
    return font;
}

}  // namespace qm
