// Fuzz target: the metafile player. The first four bytes give the frame's width and height
// (16 bits each, little-endian), the rest is the metafile.
#include <cstddef>
#include <cstdint>
#include <span>

#include "metafile/metafile_player.h"
#include "raster/font.h"

namespace {

// Frames and pictures up to this side keep the runs fast; the player's own limit on larger
// frames is tested elsewhere.
constexpr int32_t kMaxFuzzSide = 1024;

int32_t Side(const uint8_t* bytes) {
    return static_cast<int32_t>((bytes[0] | (bytes[1] << 8)) % (kMaxFuzzSide + 1));
}

}  // namespace

// Text records select fonts: the font configuration is loaded before the first input, so that
// the leak checks after each input do not count what it keeps.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qm::selfont("Arial", 72, 100.0, 12.0, 0, 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    qm::TWmfRect frame;
    frame.Right = Side(data);
    frame.Bottom = Side(data + 2);
    qm::TDib picture;
    const qm::TWmfSizeLimit limit{kMaxFuzzSide, kMaxFuzzSide};
    qm::PlayWindowsMetafile(std::span<const uint8_t>(data + 4, size - 4), frame, limit, picture);
    qm::deldib(picture);
    return 0;
}
