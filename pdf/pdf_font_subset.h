// Subsets of a face's font program for embedding, made with HarfBuzz's subsetter. Glyph ids are
// kept (the subset has the original's glyph count, unused glyphs empty), so that text written
// as glyph ids stays valid in the subset.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "raster/font.h"
#include "raster/font_program.h"

namespace qm {

// The outline format of a font program: TrueType outlines (a glyf table) embed as FontFile2,
// compact font format outlines (a CFF table) as an OpenType FontFile3.
enum class TOutlineFormat : uint8_t { None, TrueType, Cff };

// The outline format of a face's program; None when it is empty, is not an sfnt with glyphs,
// or holds neither outline table.
TOutlineFormat EmbeddableFormat(const TFontProgram& program);

struct TFontSubset {
    TOutlineFormat Format = TOutlineFormat::None;  // None: no subset could be made
    std::string Bytes;                             // a single-face sfnt
};

// The subset of a face's program holding these glyphs (and the missing glyph), its character
// map keeping these code points.
TFontSubset SubsetFont(const TFontProgram& program, const std::vector<uint32_t>& glyphs,
                       const std::vector<char32_t>& codes = {});

// The programs of the faces a document embeds, each read once: whether a face can be embedded
// is asked while pages are written, its subset made when the document ends.
class TFontPrograms {
  public:
    TOutlineFormat Format(const TFont& font);
    TFontSubset Subset(const TFont& font, const std::vector<uint32_t>& glyphs,
                       const std::vector<char32_t>& codes = {});
    void Clear() { faces_.clear(); }

  private:
    struct TFace {
        TOutlineFormat Format = TOutlineFormat::None;
        TFontProgram Program;  // kept only for a face that can be embedded
    };
    const TFace& Find(const TFont& font);
    std::map<const TFontFace*, TFace> faces_;
};

}  // namespace qm
