// Writes compound files for tests: streams of the root storage only. Streams under
// 4096 bytes go to the mini stream, the others to regular sectors; the FAT sectors are listed in
// the header and, past 109 of them, in DIFAT sectors. The layout is fixed and contiguous, which
// tests that patch bytes may rely on: FAT sectors first, then DIFAT sectors, the directory, the
// mini FAT, the mini stream and the large streams in the order given. Directory entry 0 is the
// root; the streams follow as entries 1..n in name order, linked as a balanced binary tree whose
// nodes are all black.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm {

struct TCfbWriteOptions {
    uint16_t MajorVersion = 3;  // 3: 512-byte sectors, 4: 4096-byte sectors
};

// Names are UTF-8 and at most 31 UTF-16 code units long, none empty and no two the same (as
// the format compares them); a bad name throws std::invalid_argument.
std::vector<uint8_t> WriteCompoundFile(
    const std::vector<std::pair<std::string, std::vector<uint8_t>>>& rootStreams);
std::vector<uint8_t> WriteCompoundFile(
    const std::vector<std::pair<std::string, std::vector<uint8_t>>>& rootStreams,
    const TCfbWriteOptions& options);

// The order of sibling names: a shorter name first, then code unit by code unit
// in upper case. Upper case is taken for ASCII and Latin-1 letters; other code units compare
// as they are.
bool CfbNameLess(std::u16string_view a, std::u16string_view b);

// UTF-8 to UTF-16; invalid UTF-8 throws std::invalid_argument.
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace qm
