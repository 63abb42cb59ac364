// Fuzz target: the enhanced metafile player. The first four bytes give the picture's width and
// height (16 bits each, little-endian; 0 asks for the metafile's own size), the rest is the
// metafile. Inputs starting with "DIB" after the size are decoded as a DIB picture instead.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "metafile/emf_player.h"
#include "raster/font.h"

namespace {

// Pictures up to this side keep the runs fast; the player's own limits on larger ones are
// tested elsewhere.
constexpr int32_t kMaxFuzzSide = 256;

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
    const std::span<const uint8_t> rest(data + 4, size - 4);
    qm::TDib picture;
    if (rest.size() >= 3 && std::memcmp(rest.data(), "DIB", 3) == 0) {
        qm::DecodeDibPicture(rest.subspan(3), picture);
    } else {
        // Without a size the metafile's own frame is used, up to the player's pixel limit.
        qm::TWmfSizeLimit limit{Side(data), Side(data + 2)};
        if (limit.Width == 0 || limit.Height == 0) limit = {kMaxFuzzSide, kMaxFuzzSide};
        qm::TEmfPlayback playback;
        qm::PlayEnhancedMetafile(rest, limit, picture, playback);
    }
    qm::deldib(picture);
    return 0;
}
