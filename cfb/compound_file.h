// A reader of compound files ([MS-CFB]): header, FAT and DIFAT, mini FAT and mini stream, the
// directory tree. The whole file is held in memory; a stream is assembled into one contiguous
// buffer when it is opened, so that reading it byte by byte costs nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/result.h"

namespace qm {

struct TCfbHeader;

// The largest file OpenFile and Open accept: the whole file is held in memory, and the streams
// opened from it are copies, so the file's size bounds what an import can allocate. Word 97-2003
// documents of real use stay far below.
inline constexpr uint64_t kMaxCompoundFileBytes = uint64_t{1} << 30;

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
    // Errors: NotWordDocument when the signature is not a compound file's (or the file is
    // shorter than a header), Damaged when the structure is broken (bad sector numbers, cycles,
    // truncated tables), LimitExceeded above kMaxCompoundFileBytes.
    static Result<TCompoundFile> Open(std::vector<uint8_t> fileBytes);
    // Reads the whole file, then as Open. Errors: Io when it cannot be read, LimitExceeded when
    // it is larger than kMaxCompoundFileBytes (checked before reading).
    static Result<TCompoundFile> OpenFile(const std::string& path);

    // Opens a stream of the root storage by name (compared case-insensitively, as the format
    // asks; here for ASCII letters). Its size is clamped to what the file really holds: a chain
    // cut short gives the bytes it has. Errors: NotWordDocument when the root storage has no
    // stream of that name, Damaged when the stream's sector chain loops.
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
        uint64_t Size = 0;  // as the directory states it; OpenStream clamps it
    };

    // Every entry of the directory as read, for dumps; entry 0 is the root.
    const std::vector<TDirEntry>& Entries() const { return dir_; }

  private:
    Result<bool> LoadTables(const TCfbHeader& header);
    void IndexRootStreams();
    const TDirEntry* FindRootStream(std::string_view name) const;
    Result<std::vector<uint8_t>> ReadStreamBytes(const TDirEntry& entry) const;

    std::vector<uint8_t> file_;
    uint32_t sectorSize_ = 512;
    uint32_t miniSectorSize_ = 64;
    uint32_t miniStreamCutoff_ = 4096;
    std::vector<uint32_t> fat_;
    std::vector<uint32_t> miniFat_;
    std::vector<uint8_t> miniStream_;
    std::vector<TDirEntry> dir_;
    std::vector<uint32_t> rootMembers_;  // entries directly under the root, in tree order
    // The root's streams by upper-cased name, sorted; of two equal names the first in tree
    // order comes first.
    std::vector<std::pair<std::string, uint32_t>> streamIndex_;
};

}  // namespace qm
