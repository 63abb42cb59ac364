// The font program behind a font: the file its face was loaded from, as a PDF writer embeds it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster/font.h"

namespace qm {

struct TFontProgram {
    std::vector<uint8_t> Bytes;  // the whole file; a collection holds several faces
    int32_t FaceIndex = 0;       // the face's index within a collection, else 0
};

// Reads the file of the font's face. Empty for an invalid font and when the file cannot be read
// any more.
TFontProgram FontProgram(const TFont& font);

// Where the font's face comes from, for a writer that opens the file itself (once per process).
struct TFontSource {
    std::string File;       // empty for an invalid font
    int32_t FaceIndex = 0;  // the face's index within a collection, else 0
    // The face's compact font format outlines are a CIDFont: its charset names every glyph by a
    // CID, which a subset with renumbered glyphs keeps.
    bool CidKeyed = false;
};
TFontSource FontSource(const TFont& font);

}  // namespace qm
