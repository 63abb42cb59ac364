// Font files opened with HarfBuzz once per process, for shaping and for subsetting: each file
// mapped into memory once (a CJK collection is some 20 MB) and each of its faces parsed once, so
// that neither a document's text nor its subsets read the file again or parse its tables anew.
#pragma once

#include <cstdint>
#include <string>

struct hb_face_t;

namespace qm {

// The face at index in the font file; null when the file cannot be mapped or holds no such face
// with glyphs (a plain font file answers for any index, so the index is checked against the
// file's face count). The answer is remembered: the face lives until the process ends, and
// HarfBuzz faces may be read from several threads. Thread-safe.
hb_face_t* CachedFontFace(const std::string& file, int32_t index);

}  // namespace qm
