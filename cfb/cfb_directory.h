// The directory of a compound file ([MS-CFB] 2.6): 128-byte entries, and the tree of sibling
// and child links that tells which streams the root storage holds.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cfb/compound_file.h"
#include "base/result.h"

namespace qm {

using TCfbDirEntry = TCompoundFile::TDirEntry;

// The entries held in the directory chain's bytes (whole entries only; a cut-short last entry
// is dropped). Object types other than storage, stream and root are read as unused. In version
// 3 files only the low 32 bits of the stream size count ([MS-CFB] 2.6.3).
std::vector<TCfbDirEntry> ParseDirectory(std::span<const uint8_t> bytes, uint16_t majorVersion);

// A directory entry name (UTF-16LE, nameLength bytes including the terminator) as UTF-8; an
// unpaired surrogate becomes U+FFFD.
std::string DirNameToUtf8(std::span<const uint8_t> nameBytes, uint16_t nameLength);

// Walks the whole tree under the root entry (entry 0, which must be the root) and returns the
// entries directly under the root storage, in the tree's order. Errors (Damaged): no root entry,
// or an entry reached twice through the links (a cycle, including a link back to the root).
// Quirk: a link to an entry past the end of the directory, or to an unused entry, is skipped
// with everything under it: truncated files have such links.
Result<std::vector<uint32_t>> WalkDirectoryTree(std::span<const TCfbDirEntry> entries);

}  // namespace qm
