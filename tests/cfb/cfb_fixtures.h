// Helpers for compound file tests: deterministic stream contents, and reading and patching the
// fixed layout that the test writer produces (see builder/cfb_writer.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "builder/cfb_writer.h"
#include "cfb/compound_file.h"

namespace qm::cfbtest {

using TStreams = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

// n bytes from a fixed-seed generator, different for each seed.
inline std::vector<uint8_t> Pattern(size_t n, uint32_t seed) {
    std::vector<uint8_t> out(n);
    uint32_t state = seed * 2654435761u + 1;
    for (uint8_t& b : out) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(state >> 24);
    }
    return out;
}

// A name and a number; built by appending, which g++ 12 at -O3 does not misreport.
inline std::string NumberedName(std::string_view prefix, uint64_t n) {
    std::string name(prefix);
    name += std::to_string(n);
    return name;
}

inline uint32_t GetU32(const std::vector<uint8_t>& file, size_t pos) {
    return static_cast<uint32_t>(file.at(pos)) | (static_cast<uint32_t>(file.at(pos + 1)) << 8) |
           (static_cast<uint32_t>(file.at(pos + 2)) << 16) |
           (static_cast<uint32_t>(file.at(pos + 3)) << 24);
}

inline void SetU32(std::vector<uint8_t>& file, size_t pos, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        file.at(pos + i) = static_cast<uint8_t>(value >> (8 * i));
}

// Offsets in a file made by WriteCompoundFile with 512-byte sectors.
inline constexpr size_t kSector = 512;
inline constexpr size_t kFatSectorCountAt = 0x2C;
inline constexpr size_t kFirstDirAt = 0x30;
inline constexpr size_t kFirstMiniFatAt = 0x3C;
inline constexpr size_t kNumMiniFatAt = 0x40;
inline constexpr size_t kFirstDifatAt = 0x44;
inline constexpr size_t kNumDifatAt = 0x48;
inline constexpr size_t kHeaderDifatAt = 0x4C;

inline size_t SectorOffset(uint32_t sector) {
    return (size_t{sector} + 1) * kSector;
}

// The writer's directory sectors are contiguous.
inline size_t DirEntryOffset(const std::vector<uint8_t>& file, uint32_t id) {
    return SectorOffset(GetU32(file, kFirstDirAt)) + size_t{id} * 128;
}
inline size_t LeftAt(const std::vector<uint8_t>& f, uint32_t id) {
    return DirEntryOffset(f, id) + 0x44;
}
inline size_t RightAt(const std::vector<uint8_t>& f, uint32_t id) {
    return DirEntryOffset(f, id) + 0x48;
}
inline size_t ChildAt(const std::vector<uint8_t>& f, uint32_t id) {
    return DirEntryOffset(f, id) + 0x4C;
}
inline size_t StartAt(const std::vector<uint8_t>& f, uint32_t id) {
    return DirEntryOffset(f, id) + 0x74;
}
inline size_t SizeAt(const std::vector<uint8_t>& f, uint32_t id) {
    return DirEntryOffset(f, id) + 0x78;
}

// FAT entry i, for files whose FAT sectors are all listed in the header.
inline size_t FatEntryOffset(const std::vector<uint8_t>& file, uint32_t i) {
    return SectorOffset(GetU32(file, kHeaderDifatAt + 4 * (i / 128))) + 4 * (i % 128);
}

// Mini FAT entry i; the writer's mini FAT sectors are contiguous.
inline size_t MiniFatEntryOffset(const std::vector<uint8_t>& file, uint32_t i) {
    return SectorOffset(GetU32(file, kFirstMiniFatAt)) + 4 * size_t{i};
}

// The directory id of a stream, found through the reader.
inline uint32_t EntryId(const std::vector<uint8_t>& file, const std::string& name) {
    Result<TCompoundFile> cf = TCompoundFile::Open(file);
    if (!cf) return UINT32_MAX;
    const auto& entries = cf->Entries();
    for (uint32_t id = 0; id < entries.size(); ++id) {
        if (entries[id].Name == name) return id;
    }
    return UINT32_MAX;
}

inline std::vector<uint8_t> StreamBytes(const TCompoundFile& cf, const std::string& name) {
    Result<TCfbStream> stream = cf.OpenStream(name);
    if (!stream) return {};
    const auto bytes = stream->Bytes();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace qm::cfbtest
