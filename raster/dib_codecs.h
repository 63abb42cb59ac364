// The decoders and the encoder behind OpenDib and SaveDib.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "raster/dib.h"

namespace qm {

// Decode a whole file into a 24-bit image (greyscale included). On failure dib is left empty.
bool DecodeJpeg(std::span<const uint8_t> bytes, TDib& dib);
bool DecodePng(std::span<const uint8_t> bytes, TDib& dib);

// Encodes a usable image of any depth as a baseline JPEG with three 8-bit components (YCbCr,
// chroma sampled 2 x 2), replacing out. quality is 1 to 100.
bool EncodeJpeg(const TDib& dib, int quality, std::vector<uint8_t>& out);

}  // namespace qm
