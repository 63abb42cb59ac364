#include "model/document.h"

#include <cmath>

#include "model/layout.h"

namespace qm {

TDocument::TDocument() { Reset(); }

void TDocument::Reset() {
    FreeFields();
    FreeBilderListe();
    GlyphClusters.clear();
    Links.clear();
    Anchors.clear();
    Info = {};
    Fonts.clear();
    measureCache_.clear();
    defaultFontIndex_ = -1;
    CurField = CurLine = CurChar = 0;
    PendingPara = TParaFormat{};
    PageWidthMM = 210.0;
    PageHeightMM = 297.0;
    SetPrinterProps();
    DefFontName = "Times New Roman";
    DefFontSize = 12.0;
    DefColor = 0;
    DefStyle = 0;
    DefCharset = 1;
    DefBackColor = 0xFFFFFF;
    DefColor2 = 0x808080;
    DefColor3 = 0x00FFFF;
    DefTransparent = 1;
    DefAttrib = 0;
    Zoom = 100.0;
    NewPage(true);
    CreateHeaderFooter(*this);
    SetAllDirtyFlags();
    MakeSoftEnters(*this);
    RowsUnsettled = true;
}

void TDocument::InitNewLine(std::vector<TLineRec>& lines, int32_t index) {
    TLineRec& line = lines[index];
    line.Chars.clear();
    line.EndKind = 0;
    line.RowStart = line.RowEnd = line.InTable = 0;
    line.CellsInRow = 1;
    line.CellIndex = 0;
    line.ColumnCount = 0;
    line.ColumnSeparator = 0;
    line.ColumnSpacing = 12.5;
    line.Para = TParaFormat{};
}

void TDocument::InsertNewLine(int32_t field, int32_t line) {
    auto& lines = Fields[field].Lines;
    lines.insert(lines.begin() + line, TLineRec{});
    InitNewLine(lines, line);
}

TCharRec* TDocument::NewChar() {
    if (CurField < 0 || CurField >= FieldCount()) return nullptr;
    TFieldRec& field = Fields[CurField];
    if (CurLine == field.LineCount()) InsertNewLine(CurField, CurLine);
    if (CurLine < 0 || CurLine >= field.LineCount()) return nullptr;
    TLineRec& line = field.Lines[CurLine];
    if (CurChar < 0 || CurChar > line.CharCount()) return nullptr;
    TCharRec ch;
    ch.Code = 'a';
    ch.FontIndex = DefaultFontIndex();
    return &*line.Chars.insert(line.Chars.begin() + CurChar, std::move(ch));
}

TFontRec TDocument::DefaultFontRec() const {
    TFontRec font;
    font.Color = DefColor;
    font.Size = DefFontSize;
    font.Name = DefFontName;
    font.Style = DefStyle;
    font.Charset = DefCharset;
    font.BackColor = DefBackColor;
    font.Color2 = DefColor2;
    font.Color3 = DefColor3;
    font.Transparent = DefTransparent;
    font.Attrib = DefAttrib;
    return font;
}

bool TDocument::IsDefaultFormat(const TFontRec& f) const {
    return f.Color == DefColor && f.Size == DefFontSize && f.Name == DefFontName &&
           f.Style == DefStyle && f.Charset == DefCharset && f.BackColor == DefBackColor &&
           f.Color2 == DefColor2 && f.Color3 == DefColor3 && f.Transparent == DefTransparent &&
           f.Attrib == DefAttrib && f.FamilyClass == 0;  // the default entry names no class
}

int32_t TDocument::DefaultFontIndex() {
    // Every new character asks for the default format's entry; remember where it was found.
    // Entries never move, and the check still sees a change of the default format.
    if (defaultFontIndex_ >= 0 && defaultFontIndex_ < FontCount() &&
        IsDefaultFormat(Fonts[defaultFontIndex_]))
        return defaultFontIndex_;
    defaultFontIndex_ = GetNewFontIndex(DefaultFontRec());
    return defaultFontIndex_;
}

int32_t TDocument::GetNewFontIndex(const TFontRec& font) {
    // The table holds one entry per distinct format, so it stays short; a linear scan from the
    // start returns the first equal entry.
    for (int32_t i = 0; i < FontCount(); ++i) {
        if (Fonts[i] == font) return i;
    }
    Fonts.push_back(font);
    return FontCount() - 1;
}

void TDocument::NewField() { Fields.emplace_back(); }

void TDocument::NewPage(bool withLine) {
    NewField();
    TFieldRec& field = Fields.back();
    if (FieldCount() == 1) {
        field.MarginLeft = field.MarginTop = field.MarginRight = field.MarginBottom = 25.0;
        field.BottomFromBottom = 1;
        field.RightFromRight = 1;
    } else {
        field = Fields[0];
        field.Lines.clear();
        field.PrevField = field.NextField = -1;
    }
    if (withLine) {
        field.Lines.emplace_back();
        InitNewLine(field.Lines, 0);
    }
}

void TDocument::freezeichen(TCharRec& ch) { ch.ParaCopy.reset(); }

void TDocument::FreeFields() { Fields.clear(); }

void TDocument::FreeBilderListe() {
    for (TBildRec& picture : BilderListe) {
        if (picture.HasImage()) deldib(picture);
    }
    BilderListe.clear();
}

void TDocument::SetAllDirtyFlags() {
    for (TFieldRec& field : Fields)
        for (TLineRec& line : field.Lines) line.Dirty = 1;
}

void TDocument::ClearAllDirtyFlags() {
    for (TFieldRec& field : Fields)
        for (TLineRec& line : field.Lines) line.Dirty = 0;
}

void TDocument::CompleteRefresh() {
    SetAllDirtyFlags();
    MakeSoftEnters(*this);
    if (RefreshHook) RefreshHook();
}

void TDocument::GoToLine(int32_t& field, int32_t& line) const {
    // A chain visits each field at most once; the step bound keeps a broken chain from looping.
    int32_t steps = FieldCount();
    while (line < 0 && Fields[field].PrevField >= 0 && steps-- > 0) {
        field = Fields[field].PrevField;
        line += Fields[field].LineCount();
    }
    while (line > Fields[field].LineCount() - 1 && Fields[field].NextField >= 0 && steps-- > 0) {
        line -= Fields[field].LineCount();
        field = Fields[field].NextField;
    }
}

int32_t TDocument::GetAnzPages() const {
    int32_t largest = 0;
    for (const TFieldRec& field : Fields) largest = std::max(largest, field.PageNo);
    return largest + 1;
}

}  // namespace qm
