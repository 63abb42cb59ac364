// Inline pictures of a Word document: the picture a picture character names in the "Data"
// stream is decoded into a 24-bit image (JPEG and PNG by the raster layer, Windows and enhanced
// metafiles and DIBs by our own player). Everything happens in memory; nothing is written to disk.
// What is left out is counted, by reason and by kind.
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
enum class TUndrawnKind { Pict, Tiff, Linked, OlderForm };
inline constexpr size_t kUndrawnKinds = 4;

// What the enhanced metafiles of one import did not draw.
struct TEmfCounts {
    int32_t Damaged = 0;  // left out: the header is not an enhanced metafile's, or no frame
    int32_t Empty = 0;    // drawn, but no record of theirs painted anything
    int32_t InPart = 0;   // drawn, with records skipped or broken off at a damaged record
};

// What one import counts of its pictures.
struct TPictureState {
    int64_t PixelsLeft = kMaxImportPicturePixels;
    int32_t OverLimit = 0;   // pictures left out at kMaxImportPicturePixels or kMaxPictures
    int32_t Unreadable = 0;  // pictures that did not decode (damaged, too large, or not read)
    std::array<int32_t, kUndrawnKinds> NotDrawn{};  // by TUndrawnKind
    TEmfCounts Emf;
};

// The notices for the pictures state left out: those over the limits, the unreadable ones,
// those of each kind not drawn, and the enhanced metafiles damaged, empty or drawn in part, in
// this order.
void ReportPictures(const TPictureState& state, TNotices& notices);

// Decodes the pictures stored at fcPic of data: the header's display size (dxaGoal and dyaGoal
// with the scaling mx and my applied) and every JPEG, PNG, DIB, metafile and enhanced metafile
// picture record that decodes (enhanced metafiles at kMaxMetafileDpi of their display size).
// Pictures that are damaged, implausibly large, of a kind not drawn or beyond state's pixel budget
// are left out and counted in state.
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
