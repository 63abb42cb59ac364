#include "raster/font_program.h"

#include <fstream>

#include "raster/font_cache.h"

namespace qm {

TFontProgram FontProgram(const TFont& font) {
    TFontProgram program;
    if (!font.Valid()) return program;
    const TLoadedFace& face = *font.Face()->Loaded;
    std::ifstream file(face.File, std::ios::binary | std::ios::ate);
    if (!file) return program;
    // One read of the whole file: a CJK face is some 20 MB.
    const std::streamoff size = file.tellg();
    if (size <= 0) return program;
    program.Bytes.resize(static_cast<size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(program.Bytes.data()), size)) program.Bytes.clear();
    program.FaceIndex = face.Index;
    return program;
}

}  // namespace qm
