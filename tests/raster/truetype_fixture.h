// Small TrueType fonts made for tests: a family name, one character map and a few glyphs, each a
// square, with their own advance widths. Enough for FreeType and fontconfig to load and match.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qm {

struct TTestFontPlan {
    std::string Family;
    bool SymbolMap = false;  // a Microsoft symbol character map (3, 0) instead of Unicode (3, 1)
    // Advance widths in font units of glyphs 0 (.notdef, empty) and on (squares).
    std::vector<uint16_t> Advances;
    std::vector<std::pair<uint16_t, uint16_t>> Map;  // character code to glyph, codes ascending
    uint16_t UnitsPerEm = 1000;
};

std::vector<uint8_t> MakeTrueTypeFont(const TTestFontPlan& plan);

}  // namespace qm
