// A reader of compound files ([MS-CFB]): header, FAT and DIFAT, mini FAT and mini stream, the
// directory tree. The whole file is held in memory; a stream is assembled into one contiguous
// buffer when it is opened, so that reading it byte by byte costs nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "docimport/result.h"

namespace qm {

// Result codes of the stream operations; 0 is success.
enum TCfbResult : int32_t {
    kCfbOk = 0,
    kCfbReadFault = 1,  // read past the end of the stream
    kCfbSeekFault = 2,  // seek beyond the end of the stream
};

// One opened stream: its bytes, a position, and absolute seek and read with a result code.
class TCfbStream {
public:
    TCfbStream() = default;
    explicit TCfbStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    uint64_t Size() const { return bytes_.size(); }
    uint64_t Pos() const { return pos_; }
    std::span<const uint8_t> Bytes() const { return bytes_; }

    // Absolute seek; a position beyond the end fails and leaves the position unchanged.
    TCfbResult Seek(uint64_t pos);
    // Reads n bytes into dest. A short read copies what is there, zero-fills the rest of dest,
    // moves to the end and reports kCfbReadFault.
    TCfbResult Read(void* dest, uint64_t n);

private:
    std::vector<uint8_t> bytes_;
    uint64_t pos_ = 0;
};

class TCompoundFile {
public:
    // Parses the header, the FAT chain tables and the directory of a whole file held in memory.
    // Errors: NotWordDocument when the signature is not a compound file's, Damaged when the
    // structure is broken (bad sector numbers, cycles, truncated tables).
    static Result<TCompoundFile> Open(std::vector<uint8_t> fileBytes);
    static Result<TCompoundFile> OpenFile(const std::string& path);

    // Opens a stream of the root storage by name (compared case-insensitively, as the format
    // asks). Its size is clamped to what the file really holds.
    Result<TCfbStream> OpenStream(std::string_view name) const;

    // Names of the root storage's streams, for dumps and tests.
    std::vector<std::string> StreamNames() const;

    struct TDirEntry {
        std::string Name;  // UTF-8
        uint8_t Type = 0;  // 0 unused, 1 storage, 2 stream, 5 root
        uint32_t Left = 0xFFFFFFFF;
        uint32_t Right = 0xFFFFFFFF;
        uint32_t Child = 0xFFFFFFFF;
        uint32_t StartSector = 0;
        uint64_t Size = 0;
    };

private:
    std::vector<uint8_t> file_;
    uint32_t sectorSize_ = 512;
    uint32_t miniSectorSize_ = 64;
    uint32_t miniStreamCutoff_ = 4096;
    std::vector<uint32_t> fat_;
    std::vector<uint32_t> miniFat_;
    std::vector<uint8_t> miniStream_;
    std::vector<TDirEntry> dir_;
};

}  // namespace qm
