#include "word/model_output.h"

#include <algorithm>
#include <cstdlib>

#include "word/colors.h"
#include "word/import_context.h"

namespace qm {

namespace {

// [MS-DOC] 2.9.255 Sep ccolM1: at most 45 columns.
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

void WritePap(const WordImportContext& ctx, TParaFormat& para) {
    const TPap& pap = ctx.Pap;
    const double cellPadding = pap.FInTable == 1 ? kCellPaddingMM : 0;
    para.Align = pap.Jc;
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
    if (ctx.dop.DefaultTabTwips != 0) para.DefaultTabWidth = TwipsToMm(ctx.dop.DefaultTabTwips);
    para.ListKind = pap.Ilfo != 0 && pap.FNoLnn == 0 ? 2 : 0;
}

int32_t BackgroundOf(const TChp& chp, uint8_t& transparent) {
    int32_t color = 0xFFFFFF;
    transparent = 1;
    if (chp.Highlight) {
        color = IcoColor(chp.IcoHighlight);
        transparent = 0;
    } else if (ShadingColor(chp.Shd, color)) {
        transparent = 0;
    }
    return color;
}

TFontRec FontOf(const WordImportContext& ctx, const TFontRec& base) {
    const TChp& chp = ctx.Chp;
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
    font.Color = IcoColor(chp.Ico);
    font.BackColor = BackgroundOf(chp, font.Transparent);
    font.Size = chp.Hps / 2.0;
    if (chp.FtcAscii < ctx.fontNames.size()) SetPCharText(font.Name, ctx.fontNames[chp.FtcAscii]);
    SettingOpsB(font.Style, 0, chp.Bold);
    SettingOpsB(font.Style, 1, chp.Italic);
    return font;
}

}  // namespace

void WriteParagraphFormat(WordImportContext& ctx) {
    TDocument& doc = ctx.Doc;
    if (ctx.Doc.CurField < 0 || ctx.Doc.CurField >= doc.FieldCount()) return;
    TFieldRec& field = doc.Fields[doc.CurField];
    if (doc.CurLine < 0 || doc.CurLine >= field.LineCount()) return;
    TLineRec& line = field.Lines[doc.CurLine];
    TParaFormat* target = ctx.ParaFormatTarget ? ctx.ParaFormatTarget : &line.Para;
    if (ctx.paraVersion == ctx.PropsVersion && ctx.paraField == doc.CurField &&
        ctx.paraLine == doc.CurLine && ctx.paraTarget == target) {
        return;
    }
    WritePap(ctx, *target);
    WriteColumnSettings(ctx.Sep, line);
    ctx.paraVersion = ctx.PropsVersion;
    ctx.paraField = doc.CurField;
    ctx.paraLine = doc.CurLine;
    ctx.paraTarget = target;
}

void WriteColumnSettings(const TSep& sep, TLineRec& line) {
    line.ColumnCount = std::min<int32_t>(sep.CcolM1 + 1, kMaxColumns);
    line.ColumnSpacing = TwipsToMm(sep.DxaColumns);
    line.ColumnSeparator = sep.FLBetween;
}

void MakeFontEntry(WordImportContext& ctx, TCharRec& ch) {
    TDocument& doc = ctx.Doc;
    if (ch.FontIndex < 0 || ch.FontIndex >= doc.FontCount()) return;
    if (ctx.fontVersion != ctx.PropsVersion || ctx.fontBase != ch.FontIndex) {
        ctx.fontBase = ch.FontIndex;
        ctx.fontResult = doc.GetNewFontIndex(FontOf(ctx, doc.Fonts[ch.FontIndex]));
        ctx.fontVersion = ctx.PropsVersion;
    }
    ch.FontIndex = ctx.fontResult;
}

}  // namespace qm
