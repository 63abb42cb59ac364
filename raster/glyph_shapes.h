// The shapes of a font's glyphs: coverage bitmaps at the font's pixel size for the preview, and
// outlines in font units for pictures drawn at any scale. Glyphs are named by the index
// GlyphIndex finds for a code point; simulated bold and italic are applied as the font asks.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/font.h"

namespace qm {

// A glyph rendered with 8-bit anti-aliasing: Width x Height coverage values, top row first,
// placed Left pixels right of the pen and its top row Top pixels above the baseline.
struct TGlyphCoverage {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Coverage;
};

// The glyph at the font's em size in pixels, emboldened and slanted when the face found lacks
// the weight or slant asked for. Empty for an invalid font, a zero size and a glyph that does
// not render.
TGlyphCoverage GlyphCoverage(const TFont& font, uint32_t glyph);

// One segment of an outline in font units, y upward. A move starts a contour at Points[0]; a
// line ends at Points[0]; a conic (quadratic) curve has its control point in Points[0] and ends
// at Points[1]; a cubic one has controls in Points[0] and Points[1] and ends at Points[2].
enum class TSegmentKind : uint8_t { Move, Line, Conic, Cubic };
struct TOutlinePoint {
    int32_t X = 0;
    int32_t Y = 0;
};
struct TOutlineSegment {
    TSegmentKind Kind = TSegmentKind::Move;
    TOutlinePoint Points[3];
};

// The outline of a glyph, emboldened by a twenty-fourth of the em for a simulated bold (a
// simulated italic is left to the caller's transformation). False, with no segments, for an
// invalid font and a glyph that does not load as an outline; an empty glyph (a space) gives true
// and no segments.
bool GlyphOutline(const TFont& font, uint32_t glyph, std::vector<TOutlineSegment>& segments);

// The glyph's advance in font units (0 for an invalid font), and the font's em in those units.
int32_t DesignAdvance(const TFont& font, uint32_t glyph);
int32_t UnitsPerEm(const TFont& font);

}  // namespace qm
