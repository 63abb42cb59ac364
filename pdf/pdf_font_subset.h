// Subsets of a face's font program for embedding, made with HarfBuzz's subsetter. Glyph ids are
// kept (the subset has the original's glyph count, unused glyphs empty), so that text written
// as glyph ids stays valid in the subset; only a CIDFont's compact font format outlines are
// renumbered, as their charset keeps each glyph's CID (which is what the text names).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "raster/font.h"
#include "raster/font_program.h"

struct hb_face_t;

namespace qm {

// The outline format of a font program: TrueType outlines (a glyf table) embed as FontFile2,
// compact font format outlines (a CFF table) as an OpenType FontFile3. A subset of a CIDFont's
// compact outlines is the bare CFF table (CidCff), embedded as a CIDFontType0C FontFile3: its
// glyphs are numbered anew and found by the CIDs its charset keeps, which viewers only honour
// in a bare CIDFont program.
enum class TOutlineFormat : uint8_t { None, TrueType, Cff, CidCff };

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

// The programs of the faces a document embeds: whether a face can be embedded is asked while
// pages are written, its subset made when the document ends. The files are opened once per
// process (raster/hb_face_cache.h).
class TFontPrograms {
  public:
    TOutlineFormat Format(const TFont& font);
    TFontSubset Subset(const TFont& font, const std::vector<uint32_t>& glyphs,
                       const std::vector<char32_t>& codes = {});
    // The subset for a Type 0 font: the glyphs shown, each with the text it stands for.
    TFontSubset SubsetShown(const TFont& font, const std::map<uint32_t, std::u32string>& shown);
    void Clear() { faces_.clear(); }

  private:
    struct TFace {
        TOutlineFormat Format = TOutlineFormat::None;
        hb_face_t* Program = nullptr;  // the process's parsed face; null when not embeddable
        bool CidFont = false;          // compact outlines whose charset holds CIDs
    };
    const TFace& Find(const TFont& font);
    std::map<const TFontFace*, TFace> faces_;
};

}  // namespace qm
