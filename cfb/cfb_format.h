// Fixed values of the compound file format ([MS-CFB] 2.1, 2.2, 2.6).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qm::cfb {

// Special sector numbers ([MS-CFB] 2.1); every value above kMaxRegSect names no sector.
inline constexpr uint32_t kMaxRegSect = 0xFFFFFFFA;
inline constexpr uint32_t kDifSect = 0xFFFFFFFC;
inline constexpr uint32_t kFatSect = 0xFFFFFFFD;
inline constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr uint32_t kFreeSect = 0xFFFFFFFF;

// "No entry" in the sibling and child links of a directory entry ([MS-CFB] 2.6.1).
inline constexpr uint32_t kNoStream = 0xFFFFFFFF;

inline constexpr std::array<uint8_t, 8> kSignature = {0xD0, 0xCF, 0x11, 0xE0,
                                                      0xA1, 0xB1, 0x1A, 0xE1};
inline constexpr size_t kHeaderBytes = 512;         // the header's fields; v4 pads it to 4096
inline constexpr size_t kHeaderDifatEntries = 109;  // FAT sector numbers held in the header
inline constexpr size_t kDirEntryBytes = 128;
inline constexpr size_t kDirNameBytes = 64;  // 32 UTF-16 code units including the terminator
inline constexpr uint32_t kMiniSectorSize = 64;
inline constexpr uint32_t kMiniStreamCutoff = 4096;

// Object types of a directory entry ([MS-CFB] 2.6.1).
inline constexpr uint8_t kTypeUnused = 0;
inline constexpr uint8_t kTypeStorage = 1;
inline constexpr uint8_t kTypeStream = 2;
inline constexpr uint8_t kTypeRoot = 5;

}  // namespace qm::cfb
