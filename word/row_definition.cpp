#include "word/row_definition.h"

#include <algorithm>

#include "base/byte_reader.h"
#include "word/colors.h"

namespace qm {

namespace {

constexpr size_t kTc80Size = 20;

}  // namespace

void DefineRow(TRowDefinition& row, std::span<const uint8_t> operand) {
    ByteReader r(operand);
    uint8_t cells = 0;
    r.U8(cells);
    row.DefinedCells = cells;
    // The cells' edges (itcMac + 1 signed twips) must lie inside the operand.
    const size_t edges = static_cast<size_t>(cells) + 1;
    if (r.Failed() || 2 * edges > r.Remaining()) {
        ++row.Damaged;
        return;
    }
    if (cells > kMaxRowCells) return;
    for (size_t k = 0; k < edges; ++k) {
        int16_t edge = 0;
        r.I16(edge);
        row.CellDefs[k].Boundary = edge;
        row.CellDefs[k].Defined = true;
    }
    // The cells' TC80s (20 bytes: flags, width, then the top, left, bottom and right Brc80), as
    // far as the operand holds them.
    for (size_t k = 0; k < cells && r.Remaining() >= kTc80Size; ++k) {
        r.Skip(4);
        for (TBorderLine& border : row.CellDefs[k].Borders)
            border = ReadBrc80(r);
    }
}

TBorderLine ReadBrc80(ByteReader& r) {
    // Brc80: dptLineWidth, brcType, ico, then space and flags.
    uint8_t width = 0, type = 0, ico = 0, flags = 0;
    TBorderLine line;
    if (!r.U8(width) || !r.U8(type) || !r.U8(ico) || !r.U8(flags)) return line;
    line.Type = type;
    line.Eighths = width;
    line.Color = IcoColor(ico, 0);
    line.Given = type != 0 && type != 0xFF;
    return line;
}

void DefineTableBorders80(TRowDefinition& row, std::span<const uint8_t> operand) {
    ByteReader r(operand);
    if (operand.size() < 24) return;
    for (TBorderLine& border : row.TableBorders)
        border = ReadBrc80(r);
}

bool ReadBrc(ByteReader& r, TBorderLine& line) {
    uint32_t color = 0;
    uint8_t width = 0, type = 0;
    if (!r.U32(color) || !r.U8(width) || !r.U8(type) || !r.Skip(2)) return false;
    line.Type = type;
    line.Eighths = width;
    line.Color = ColorRefColor(color, 0);
    line.Given = type != 0 && type != 0xFF;
    return true;
}

void DefineTableBorders(TRowDefinition& row, std::span<const uint8_t> operand) {
    ByteReader r(operand);
    if (operand.size() < 48) return;
    for (TBorderLine& border : row.TableBorders)
        ReadBrc(r, border);
}

void DefineRowShading(TRowDefinition& row, std::span<const uint8_t> operand) {
    ByteReader r(operand);
    const size_t count = std::min<size_t>(operand.size() / 2, kMaxRowCells);
    for (size_t k = 0; k < count; ++k) {
        uint16_t shading = 0;
        r.U16(shading);
        row.CellDefs[k].Shading = shading;
    }
}

void DefineCellPadding(TRowDefinition& row, std::span<const uint8_t> operand, bool allCells) {
    constexpr uint8_t kLeft = 2, kRight = 8, kTwips = 3;
    ByteReader r(operand);
    uint8_t first = 0, limit = 0, sides = 0, unit = 0;
    uint16_t width = 0;
    if (!r.U8(first) || !r.U8(limit) || !r.U8(sides) || !r.U8(unit) || !r.U16(width)) return;
    if (unit != kTwips) return;
    const auto set = [&](int32_t& left, int32_t& right) {
        if (sides & kLeft) left = width;
        if (sides & kRight) right = width;
    };
    if (allCells) {
        set(row.PadLeft, row.PadRight);
        return;
    }
    const size_t end = std::min<size_t>(limit, kMaxRowCells);
    for (size_t k = first; k < end; ++k)
        set(row.CellDefs[k].PadLeft, row.CellDefs[k].PadRight);
}

}  // namespace qm
