// Inflating the compressed pictures of a document (zlib, [RFC 1950] and [RFC 1951]).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qm {

// Inflates a zlib stream (its 2-byte header, then raw deflate data; the checksum after the data
// is not needed). sizeHint is the size the stream claims to inflate to; the output grows past
// it as needed but never beyond limit. Returns false (out holds nothing useful) when the data
// is damaged, ends before the stream does, or inflates to more than limit bytes.
bool InflateZlib(std::span<const uint8_t> compressed, size_t sizeHint, size_t limit,
                 std::vector<uint8_t>& out);

}  // namespace qm
