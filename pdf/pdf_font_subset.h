// Subsets of a face's font program for embedding, made with HarfBuzz's subsetter. Glyph ids are
// kept (the subset has the original's glyph count, unused glyphs empty), so that text written
// as glyph ids stays valid in the subset.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster/font.h"

namespace qm {

// The outline format of a font program: TrueType outlines (a glyf table) embed as FontFile2,
// compact font format outlines (a CFF table) as an OpenType FontFile3.
enum class TOutlineFormat : uint8_t { None, TrueType, Cff };

// The outline format of the font's face; None when its program cannot be read, is not an
// sfnt with glyphs, or holds neither outline table.
TOutlineFormat EmbeddableFormat(const TFont& font);

struct TFontSubset {
    TOutlineFormat Format = TOutlineFormat::None;  // None: no subset could be made
    std::string Bytes;                             // a single-face sfnt
};

// The subset of the font's face holding these glyphs (and the missing glyph), its character map
// keeping these code points.
TFontSubset SubsetFont(const TFont& font, const std::vector<uint32_t>& glyphs,
                       const std::vector<char32_t>& codes = {});

}  // namespace qm
