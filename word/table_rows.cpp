#include "word/table_rows.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "word/colors.h"
#include "word/model_format.h"

namespace qm {

namespace {

constexpr double kCellPaddingMM = 2.5;

// The width of one text column, as layout gives it to the line.
double ColumnWidth(const TRowArea& area, const TLineRec& line) {
    if (line.ColumnCount < 2) return area.TextWidth;
    return (area.TextWidth - (line.ColumnCount - 1) * line.ColumnSpacing) / line.ColumnCount;
}

// Every cell of a row has the column settings of the row: those the first cell with text got,
// else the section's. An empty cell got none, and a cell laid out or drawn in other columns
// than its neighbours would leave the row.
void ShareColumnSettings(const TSep& sep, std::span<TLineRec> cells) {
    const auto written = std::find_if(cells.begin(), cells.end(),
                                      [](const TLineRec& l) { return l.ColumnCount > 0; });
    TLineRec source;  // only its column settings are used
    if (written != cells.end()) {
        source.ColumnCount = written->ColumnCount;
        source.ColumnSpacing = written->ColumnSpacing;
        source.ColumnSeparator = written->ColumnSeparator;
    } else {
        WriteColumnSettings(sep, source);
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
TRowPlace PlaceRow(const TRowDefinition& row, int32_t n, const TLineRec& line,
                   const TRowArea& area) {
    const double tableWidth =
        TwipsToMm(std::abs(row.CellDefs[n].Boundary - row.CellDefs[0].Boundary));
    const double column = ColumnWidth(area, line);
    TRowPlace place;
    place.Indent = TwipsToMm(row.CellDefs[0].Boundary);
    if (row.Justification == 1) place.Indent = (column - tableWidth) / 2;
    if (row.Justification == 2) place.Indent = column - tableWidth;
    place.RightGap = column - place.Indent - tableWidth;
    // A row reaching beyond the paper (one made for a wider page, say) is narrowed to the
    // paper's edges: its cells keep their proportions and their text stays on the page.
    place.Indent = std::max(place.Indent, -area.MarginLeft);
    place.RightGap = std::max(place.RightGap, -area.MarginRight);
    return place;
}

enum { kTableTop, kTableLeft, kTableBottom, kTableRight, kInsideH, kInsideV };

// The cell's borders: on each side its own where its TC gives one, else the table's (the outer
// edges at the row's ends, the inside lines between cells and between rows); none where neither
// says anything.
void ApplyCellBorders(const TRowDefinition& row, int32_t n, int32_t c, TCellDesign& design) {
    const std::array<TBorderLine, 4>& own = row.CellDefs[c].Borders;  // top, left, bottom, right
    const std::array<TBorderLine, 6>& table = row.TableBorders;
    const bool insideH = table[kInsideH].Given;
    // In the design's order: left, top, bottom, right.
    const std::array<const TBorderLine*, 4> sides = {
        own[1].Given ? &own[1] : &table[c == 0 ? kTableLeft : kInsideV],
        own[0].Given ? &own[0] : &table[insideH ? kInsideH : kTableTop],
        own[2].Given ? &own[2] : &table[insideH ? kInsideH : kTableBottom],
        own[3].Given ? &own[3] : &table[c == n - 1 ? kTableRight : kInsideV],
    };
    for (size_t s = 0; s < sides.size(); ++s) {
        const TBorderLine& line = *sides[s];
        design.BorderOn[s] = line.Given ? 1 : 0;
        if (!line.Given) continue;
        // Eighths of a point; a line of no width is drawn as a hairline of half a point.
        design.BorderWidth[s] = line.Eighths > 0 ? line.Eighths / 8.0 : 0.5;
        design.BorderColor[s] = line.Color;
    }
}

// A cell's left or right margin in mm: its own, else the row's default padding, else half the
// gap between cells, else the standard margin.
double CellMargin(const TRowDefinition& row, int32_t c, bool right) {
    const TCellDef& def = row.CellDefs[c];
    int32_t twips = right ? def.PadRight : def.PadLeft;
    if (twips < 0) twips = right ? row.PadRight : row.PadLeft;
    if (twips < 0) twips = row.GapHalf;
    return twips < 0 ? kCellPaddingMM : TwipsToMm(twips);
}

// The cell's paragraphs were written with the standard margins inside their indents; the row
// may ask for others.
void ApplyCellMargins(const TRowDefinition& row, int32_t c, TLineRec& line) {
    const double left = CellMargin(row, c, false) - kCellPaddingMM;
    const double right = CellMargin(row, c, true) - kCellPaddingMM;
    if (left == 0 && right == 0) return;
    const auto shift = [&](TParaFormat& para) {
        para.LeftIndent += left;
        para.RightIndent += right;
    };
    shift(line.Para);
    for (TCharRec& ch : line.Chars)
        if (ch.ParaCopy) shift(*ch.ParaCopy);
}

// The row definition's edges give the cell its place, width and shading.
void ApplyCellDef(const TRowDefinition& row, int32_t n, int32_t c, const TRowArea& area,
                  TLineRec& line) {
    const TCellDef& def = row.CellDefs[c];
    if (!def.Defined || !row.CellDefs[0].Defined || !row.CellDefs[n].Defined ||
        !row.CellDefs[c + 1].Defined)
        return;
    const TRowPlace place = PlaceRow(row, n, line, area);
    line.TableIndent = place.Indent;
    line.TableRightGap = place.RightGap;
    // Quirk: edges out of order give an empty cell rather than a negative width.
    line.CellWidth = TwipsToMm(std::max(row.CellDefs[c + 1].Boundary - def.Boundary, 0));
    ApplyCellBorders(row, n, c, line.CellDesign);
    int32_t color = 0;
    if (ShadingColor(static_cast<uint16_t>(def.Shading), color)) {
        line.CellDesign.ShadeColor = color;
        line.CellDesign.ShadeTransparent = 0;
    } else {
        line.CellDesign.ShadeColor = 0xFFFFFF;
        line.CellDesign.ShadeTransparent = 1;
    }
}

}  // namespace

void MakeTableRow(std::span<TLineRec> cells, const TRowDefinition& row, const TSep& sep,
                  const TRowArea& area) {
    const auto n = static_cast<int32_t>(cells.size());
    ShareColumnSettings(sep, cells);
    for (int32_t c = 0; c < n; ++c) {
        MarkCell(cells[c], n, c);
        ApplyCellDef(row, n, c, area, cells[c]);
        ApplyCellMargins(row, c, cells[c]);
    }
}

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

}  // namespace qm
