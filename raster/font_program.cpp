#include "raster/font_program.h"

#include <fstream>
#include <iterator>

#include "raster/font_cache.h"

namespace qm {

TFontProgram FontProgram(const TFont& font) {
    TFontProgram program;
    if (!font.Valid()) return program;
    const TLoadedFace& face = *font.Face()->Loaded;
    std::ifstream file(face.File, std::ios::binary);
    if (!file) return program;
    program.Bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) program.Bytes.clear();
    program.FaceIndex = face.Index;
    return program;
}

}  // namespace qm
