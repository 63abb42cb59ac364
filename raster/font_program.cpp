#include "raster/font_program.h"

#include <ft2build.h>
#include FT_CID_H

#include <fstream>
#include <mutex>

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

TFontSource FontSource(const TFont& font) {
    TFontSource source;
    if (!font.Valid() || font.Face()->Loaded == nullptr) return source;
    TLoadedFace& face = *font.Face()->Loaded;
    source.File = face.File;
    source.FaceIndex = face.Index;
    FT_Bool cidKeyed = 0;
    {
        const std::lock_guard<std::mutex> hold(face.Lock);
        if (FT_Get_CID_Is_Internally_CID_Keyed(face.Face.get(), &cidKeyed) != 0) cidKeyed = 0;
    }
    source.CidKeyed = cidKeyed != 0;
    return source;
}

}  // namespace qm
