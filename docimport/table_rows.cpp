#include "docimport/table_rows.h"

#include "docimport/import_context.h"

namespace qm {

namespace {

constexpr double kCellPaddingMM = 2.5;

// The format a kept paragraph end starts with: the line's, without spacing and tabs.
TParaFormat CellParagraphFormat(const TParaFormat& lineFormat) {
    TParaFormat para = lineFormat;
    para.LeftIndent = kCellPaddingMM;
    para.RightIndent = kCellPaddingMM;
    para.SpaceBefore = 0;
    para.SpaceAfter = 0;
    para.LineSpacing = 1.0;
    para.LineSpacingRule = 0;
    para.Tabs.clear();
    return para;
}

}  // namespace

// FIXME: row definitions are not read yet; rows stay plain lines until tables are imported.
void DefineRow(WordImportContext&, std::span<const uint8_t>) {}

// FIXME: cell shading follows the row definitions.
void DefineRowShading(WordImportContext&, std::span<const uint8_t>) {}

void EndCell(WordImportContext& ctx) {
    TDocument& doc = ctx.Doc;
    if (doc.CurField < 0 || doc.CurField >= doc.FieldCount()) return;
    TFieldRec& field = doc.Fields[doc.CurField];
    if (doc.CurLine == field.LineCount()) doc.InsertNewLine(doc.CurField, doc.CurLine);
    if (doc.CurLine < 0 || doc.CurLine >= field.LineCount()) return;
    field.Lines[doc.CurLine].EndKind = 1;
    doc.InsertNewLine(doc.CurField, field.LineCount());
    doc.CurLine += 1;
    doc.CurChar = 0;
    ctx.Row.CellCount += 1;
    ctx.ParaFormatTarget = nullptr;
}

// FIXME: the row's cell lines are not yet marked as table cells; the row state is reset.
void EndRow(WordImportContext& ctx) {
    ctx.Row.Reset();
    ctx.ParaFormatTarget = nullptr;
    // The next character applies its row definition afresh, as each character does.
    ctx.propsCached = false;
}

void KeepTableMark(WordImportContext& ctx, uint8_t code) {
    TDocument& doc = ctx.Doc;
    TCharRec* ch = doc.NewChar();
    if (!ch) return;
    ch->Code = code == 11 ? 14 : code == 12 ? 15 : 13;
    if (code == 13) {
        const TLineRec& line = doc.Fields[doc.CurField].Lines[doc.CurLine];
        ch->ParaCopy = DeepPtr<TParaFormat>(CellParagraphFormat(line.Para));
        ctx.ParaFormatTarget = ch->ParaCopy.get();
    }
    doc.CurChar += 1;
}

// FIXME: pictures are not read yet; the anchor gives no character.
void ReadPicture(WordImportContext&) {}

}  // namespace qm
