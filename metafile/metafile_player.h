// Windows metafiles ([MS-WMF]) played into pictures: our own player over Cairo for the records
// that documents use (lines, shapes, text, bitmaps, the object table, clipping and the
// window). Records it does not know are skipped; a malformed record ends the playback with what
// was drawn so far.
#pragma once

#include <cstdint>
#include <span>

#include "raster/dib.h"

namespace qm {

// A rectangle in the metafile's logical units.
struct TWmfRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

// The most pixels a metafile picture gets: 2^23 (24 MiB at 24 bits) holds a page at 300 dots
// per inch; larger frames are drawn smaller, keeping their shape.
inline constexpr int64_t kMaxMetafilePixels = int64_t{1} << 23;

// The most pixels a caller wants a picture to have across and down; 0 means no limit.
struct TWmfSizeLimit {
    int64_t Width = 0;
    int64_t Height = 0;
};

// Plays metafile (the bytes from its header on; a placeable header in front is skipped) into
// a 24-bit picture on white. The picture covers frame, the logical window the metafile's
// drawing is meant for (the bounds a Word picture stores), one pixel per logical unit unless
// that exceeds limit or kMaxMetafilePixels; then it is drawn smaller, keeping its shape. Quirk: a
// frame less than two units wide or high (Word stores 1 x 1 for some metafiles) is replaced by the
// window the metafile sets before it draws. Returns false and leaves picture empty when there is no
// such frame, when a side exceeds the 16-bit coordinates of the format, or when the header is not a
// metafile's.
bool PlayWindowsMetafile(std::span<const uint8_t> metafile, const TWmfRect& frame,
                         const TWmfSizeLimit& limit, TDib& picture);

}  // namespace qm
