// Shaping of complex-script text with HarfBuzz: the glyphs a face draws for a run of characters
// (Arabic joining forms, ligatures the face asks for, combining marks placed on their base),
// with their advances and offsets in ems, so that any resolution draws them alike.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "raster/font.h"

namespace qm {

struct TShapedGlyph {
    uint32_t Glyph = 0;
    // The index in the shaped text of the first character of the cluster the glyph belongs to:
    // a cluster is the smallest group of characters and glyphs that stand for each other.
    uint32_t Cluster = 0;
    double Advance = 0;  // ems, to the next glyph's origin
    double OffsetX = 0;  // ems from the pen, to the right
    double OffsetY = 0;  // ems from the baseline, upward
};

// Whether a character needs its neighbours to be drawn: a letter of a script whose glyphs join
// or reorder (Arabic, Syriac, the Indic scripts, Thai, Tibetan, Khmer ...) or a combining mark.
// Text without such characters is drawn one glyph per character as measured.
bool NeedsShaping(char32_t code);
// Whether a character is a combining mark (general categories Mn, Mc and Me).
bool IsCombiningMark(char32_t code);

// The glyphs of the font's face for text, left to right as they stand on the page: the
// direction (right to left for Arabic and Hebrew) and script come from the text. Unhinted, so
// the advances are those of the design. Empty for an invalid font or a face whose file cannot
// be read.
std::vector<TShapedGlyph> ShapeText(const TFont& font, std::u32string_view text);

}  // namespace qm
