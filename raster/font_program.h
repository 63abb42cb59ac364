// The font program behind a font: the bytes of the file its face was loaded from, as a PDF
// writer embeds them.
#pragma once

#include <cstdint>
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

}  // namespace qm
