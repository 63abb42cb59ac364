// Inline pictures of a Word document: the picture a picture character names in the "Data"
// stream is decoded into a 24-bit image (JPEG and PNG by the raster layer, Windows metafiles
// by our own player), appended to the pictures list and inserted as a picture character.
// Everything happens in memory; nothing is written to disk.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/records.h"

namespace qm {

struct WordImportContext;

// The pixels all pictures of one import may hold: 2^28 (768 MiB at 24 bits), beyond what the
// pages of any real document show. Later pictures past it are left out.
inline constexpr int64_t kMaxImportPicturePixels = int64_t{1} << 28;
// An inflated metafile may hold at most this many bytes: 64 MiB holds a page-sized true-colour
// bitmap at 300 dots per inch (26 MiB) twice over, and stops a small stream that claims or
// inflates to gigabytes.
inline constexpr size_t kMaxInflatedMetafileBytes = size_t{64} << 20;
// A picture character refers to its picture by a 16-bit index.
inline constexpr int32_t kMaxPictures = 65536;

// A decoded picture with its display size.
struct TDecodedPicture {
    TBildRec Picture;
    uint32_t WidthTwips = 0;
    uint32_t HeightTwips = 0;
};

// What one import remembers of its pictures: a document may show the same stored picture
// many times, and each showing shares the first one's pixels.
struct TPictureState {
    std::unordered_map<uint32_t, std::vector<TDecodedPicture>> ByPosition;  // by fcPic
    int64_t PixelsLeft = kMaxImportPicturePixels;
    int32_t OverLimit = 0;   // pictures left out at kMaxImportPicturePixels or kMaxPictures
    int32_t Unreadable = 0;  // pictures that did not decode (damaged, too large, or not read)
};

// What the import says about the pictures it left out, one line for each reason; empty when
// every picture was shown.
std::vector<std::string> PictureNotices(const TPictureState& state);

// Appends picture to the pictures list and inserts a picture character of the given display
// size at the cursor; the cursor moves past it. Nothing happens for a descriptor without
// pixels, a display size of 0, or a full pictures list.
void AddPicture(WordImportContext& ctx, const TBildRec& picture, uint32_t widthTwips,
                uint32_t heightTwips);

// Decodes the pictures stored at fcPic of data: the header's display size (dxaGoal and dyaGoal
// with the scaling mx and my applied) and every JPEG, PNG and metafile picture record that
// decodes. Pictures that are damaged, implausibly large or beyond state's pixel budget are
// left out and counted in state (Unreadable, OverLimit).
std::vector<TDecodedPicture> DecodePictures(std::span<const uint8_t> data, uint32_t fcPic,
                                            TPictureState& state);

}  // namespace qm
