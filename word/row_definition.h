// The table row properties that property lists carry: a row's cells with their edges and their
// shading. The row end (TModelWriter::EndRow) turns the cells' lines into a row by them.
#pragma once

#include <cstdint>
#include <span>

#include "base/byte_reader.h"
#include "word/word_properties.h"

namespace qm {

// Property code 0xD608: a row definition. operand is the part after its 16-bit size
// (TDefTableOperand: itcMac, then the itcMac + 1 cell edges, then the cells). A definition
// whose edges do not fit into the operand defines no edges and makes the row plain (counted in
// row.Damaged); one of more than kMaxRowCells cells defines no edges either.
void DefineRow(TRowDefinition& row, std::span<const uint8_t> operand);

// A Brc80 border (4 bytes); a kind of 0 or 0xFF (nil) is no border given.
TBorderLine ReadBrc80(ByteReader& r);
// An 8-byte Brc: a COLORREF (automatic: black), dptLineWidth, brcType, then space and flags.
// False, and line untouched, when the reader runs out first.
bool ReadBrc(ByteReader& r, TBorderLine& line);

// Property codes 0xD605 (sprmTTableBorders80: six Brc80) and 0xD613 (sprmTTableBorders: six
// 8-byte Brc): the table's top, left, bottom, right, inside horizontal and inside vertical
// borders. A shorter operand changes nothing.
void DefineTableBorders80(TRowDefinition& row, std::span<const uint8_t> operand);
void DefineTableBorders(TRowDefinition& row, std::span<const uint8_t> operand);

// Property code 0xD609 (sprmTDefTableShd80): one 16-bit shading value per cell, from the first
// cell on; cells the operand does not reach keep theirs.
void DefineRowShading(TRowDefinition& row, std::span<const uint8_t> operand);

// Property codes 0xD632 (sprmTCellPadding: the cells itcFirst to itcLim) and 0xD634
// (sprmTCellPaddingDefault: every cell): a CSSA giving the margin of some sides of the cells
// (grfbrc: 1 top, 2 left, 4 bottom, 8 right). Only the left and right margins in twips
// (ftsWidth 3) are kept; a shorter operand changes nothing.
void DefineCellPadding(TRowDefinition& row, std::span<const uint8_t> operand, bool allCells);

}  // namespace qm
