// Inline pictures of a Word document: the picture a picture character names in the "Data"
// stream is decoded into a 24-bit image (JPEG and PNG by the raster layer, Windows metafiles by
// our own player). Everything happens in memory; nothing is written to disk. What is left out
// is counted, by reason and by kind.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "model/records.h"

namespace qm {

class TNotices;

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

// Pictures stored in a form the program does not draw. OlderForm: a metafile right after the
// picture header (its mm a mapping mode), as Word keeps the pictures of embedded objects.
enum class TUndrawnKind { Emf, Pict, Dib, Tiff, Linked, OlderForm };
inline constexpr size_t kUndrawnKinds = 6;

// What one import counts of its pictures.
struct TPictureState {
    int64_t PixelsLeft = kMaxImportPicturePixels;
    int32_t OverLimit = 0;   // pictures left out at kMaxImportPicturePixels or kMaxPictures
    int32_t Unreadable = 0;  // pictures that did not decode (damaged, too large, or not read)
    std::array<int32_t, kUndrawnKinds> NotDrawn{};  // by TUndrawnKind
};

// The notices for the pictures state left out: those over the limits, the unreadable ones, and
// those of each kind not drawn, in this order.
void ReportPictures(const TPictureState& state, TNotices& notices);

// Decodes the pictures stored at fcPic of data: the header's display size (dxaGoal and dyaGoal
// with the scaling mx and my applied) and every JPEG, PNG and metafile picture record that
// decodes. Pictures that are damaged, implausibly large, of a kind not drawn or beyond state's
// pixel budget are left out and counted in state.
std::vector<TDecodedPicture> DecodePictures(std::span<const uint8_t> data, uint32_t fcPic,
                                            TPictureState& state);

// The pictures of one import's "Data" stream. A document may show the same stored picture many
// times; each showing shares the first one's pixels, and what it lacks is counted once.
class TPictureReader {
  public:
    explicit TPictureReader(std::span<const uint8_t> data) : data_(data) {}

    // The pictures stored at fcPic, decoded at the first call.
    const std::vector<TDecodedPicture>& At(uint32_t fcPic);
    // A decoded picture that did not fit into the pictures list (kMaxPictures).
    void CountListFull() { ++state_.OverLimit; }

    void Report(TNotices& notices) const { ReportPictures(state_, notices); }

  private:
    std::span<const uint8_t> data_;
    TPictureState state_;
    std::unordered_map<uint32_t, std::vector<TDecodedPicture>> byPosition_;
};

}  // namespace qm
