#include "raster/hb_face_cache.h"

#include "raster/hb_handles.h"

#include <hb.h>

#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace qm {

namespace {

using TBlob = THbBlob;
using TFace = THbFace;

class TFaceCache {
  public:
    hb_face_t* Face(const std::string& file, int32_t index) {
        const std::lock_guard<std::mutex> hold(lock_);
        auto key = std::make_pair(file, index);
        const auto known = faces_.find(key);
        if (known != faces_.end()) return known->second.get();
        return faces_.emplace(std::move(key), Open(file, index)).first->second.get();
    }

  private:
    // One mapping per file, shared by the faces of a collection.
    hb_blob_t* Blob(const std::string& file) {
        const auto known = blobs_.find(file);
        if (known != blobs_.end()) return known->second.get();
        TBlob blob(hb_blob_create_from_file_or_fail(file.c_str()));
        return blobs_.emplace(file, std::move(blob)).first->second.get();
    }

    TFace Open(const std::string& file, int32_t index) {
        if (file.empty() || index < 0) return nullptr;
        hb_blob_t* blob = Blob(file);
        if (blob == nullptr || static_cast<unsigned>(index) >= hb_face_count(blob)) return nullptr;
        TFace face(hb_face_create(blob, static_cast<unsigned>(index)));
        if (!face || hb_face_get_glyph_count(face.get()) == 0) return nullptr;
        return face;
    }

    std::mutex lock_;
    std::map<std::string, TBlob> blobs_;
    std::map<std::pair<std::string, int32_t>, TFace> faces_;
};

}  // namespace

hb_face_t* CachedFontFace(const std::string& file, int32_t index) {
    static TFaceCache cache;
    return cache.Face(file, index);
}

}  // namespace qm
