#include "cfb/cfb_directory.h"

#include <algorithm>

#include "base/byte_reader.h"
#include "cfb/cfb_format.h"

namespace qm {
namespace {

constexpr uint32_t kReplacementChar = 0xFFFD;

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsHighSurrogate(uint16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(uint16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

uint8_t KnownType(uint8_t type) {
    switch (type) {
        case cfb::kTypeStorage:
        case cfb::kTypeStream:
        case cfb::kTypeRoot:
            return type;
        default:
            return cfb::kTypeUnused;
    }
}

TCfbDirEntry ParseEntry(std::span<const uint8_t> bytes, uint16_t majorVersion) {
    ByteReader reader(bytes);
    TCfbDirEntry entry;
    std::span<const uint8_t> name;
    uint16_t nameLength = 0;
    uint8_t type = 0, color = 0;
    uint32_t sizeLow = 0, sizeHigh = 0;
    reader.Bytes(cfb::kDirNameBytes, name);
    reader.U16(nameLength);
    reader.U8(type);
    reader.U8(color);
    reader.U32(entry.Left);
    reader.U32(entry.Right);
    reader.U32(entry.Child);
    reader.Skip(16 + 4 + 8 + 8);  // CLSID, state bits, creation and modification times
    reader.U32(entry.StartSector);
    reader.U32(sizeLow);
    reader.U32(sizeHigh);
    entry.Name = DirNameToUtf8(name, nameLength);
    entry.Type = KnownType(type);
    // Version 3 writers may leave garbage in the high dword ([MS-CFB] 2.6.3).
    entry.Size = majorVersion == 3 ? sizeLow : (uint64_t{sizeHigh} << 32) | sizeLow;
    return entry;
}

}  // namespace

std::string DirNameToUtf8(std::span<const uint8_t> nameBytes, uint16_t nameLength) {
    ByteReader reader(nameBytes.first(std::min<size_t>(nameLength, nameBytes.size())));
    std::string out;
    uint16_t unit = 0;
    while (reader.U16(unit) && unit != 0) {
        uint32_t cp = unit;
        if (IsHighSurrogate(unit)) {
            const size_t pos = reader.Pos();
            uint16_t low = 0;
            if (reader.U16(low) && IsLowSurrogate(low)) {
                cp = 0x10000 + ((uint32_t{unit} - 0xD800) << 10) + (low - 0xDC00);
            } else {
                cp = kReplacementChar;
                reader.Seek(pos);
            }
        } else if (IsLowSurrogate(unit)) {
            cp = kReplacementChar;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::vector<TCfbDirEntry> ParseDirectory(std::span<const uint8_t> bytes, uint16_t majorVersion) {
    std::vector<TCfbDirEntry> entries(bytes.size() / cfb::kDirEntryBytes);
    ByteReader reader(bytes);
    for (TCfbDirEntry& entry : entries) {
        std::span<const uint8_t> record;
        reader.Bytes(cfb::kDirEntryBytes, record);
        entry = ParseEntry(record, majorVersion);
    }
    return entries;
}

namespace {

// One walk over the directory: every entry may be reached once.
class TTreeWalk {
  public:
    explicit TTreeWalk(std::span<const TCfbDirEntry> entries)
        : entries_(entries), seen_(entries.size(), false) {}

    // Visits the sibling tree whose top is `top` in order (left, node, right), collecting its
    // members into `members` and queueing the storages among them for their own walk.
    bool WalkSiblings(uint32_t top, std::vector<uint32_t>& members) {
        std::vector<uint32_t> path;
        uint32_t node = top;
        while (true) {
            while (Usable(node)) {
                if (!Mark(node)) return false;
                path.push_back(node);
                node = entries_[node].Left;
            }
            if (path.empty()) return true;
            node = path.back();
            path.pop_back();
            members.push_back(node);
            if (entries_[node].Type == cfb::kTypeStorage) storages_.push_back(node);
            node = entries_[node].Right;
        }
    }

    bool Mark(uint32_t id) {
        if (seen_[id]) return false;
        seen_[id] = true;
        return true;
    }

    // Walks the storages found so far and those they reveal; their members are not kept.
    bool WalkStorages() {
        std::vector<uint32_t> ignored;
        while (!storages_.empty()) {
            const uint32_t storage = storages_.back();
            storages_.pop_back();
            ignored.clear();
            if (!WalkSiblings(entries_[storage].Child, ignored)) return false;
        }
        return true;
    }

  private:
    bool Usable(uint32_t id) const {
        return id < entries_.size() && entries_[id].Type != cfb::kTypeUnused;
    }

    std::span<const TCfbDirEntry> entries_;
    std::vector<bool> seen_;
    std::vector<uint32_t> storages_;
};

TError TreeLoops() {
    return MakeError(TErrorKind::Damaged, "Compound file: the directory tree loops");
}

}  // namespace

Result<std::vector<uint32_t>> WalkDirectoryTree(std::span<const TCfbDirEntry> entries) {
    if (entries.empty() || entries[0].Type != cfb::kTypeRoot) {
        return MakeError(TErrorKind::Damaged, "Compound file: no root entry");
    }
    TTreeWalk walk(entries);
    walk.Mark(0);
    std::vector<uint32_t> rootMembers;
    if (!walk.WalkSiblings(entries[0].Child, rootMembers)) return TreeLoops();
    if (!walk.WalkStorages()) return TreeLoops();
    return rootMembers;
}

}  // namespace qm
