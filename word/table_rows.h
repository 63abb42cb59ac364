// Table rows and pictures of a Word document: the entry points that the text reading and the
// property codes call. Each cell of a row is one model line; the row end marks the row's lines
// as table cells with the widths and shading of the row definition.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace qm {

struct WordImportContext;

// The most cells a row may have to become a table row ([MS-DOC] 2.9.316: itcMac <= 63).
inline constexpr int32_t kMaxRowCells = 64;

// One cell of the current row definition.
struct TCellDef {
    int32_t Boundary = -1;  // left edge in twips (the right edge of the last cell after it)
    bool Defined = false;   // Boundary was read; -1 twips is a real edge too
    int32_t Shading = 0;    // the 16-bit shading value, 0 = none
};

// The row being read; reset at the start of every story and after every row end.
struct TTableRowState {
    int32_t CellCount = 0;     // cells ended so far in the current row
    int32_t DefinedCells = 0;  // cells of the last row definition
    std::array<TCellDef, 100> CellDefs{};
    // The row's alignment between the margins (sprmTJc): 0 left, 1 centred, 2 right. A
    // centred or right-aligned row is placed by its width; its first edge does not count.
    int32_t Justification = 0;

    void Reset() { *this = TTableRowState{}; }
};

// Property code 0xD608: a row definition. operand is the part after its 16-bit size
// ([MS-DOC] 2.9.316 TDefTableOperand: itcMac, then the itcMac + 1 cell edges, then the cells).
// A definition whose edges do not fit into the operand defines no edges and makes the row
// plain (its cell count is cleared); one of more than kMaxRowCells cells does too.
void DefineRow(WordImportContext& ctx, std::span<const uint8_t> operand);
// Property code 0xD609 ([MS-DOC] sprmTDefTableShd80): one 16-bit shading value per cell, from
// the first cell on; cells the operand does not reach keep theirs.
void DefineRowShading(WordImportContext& ctx, std::span<const uint8_t> operand);
// Code 7 inside a table paragraph that is not a row end: ends the cell's line.
void EndCell(WordImportContext& ctx);
// Code 7 ending a table row: when as many cells were ended as the row definition has, their
// lines become the cells of one table row; in every case the row state is reset.
void EndRow(WordImportContext& ctx);
// Codes 11, 12 and 13 inside a table paragraph: kept in the cell's text as 14, 15 and 13; a
// kept paragraph end carries the format of the text after it (ctx.ParaFormatTarget).
void KeepTableMark(WordImportContext& ctx, uint8_t code);
// Code 1 with the special-character flag, the "Data" stream open: the picture at the current
// character properties' fcPic.
void ReadPicture(WordImportContext& ctx);

}  // namespace qm
