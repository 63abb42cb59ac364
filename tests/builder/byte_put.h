// Appending integers to the builders' binary files: little-endian, as Word, compound files and
// metafiles store them, and big-endian for PNG.
#pragma once

#include <cstdint>
#include <vector>

namespace qm {

inline void Put8(std::vector<uint8_t>& out, uint8_t v) {
    out.push_back(v);
}
inline void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}
inline void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

}  // namespace qm
