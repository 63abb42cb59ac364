// Fuzz target: the picture decoders (JPEG, and PNG when the bytes carry its signature), then
// what the PDF writer and the preview do with a decoded picture: JPEG encoding and halftoning.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "raster/dib.h"

namespace {

// Pictures up to this size are also encoded and halftoned; larger ones would only slow the
// fuzzer down without reaching other code.
constexpr int64_t kMaxReusedPixels = 1 << 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qm::TDib dib;
    if (!qm::OpenDibMemory(dib, std::span<const uint8_t>(data, size), qm::kFormatJpeg)) return 0;
    const int64_t pixels = int64_t{qm::DIBWidth(dib)} * qm::DIBHeight(dib);
    if (pixels <= kMaxReusedPixels) {
        std::vector<uint8_t> jpeg;
        qm::SaveDibMemory(dib, qm::kFormatJpeg, jpeg);
        qm::TDib halftone;
        qm::DIBHalftoneDIBXY(halftone, dib, 17, 9);
        qm::deldib(halftone);
    }
    qm::deldib(dib);
    return 0;
}
