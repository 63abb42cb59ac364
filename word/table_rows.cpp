#include "word/table_rows.h"

#include <algorithm>
#include <cmath>

#include "base/byte_reader.h"
#include "word/colors.h"
#include "word/import_context.h"
#include "word/model_output.h"

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

// The width of one text column of the first page body, as layout gives it to the line.
double ColumnWidth(const TDocument& doc, const TLineRec& line) {
    const TFieldRec& body = doc.Fields[0];
    const double textWidth = doc.PageWidthMM - body.MarginLeft - body.MarginRight;
    if (line.ColumnCount < 2) return textWidth;
    return (textWidth - (line.ColumnCount - 1) * line.ColumnSpacing) / line.ColumnCount;
}

// Every cell of a row has the column settings of the row: those the first cell with text got,
// else the section's. An empty cell got none, and a cell laid out or drawn in other columns
// than its neighbours would leave the row.
void ShareColumnSettings(const WordImportContext& ctx, std::span<TLineRec> cells) {
    const auto written = std::find_if(cells.begin(), cells.end(),
                                      [](const TLineRec& l) { return l.ColumnCount > 0; });
    TLineRec source;  // only its column settings are used
    if (written != cells.end()) {
        source.ColumnCount = written->ColumnCount;
        source.ColumnSpacing = written->ColumnSpacing;
        source.ColumnSeparator = written->ColumnSeparator;
    } else {
        WriteColumnSettings(ctx.Sep, source);
    }
    for (TLineRec& cell : cells) {
        if (cell.ColumnCount > 0) continue;
        cell.ColumnCount = source.ColumnCount;
        cell.ColumnSpacing = source.ColumnSpacing;
        cell.ColumnSeparator = source.ColumnSeparator;
    }
}

void MarkCell(TLineRec& line, int32_t cells, int32_t index) {
    line.RowStart = 1;
    line.RowEnd = 1;
    line.InTable = 1;
    line.CellsInRow = cells;
    line.CellIndex = index;
    line.EndKind = 1;
    line.TableIndent = 0;
    line.TableRightGap = 0;
    line.CellWidth = 1.0;
    SetStandardCellDesign(line.CellDesign);
}

// Where the row lies in its column: its indent from the column's left edge and the gap left at
// the column's right edge, in mm.
struct TRowPlace {
    double Indent = 0;
    double RightGap = 0;
};

// The table's left edge (the first cell's) is the indent of every cell of the row, so that
// layout and drawing place the cells side by side from there.
TRowPlace PlaceRow(const WordImportContext& ctx, const TTableRowState& row, int32_t n,
                   const TLineRec& line) {
    const double tableWidth =
        TwipsToMm(std::abs(row.CellDefs[n].Boundary - row.CellDefs[0].Boundary));
    const double column = ColumnWidth(ctx.Doc, line);
    TRowPlace place;
    place.Indent = TwipsToMm(row.CellDefs[0].Boundary);
    if (row.Justification == 1) place.Indent = (column - tableWidth) / 2;
    if (row.Justification == 2) place.Indent = column - tableWidth;
    place.RightGap = column - place.Indent - tableWidth;
    // A row reaching beyond the paper (one made for a wider page, say) is narrowed to the
    // paper's edges: its cells keep their proportions and their text stays on the page.
    const TFieldRec& body = ctx.Doc.Fields[0];
    place.Indent = std::max(place.Indent, -body.MarginLeft);
    place.RightGap = std::max(place.RightGap, -body.MarginRight);
    return place;
}

// The row definition's edges give the cell its place, width and shading.
void ApplyCellDef(const WordImportContext& ctx, const TTableRowState& row, int32_t n, int32_t c,
                  TLineRec& line) {
    const TCellDef& def = row.CellDefs[c];
    if (!def.Defined || !row.CellDefs[0].Defined || !row.CellDefs[n].Defined ||
        !row.CellDefs[c + 1].Defined)
        return;
    const TRowPlace place = PlaceRow(ctx, row, n, line);
    line.TableIndent = place.Indent;
    line.TableRightGap = place.RightGap;
    // Quirk: edges out of order give an empty cell rather than a negative width.
    line.CellWidth = TwipsToMm(std::max(row.CellDefs[c + 1].Boundary - def.Boundary, 0));
    int32_t color = 0;
    if (ShadingColor(static_cast<uint16_t>(def.Shading), color)) {
        line.CellDesign.ShadeColor = color;
        line.CellDesign.ShadeTransparent = 0;
    } else {
        line.CellDesign.ShadeColor = 0xFFFFFF;
        line.CellDesign.ShadeTransparent = 1;
    }
}

// The n lines before the cursor line are the row's cells.
void MakeTableRow(WordImportContext& ctx, int32_t n) {
    TDocument& doc = ctx.Doc;
    if (doc.CurField < 0 || doc.CurField >= doc.FieldCount() || doc.FieldCount() < 1) return;
    TFieldRec& field = doc.Fields[doc.CurField];
    if (doc.CurLine < n || doc.CurLine > field.LineCount()) return;
    const std::span<TLineRec> cells(field.Lines.data() + (doc.CurLine - n), static_cast<size_t>(n));
    ShareColumnSettings(ctx, cells);
    for (int32_t c = 0; c < n; ++c) {
        MarkCell(cells[c], n, c);
        ApplyCellDef(ctx, ctx.Row, n, c, cells[c]);
    }
}

}  // namespace

void DefineRow(WordImportContext& ctx, std::span<const uint8_t> operand) {
    TTableRowState& row = ctx.Row;
    ByteReader r(operand);
    uint8_t cells = 0;
    r.U8(cells);
    row.DefinedCells = cells;
    // The cells' edges (itcMac + 1 signed twips) must lie inside the operand.
    const size_t edges = static_cast<size_t>(cells) + 1;
    if (r.Failed() || 2 * edges > r.Remaining()) {
        row.CellCount = 0;
        return;
    }
    if (cells > kMaxRowCells) return;
    for (size_t k = 0; k < edges; ++k) {
        int16_t edge = 0;
        r.I16(edge);
        row.CellDefs[k].Boundary = edge;
        row.CellDefs[k].Defined = true;
    }
}

void DefineRowShading(WordImportContext& ctx, std::span<const uint8_t> operand) {
    ByteReader r(operand);
    const size_t count = std::min<size_t>(operand.size() / 2, kMaxRowCells);
    for (size_t k = 0; k < count; ++k) {
        uint16_t shading = 0;
        r.U16(shading);
        ctx.Row.CellDefs[k].Shading = shading;
    }
}

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

void EndRow(WordImportContext& ctx) {
    const int32_t n = ctx.Row.CellCount;
    if (n > 0 && n <= kMaxRowCells && n == ctx.Row.DefinedCells) MakeTableRow(ctx, n);
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

}  // namespace qm
