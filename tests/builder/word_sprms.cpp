// Property-list helpers of the document builder.
#include "builder/word_builder.h"

namespace qm {

TSprms operator+(TSprms a, const TSprms& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

namespace sprm {

TSprms Raw(uint16_t code, std::vector<uint8_t> operand) {
    // Built by prepending, which keeps g++ -O3 free of a false bounds warning on insert.
    operand.insert(operand.begin(), {static_cast<uint8_t>(code), static_cast<uint8_t>(code >> 8)});
    return operand;
}
TSprms Op8(uint16_t code, uint8_t value) {
    return Raw(code, {value});
}
TSprms Op16(uint16_t code, uint16_t value) {
    return Raw(code, {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
}
TSprms Op32(uint16_t code, uint32_t value) {
    return Raw(code, {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                      static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)});
}

TSprms Bold(uint8_t value) {
    return Op8(0x0835, value);
}
TSprms Italic(uint8_t value) {
    return Op8(0x0836, value);
}
TSprms Strike(uint8_t value) {
    return Op8(0x0837, value);
}
TSprms SmallCaps(uint8_t value) {
    return Op8(0x083A, value);
}
TSprms Caps(uint8_t value) {
    return Op8(0x083B, value);
}
TSprms Shadow(uint8_t value) {
    return Op8(0x0839, value);
}
TSprms FieldHidden(uint8_t value) {
    return Op8(0x0802, value);
}
TSprms Underline(uint8_t kul) {
    return Op8(0x2A3E, kul);
}
TSprms Color(uint8_t ico) {
    return Op8(0x2A42, ico);
}
TSprms ColorRef(uint32_t cv) {
    return Op32(0x6870, cv);
}
TSprms Hidden(uint8_t value) {
    return Op8(0x083C, value);
}
TSprms Highlight(uint8_t ico) {
    return Op8(0x2A0C, ico);
}
TSprms Shading(uint16_t shd) {
    return Op16(0x4866, shd);
}
TSprms Size(uint16_t hps) {
    return Op16(0x4A43, hps);
}
TSprms FontNumber(uint16_t ftc) {
    return Op16(0x4A4F, ftc);
}
TSprms CharStyle(uint16_t istd) {
    return Op16(0x4A30, istd);
}
TSprms Position(uint8_t iss) {
    return Op8(0x2A48, iss);
}
TSprms PicLocation(uint32_t fcPic) {
    return Op32(0x6A03, fcPic);
}
TSprms Special(uint8_t value) {
    return Op8(0x0855, value);
}

TSprms Justify(uint8_t jc) {
    return Op8(0x2403, jc);
}
TSprms JustifyLogical(uint8_t jc) {
    return Op8(0x2461, jc);
}
TSprms PageBreakBefore(uint8_t value) {
    return Op8(0x2407, value);
}
TSprms KeepTogether(uint8_t value) {
    return Op8(0x2405, value);
}
TSprms KeepWithNext(uint8_t value) {
    return Op8(0x2406, value);
}
TSprms WidowControl(uint8_t value) {
    return Op8(0x2431, value);
}
TSprms IndentLeft(int16_t twips) {
    return Op16(0x840F, static_cast<uint16_t>(twips));
}
TSprms IndentRight(int16_t twips) {
    return Op16(0x840E, static_cast<uint16_t>(twips));
}
TSprms IndentFirst(int16_t twips) {
    return Op16(0x8411, static_cast<uint16_t>(twips));
}
TSprms SpaceBefore(uint16_t twips) {
    return Op16(0xA413, twips);
}
TSprms SpaceAfter(uint16_t twips) {
    return Op16(0xA414, twips);
}
TSprms LineSpacing(int16_t dyaLine, uint16_t multiple) {
    return Op32(0x6412, static_cast<uint16_t>(dyaLine) | (static_cast<uint32_t>(multiple) << 16));
}
TSprms ListRef(uint16_t ilfo) {
    return Op16(0x460B, ilfo);
}
TSprms ListLevel(uint8_t ilvl) {
    return Op8(0x260A, ilvl);
}
TSprms InTable(uint8_t value) {
    return Op8(0x2416, value);
}
TSprms RightToLeft(uint8_t value) {
    return Op8(0x2441, value);
}
TSprms AsianLatinSpace(uint8_t value) {
    return Op8(0x2437, value);
}
TSprms AsianDigitSpace(uint8_t value) {
    return Op8(0x2438, value);
}
TSprms OutlineLevel(uint8_t level) {
    return Op8(0x2640, level);
}

TSprms Tabs(const std::vector<int16_t>& remove,
            const std::vector<std::pair<int16_t, uint8_t>>& add) {
    std::vector<uint8_t> operand;
    operand.push_back(static_cast<uint8_t>(remove.size()));
    for (int16_t pos : remove) {
        operand.push_back(static_cast<uint8_t>(pos));
        operand.push_back(static_cast<uint8_t>(static_cast<uint16_t>(pos) >> 8));
    }
    operand.push_back(static_cast<uint8_t>(add.size()));
    for (const auto& [pos, descriptor] : add) {
        operand.push_back(static_cast<uint8_t>(pos));
        operand.push_back(static_cast<uint8_t>(static_cast<uint16_t>(pos) >> 8));
    }
    for (const auto& tab : add)
        operand.push_back(tab.second);
    operand.insert(operand.begin(), static_cast<uint8_t>(operand.size()));
    return Raw(0xC60D, operand);
}

TSprms BreakKind(uint8_t bkc) {
    return Op8(0x3009, bkc);
}
TSprms TitlePage(uint8_t value) {
    return Op8(0x300A, value);
}
TSprms PageSize(uint16_t xa, uint16_t ya) {
    return Op16(0xB01F, xa) + Op16(0xB020, ya);
}
TSprms Margins(uint16_t left, uint16_t right, int16_t top, int16_t bottom) {
    return Op16(0xB021, left) + Op16(0xB022, right) + Op16(0x9023, static_cast<uint16_t>(top)) +
           Op16(0x9024, static_cast<uint16_t>(bottom));
}
TSprms HeaderDistances(uint16_t top, uint16_t bottom) {
    return Op16(0xB017, top) + Op16(0xB018, bottom);
}
TSprms Columns(uint16_t count, uint16_t spacing, uint8_t lineBetween) {
    return Op16(0x500B, static_cast<uint16_t>(count - 1)) + Op16(0x900C, spacing) +
           Op8(0x3019, lineBetween);
}

TSprms RowEnd(uint8_t value) {
    return Op8(0x2417, value);
}
TSprms GapHalf(int16_t twips) {
    return Op16(0x9602, static_cast<uint16_t>(twips));
}
TSprms CellPadding(uint8_t first, uint8_t limit, uint8_t sides, uint16_t twips) {
    return Raw(0xD632, {6, first, limit, sides, 3, static_cast<uint8_t>(twips),
                        static_cast<uint8_t>(twips >> 8)});
}
TSprms CellPaddingDefault(uint8_t sides, uint16_t twips) {
    return Raw(0xD634,
               {6, 0, 1, sides, 3, static_cast<uint8_t>(twips), static_cast<uint8_t>(twips >> 8)});
}
TSprms DefineRow(const std::vector<int16_t>& edges, bool borders) {
    // TDefTableOperand: cb (the bytes after it, plus one), itcMac, the edges,
    // then a 20-byte TC per cell: flags, width, and the top, left, bottom and right Brc80
    // (single lines of 3/4 point, or none).
    const size_t cells = edges.empty() ? 0 : edges.size() - 1;
    std::vector<uint8_t> body{static_cast<uint8_t>(cells)};
    for (int16_t edge : edges) {
        body.push_back(static_cast<uint8_t>(edge));
        body.push_back(static_cast<uint8_t>(static_cast<uint16_t>(edge) >> 8));
    }
    for (size_t c = 0; c < cells; ++c) {
        body.insert(body.end(), {0, 0, 0, 0});
        for (int side = 0; side < 4; ++side) {
            if (borders)
                body.insert(body.end(), {6, 1, 0, 0});
            else
                body.insert(body.end(), {0, 0, 0, 0});
        }
    }
    const auto cb = static_cast<uint16_t>(body.size() + 1);
    body.insert(body.begin(), {static_cast<uint8_t>(cb), static_cast<uint8_t>(cb >> 8)});
    return Raw(0xD608, body);
}
TSprms TableBorders(const std::array<bool, 6>& on) {
    std::vector<uint8_t> operand{24};
    for (const bool side : on) {
        if (side)
            operand.insert(operand.end(), {6, 1, 0, 0});
        else
            operand.insert(operand.end(), {0, 0, 0, 0});
    }
    return Raw(0xD605, operand);
}
TSprms RowShading(const std::vector<uint16_t>& shadings) {
    std::vector<uint8_t> operand{static_cast<uint8_t>(2 * shadings.size())};
    for (uint16_t shd : shadings) {
        operand.push_back(static_cast<uint8_t>(shd));
        operand.push_back(static_cast<uint8_t>(shd >> 8));
    }
    return Raw(0xD609, operand);
}

}  // namespace sprm

void PutU16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
    if (bytes.size() < offset + 2) bytes.resize(offset + 2);
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    PutU16(bytes, offset, static_cast<uint16_t>(value));
    PutU16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

}  // namespace qm
