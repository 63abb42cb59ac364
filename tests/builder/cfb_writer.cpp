#include "builder/cfb_writer.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <stdexcept>

namespace qm {
namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSect = 0xFFFFFFFF;
constexpr uint32_t kFatSect = 0xFFFFFFFD;
constexpr uint32_t kDifSect = 0xFFFFFFFC;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kHeaderDifatEntries = 109;
constexpr uint32_t kDirEntryBytes = 128;
constexpr uint32_t kMiniSector = 64;
constexpr uint32_t kMiniCutoff = 4096;
constexpr size_t kMaxNameUnits = 31;

using TStreamList = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

uint32_t CeilDiv(uint64_t a, uint64_t b) {
    return static_cast<uint32_t>((a + b - 1) / b);
}

void PutU16(std::vector<uint8_t>& out, size_t pos, uint16_t v) {
    out.at(pos) = static_cast<uint8_t>(v);
    out.at(pos + 1) = static_cast<uint8_t>(v >> 8);
}

void PutU32(std::vector<uint8_t>& out, size_t pos, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.at(pos + i) = static_cast<uint8_t>(v >> (8 * i));
}

char16_t UpperUnit(char16_t c) {
    if (c >= u'a' && c <= u'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    return c;
}

struct TPlacedStream {
    std::u16string Name;
    const std::vector<uint8_t>* Bytes = nullptr;
    bool Mini = false;
    uint32_t Start = kEndOfChain;  // first sector or mini sector
    uint32_t Count = 0;            // sectors or mini sectors
};

// Where everything goes: sector numbers of each region and the tables that chain them.
struct TLayout {
    uint32_t SectorSize = 512;
    uint32_t FatSectors = 0, DifatSectors = 0, DirSectors = 0, MiniFatSectors = 0;
    uint32_t MiniStreamSectors = 0, LargeSectors = 0;
    uint32_t FirstDifat = 0, FirstDir = 0, FirstMiniFat = 0, FirstMiniStream = 0;
    uint32_t MiniStreamBytes = 0;
    std::vector<uint32_t> Fat, MiniFat;

    uint32_t PerSector() const { return SectorSize / 4; }
    uint32_t UsedSectors() const {
        return FatSectors + DifatSectors + DirSectors + MiniFatSectors + MiniStreamSectors +
               LargeSectors;
    }
};

void Chain(std::vector<uint32_t>& table, uint32_t first, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        table.at(first + i) = i + 1 < count ? first + i + 1 : kEndOfChain;
    }
}

std::vector<TPlacedStream> PlaceStreams(const TStreamList& streams) {
    std::vector<TPlacedStream> placed;
    for (const auto& [name, bytes] : streams) {
        TPlacedStream s;
        s.Name = Utf8ToUtf16(name);
        if (s.Name.empty() || s.Name.size() > kMaxNameUnits) {
            throw std::invalid_argument("compound file stream name empty or too long: " + name);
        }
        s.Bytes = &bytes;
        s.Mini = bytes.size() < kMiniCutoff;
        placed.push_back(std::move(s));
    }
    return placed;
}

// Mini sectors are handed out in the order the streams were given.
void PlaceMiniStreams(std::vector<TPlacedStream>& streams, TLayout& layout) {
    uint32_t next = 0;
    for (TPlacedStream& s : streams) {
        if (!s.Mini || s.Bytes->empty()) continue;
        s.Count = CeilDiv(s.Bytes->size(), kMiniSector);
        s.Start = next;
        next += s.Count;
        layout.MiniFat.resize(next, kFreeSect);
        Chain(layout.MiniFat, s.Start, s.Count);
    }
    layout.MiniStreamBytes = next * kMiniSector;
}

// The FAT must describe every sector, its own and the DIFAT's included.
void SizeFat(TLayout& layout) {
    const uint32_t others =
        layout.DirSectors + layout.MiniFatSectors + layout.MiniStreamSectors + layout.LargeSectors;
    uint32_t fat = 1;
    while (true) {
        const uint32_t difat = fat > kHeaderDifatEntries
                                   ? CeilDiv(fat - kHeaderDifatEntries, layout.PerSector() - 1)
                                   : 0;
        const uint32_t needed = CeilDiv(uint64_t{others} + fat + difat, layout.PerSector());
        if (needed <= fat) {
            layout.FatSectors = fat;
            layout.DifatSectors = difat;
            return;
        }
        fat = needed;
    }
}

TLayout MakeLayout(std::vector<TPlacedStream>& streams, uint32_t sectorSize) {
    TLayout layout;
    layout.SectorSize = sectorSize;
    PlaceMiniStreams(streams, layout);
    layout.DirSectors = CeilDiv(uint64_t{streams.size() + 1} * kDirEntryBytes, sectorSize);
    layout.MiniFatSectors = CeilDiv(uint64_t{layout.MiniFat.size()} * 4, sectorSize);
    layout.MiniStreamSectors = CeilDiv(layout.MiniStreamBytes, sectorSize);
    for (const TPlacedStream& s : streams) {
        if (!s.Mini) layout.LargeSectors += CeilDiv(s.Bytes->size(), sectorSize);
    }
    SizeFat(layout);
    layout.FirstDifat = layout.FatSectors;
    layout.FirstDir = layout.FirstDifat + layout.DifatSectors;
    layout.FirstMiniFat = layout.FirstDir + layout.DirSectors;
    layout.FirstMiniStream = layout.FirstMiniFat + layout.MiniFatSectors;
    uint32_t next = layout.FirstMiniStream + layout.MiniStreamSectors;
    layout.Fat.assign(size_t{layout.FatSectors} * layout.PerSector(), kFreeSect);
    for (uint32_t i = 0; i < layout.FatSectors; ++i)
        layout.Fat[i] = kFatSect;
    for (uint32_t i = 0; i < layout.DifatSectors; ++i)
        layout.Fat[layout.FirstDifat + i] = kDifSect;
    Chain(layout.Fat, layout.FirstDir, layout.DirSectors);
    Chain(layout.Fat, layout.FirstMiniFat, layout.MiniFatSectors);
    Chain(layout.Fat, layout.FirstMiniStream, layout.MiniStreamSectors);
    for (TPlacedStream& s : streams) {
        if (s.Mini) continue;
        s.Count = CeilDiv(s.Bytes->size(), sectorSize);
        s.Start = next;
        Chain(layout.Fat, next, s.Count);
        next += s.Count;
    }
    return layout;
}

size_t SectorOffset(const TLayout& layout, uint32_t sector) {
    return (size_t{sector} + 1) * layout.SectorSize;
}

void WriteHeader(std::vector<uint8_t>& out, const TLayout& layout, uint16_t majorVersion) {
    static constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(out.data(), kSignature, sizeof kSignature);
    PutU16(out, 0x18, 0x003E);
    PutU16(out, 0x1A, majorVersion);
    PutU16(out, 0x1C, 0xFFFE);
    PutU16(out, 0x1E, majorVersion == 4 ? 12 : 9);
    PutU16(out, 0x20, 6);
    PutU32(out, 0x28, majorVersion == 4 ? layout.DirSectors : 0);
    PutU32(out, 0x2C, layout.FatSectors);
    PutU32(out, 0x30, layout.FirstDir);
    PutU32(out, 0x38, kMiniCutoff);
    PutU32(out, 0x3C, layout.MiniFatSectors > 0 ? layout.FirstMiniFat : kEndOfChain);
    PutU32(out, 0x40, layout.MiniFatSectors);
    PutU32(out, 0x44, layout.DifatSectors > 0 ? layout.FirstDifat : kEndOfChain);
    PutU32(out, 0x48, layout.DifatSectors);
    for (uint32_t i = 0; i < kHeaderDifatEntries; ++i) {
        PutU32(out, 0x4C + 4 * i, i < layout.FatSectors ? i : kFreeSect);
    }
}

// FAT sectors 109 and up are listed in the DIFAT sectors, whose last entry links to the next.
void WriteDifat(std::vector<uint8_t>& out, const TLayout& layout) {
    const uint32_t perDifat = layout.PerSector() - 1;
    for (uint32_t d = 0; d < layout.DifatSectors; ++d) {
        const size_t base = SectorOffset(layout, layout.FirstDifat + d);
        for (uint32_t i = 0; i < perDifat; ++i) {
            const uint32_t fatSector = kHeaderDifatEntries + d * perDifat + i;
            PutU32(out, base + 4 * i, fatSector < layout.FatSectors ? fatSector : kFreeSect);
        }
        const bool last = d + 1 == layout.DifatSectors;
        PutU32(out, base + 4 * perDifat, last ? kEndOfChain : layout.FirstDifat + d + 1);
    }
}

void WriteTable(std::vector<uint8_t>& out, size_t base, const std::vector<uint32_t>& table,
                size_t slots) {
    for (size_t i = 0; i < slots; ++i) {
        PutU32(out, base + 4 * i, i < table.size() ? table[i] : kFreeSect);
    }
}

struct TEntryLinks {
    uint32_t Left = kNoStream, Right = kNoStream, Child = kNoStream;
};

void WriteDirEntry(std::vector<uint8_t>& out, size_t pos, std::u16string_view name, uint8_t type,
                   const TEntryLinks& links, uint32_t start, uint64_t size) {
    for (size_t i = 0; i < name.size(); ++i)
        PutU16(out, pos + 2 * i, name[i]);
    PutU16(out, pos + 0x40, static_cast<uint16_t>(name.empty() ? 0 : (name.size() + 1) * 2));
    out.at(pos + 0x42) = type;
    out.at(pos + 0x43) = type != 0 ? 1 : 0;  // black
    PutU32(out, pos + 0x44, links.Left);
    PutU32(out, pos + 0x48, links.Right);
    PutU32(out, pos + 0x4C, links.Child);
    PutU32(out, pos + 0x74, start);
    PutU32(out, pos + 0x78, static_cast<uint32_t>(size));
    PutU32(out, pos + 0x7C, static_cast<uint32_t>(size >> 32));
}

// Entries 1..n hold the streams in name order; the middle of each range is the top of its tree.
uint32_t LinkBalanced(std::vector<TEntryLinks>& links, uint32_t lo, uint32_t hi) {
    if (lo > hi) return kNoStream;
    const uint32_t mid = lo + (hi - lo) / 2;
    links[mid].Left = mid > lo ? LinkBalanced(links, lo, mid - 1) : kNoStream;
    links[mid].Right = LinkBalanced(links, mid + 1, hi);
    return mid;
}

void WriteDirectory(std::vector<uint8_t>& out, const TLayout& layout,
                    const std::vector<TPlacedStream>& streams) {
    std::vector<uint32_t> order(streams.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return CfbNameLess(streams[a].Name, streams[b].Name);
    });
    for (size_t i = 1; i < order.size(); ++i) {
        if (!CfbNameLess(streams[order[i - 1]].Name, streams[order[i]].Name)) {
            throw std::invalid_argument("compound file stream names repeat");
        }
    }
    const uint32_t n = static_cast<uint32_t>(streams.size());
    std::vector<TEntryLinks> links(n + 1);
    links[0].Child = n > 0 ? LinkBalanced(links, 1, n) : kNoStream;
    const size_t base = SectorOffset(layout, layout.FirstDir);
    const uint32_t rootStart = layout.MiniStreamSectors > 0 ? layout.FirstMiniStream : kEndOfChain;
    WriteDirEntry(out, base, u"Root Entry", 5, links[0], rootStart, layout.MiniStreamBytes);
    for (uint32_t id = 1; id <= n; ++id) {
        const TPlacedStream& s = streams[order[id - 1]];
        WriteDirEntry(out, base + size_t{id} * kDirEntryBytes, s.Name, 2, links[id], s.Start,
                      s.Bytes->size());
    }
    const uint32_t slots = layout.DirSectors * layout.SectorSize / kDirEntryBytes;
    for (uint32_t id = n + 1; id < slots; ++id) {
        WriteDirEntry(out, base + size_t{id} * kDirEntryBytes, u"", 0, TEntryLinks{}, 0, 0);
    }
}

void WriteStreamData(std::vector<uint8_t>& out, const TLayout& layout,
                     const std::vector<TPlacedStream>& streams) {
    const size_t miniBase = SectorOffset(layout, layout.FirstMiniStream);
    for (const TPlacedStream& s : streams) {
        if (s.Bytes->empty()) continue;
        const size_t pos =
            s.Mini ? miniBase + size_t{s.Start} * kMiniSector : SectorOffset(layout, s.Start);
        std::copy(s.Bytes->begin(), s.Bytes->end(), out.begin() + static_cast<ptrdiff_t>(pos));
    }
}

}  // namespace

bool CfbNameLess(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return a.size() < b.size();
    for (size_t i = 0; i < a.size(); ++i) {
        const char16_t ua = UpperUnit(a[i]), ub = UpperUnit(b[i]);
        if (ua != ub) return ua < ub;
    }
    return false;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<uint8_t>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || length > text.size() - i) {
            throw std::invalid_argument("invalid UTF-8");
        }
        uint32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto cont = static_cast<uint8_t>(text[i + k]);
            if ((cont & 0xC0) != 0x80) throw std::invalid_argument("invalid UTF-8");
            cp = (cp << 6) | (cont & 0x3F);
        }
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += length;
    }
    return out;
}

std::vector<uint8_t> WriteCompoundFile(const TStreamList& rootStreams) {
    return WriteCompoundFile(rootStreams, TCfbWriteOptions{});
}

std::vector<uint8_t> WriteCompoundFile(const TStreamList& rootStreams,
                                       const TCfbWriteOptions& options) {
    if (options.MajorVersion != 3 && options.MajorVersion != 4) {
        throw std::invalid_argument("compound file version must be 3 or 4");
    }
    std::vector<TPlacedStream> streams = PlaceStreams(rootStreams);
    const TLayout layout = MakeLayout(streams, options.MajorVersion == 4 ? 4096 : 512);
    std::vector<uint8_t> out(size_t{layout.UsedSectors() + 1} * layout.SectorSize, 0);
    WriteHeader(out, layout, options.MajorVersion);
    WriteDifat(out, layout);
    for (uint32_t k = 0; k < layout.FatSectors; ++k) {
        const std::vector<uint32_t> slice(layout.Fat.begin() + size_t{k} * layout.PerSector(),
                                          layout.Fat.begin() + size_t{k + 1} * layout.PerSector());
        WriteTable(out, SectorOffset(layout, k), slice, layout.PerSector());
    }
    WriteTable(out, SectorOffset(layout, layout.FirstMiniFat), layout.MiniFat,
               size_t{layout.MiniFatSectors} * layout.PerSector());
    WriteDirectory(out, layout, streams);
    WriteStreamData(out, layout, streams);
    return out;
}

}  // namespace qm
