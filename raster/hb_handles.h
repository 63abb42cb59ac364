// Owning handles of HarfBuzz objects: each destroys its object with HarfBuzz's own function.
#pragma once

#include <hb.h>

#include <memory>

namespace qm {

struct THbBlobFree {
    void operator()(hb_blob_t* blob) const { hb_blob_destroy(blob); }
};
struct THbFaceFree {
    void operator()(hb_face_t* face) const { hb_face_destroy(face); }
};
struct THbFontFree {
    void operator()(hb_font_t* font) const { hb_font_destroy(font); }
};
struct THbBufferFree {
    void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};

using THbBlob = std::unique_ptr<hb_blob_t, THbBlobFree>;
using THbFace = std::unique_ptr<hb_face_t, THbFaceFree>;
using THbFont = std::unique_ptr<hb_font_t, THbFontFree>;
using THbBuffer = std::unique_ptr<hb_buffer_t, THbBufferFree>;

}  // namespace qm
