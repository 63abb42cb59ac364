#include "word/list_tables.h"

#include <algorithm>
#include <unordered_map>

#include "base/byte_reader.h"

namespace qm {

namespace {

constexpr size_t kLstfSize = 28;
constexpr size_t kLvlfSize = 28;
constexpr size_t kLfoSize = 16;
constexpr size_t kLfoLvlSize = 8;
constexpr size_t kLevelsPerList = 9;

// LVLF, then grpprlPapx, grpprlChpx and the xst of the number text.
bool ReadLevel(ByteReader& r, TListLevel& level) {
    uint8_t flags = 0;
    std::span<const uint8_t> rgbxchNums;
    uint8_t follow = 0;
    uint8_t cbChpx = 0;
    uint8_t cbPapx = 0;
    uint8_t restartLim = 0;
    if (!r.I32(level.StartAt) || !r.U8(level.Nfc) || !r.U8(flags) || !r.Bytes(9, rgbxchNums) ||
        !r.U8(follow) || !r.Skip(8) || !r.U8(cbChpx) || !r.U8(cbPapx) || !r.U8(restartLim) ||
        !r.Skip(1))
        return false;
    level.Align = flags & 0x03;
    level.Legal = (flags & 0x04) != 0;
    level.NoRestart = (flags & 0x08) != 0;
    level.RestartLim = restartLim;
    level.Follow = follow;
    std::span<const uint8_t> papx;
    std::span<const uint8_t> chpx;
    if (!r.Bytes(cbPapx, papx) || !r.Bytes(cbChpx, chpx)) return false;
    level.Papx.assign(papx.begin(), papx.end());
    level.Chpx.assign(chpx.begin(), chpx.end());
    uint16_t cch = 0;
    if (!r.U16(cch) || static_cast<size_t>(cch) * 2 > r.Remaining()) return false;
    level.NumberText.resize(cch);
    for (char16_t& c : level.NumberText) {
        uint16_t unit = 0;
        r.U16(unit);
        c = static_cast<char16_t>(unit);
    }
    return true;
}

bool ReadLists(std::span<const uint8_t> table, uint32_t fc, std::vector<TListDefinition>& lists) {
    ByteReader r(table);
    int16_t count = 0;
    if (!r.Seek(fc) || !r.I16(count)) return false;
    if (count < 0 || static_cast<size_t>(count) * kLstfSize > r.Remaining()) return false;
    std::vector<bool> simple;
    lists.reserve(static_cast<size_t>(count));
    for (int16_t i = 0; i < count; ++i) {
        TListDefinition list;
        uint8_t flags = 0;
        if (!r.I32(list.Lsid) || !r.Skip(4 + 18) || !r.U8(flags) || !r.Skip(1)) return false;
        simple.push_back((flags & 0x01) != 0);
        lists.push_back(std::move(list));
    }
    // The LVLs of every list follow the LSTFs, list by list.
    for (size_t i = 0; i < lists.size(); ++i) {
        const size_t levels = simple[i] ? 1 : kLevelsPerList;
        for (size_t l = 0; l < levels; ++l) {
            if (r.Remaining() < kLvlfSize) return false;
            TListLevel level;
            if (!ReadLevel(r, level)) return false;
            lists[i].Levels.push_back(std::move(level));
        }
    }
    return true;
}

bool ReadLevelOverride(ByteReader& r, TLevelOverride& over) {
    int32_t startAt = 0;
    uint8_t flags = 0;
    if (!r.I32(startAt) || !r.U8(flags) || !r.Skip(3)) return false;
    over.Level = flags & 0x0F;
    if (flags & 0x10) over.StartAt = startAt;
    if (flags & 0x20) {
        TListLevel level;
        if (r.Remaining() < kLvlfSize || !ReadLevel(r, level)) return false;
        over.Format = std::move(level);
    }
    return true;
}

bool ReadOverrides(std::span<const uint8_t> table, uint32_t fc,
                   std::vector<TListOverride>& overrides) {
    ByteReader r(table);
    uint32_t count = 0;
    if (!r.Seek(fc) || !r.U32(count)) return false;
    if (count > r.Remaining() / kLfoSize) return false;
    std::vector<uint8_t> levelCounts;
    overrides.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        TListOverride over;
        uint8_t clfolvl = 0;
        if (!r.I32(over.Lsid) || !r.Skip(8) || !r.U8(clfolvl) || !r.Skip(3)) return false;
        levelCounts.push_back(clfolvl);
        overrides.push_back(std::move(over));
    }
    // LFOData for each LFO: a CP, then its LFOLVLs.
    for (size_t i = 0; i < overrides.size(); ++i) {
        if (!r.Skip(4)) return false;
        for (uint8_t l = 0; l < levelCounts[i]; ++l) {
            if (r.Remaining() < kLfoLvlSize) return false;
            TLevelOverride level;
            if (!ReadLevelOverride(r, level)) return false;
            overrides[i].Levels.push_back(std::move(level));
        }
    }
    return true;
}

}  // namespace

const TListOverride* TListTables::OverrideOf(uint16_t ilfo) const {
    if (ilfo == 0 || ilfo > Overrides.size()) return nullptr;
    return &Overrides[ilfo - 1];
}

const TListDefinition* TListTables::ListOf(uint16_t ilfo) const {
    if (!OverrideOf(ilfo) || ilfo > OverrideLists.size()) return nullptr;
    const int32_t list = OverrideLists[ilfo - 1];
    return list >= 0 ? &Lists[static_cast<size_t>(list)] : nullptr;
}

const TListLevel* TListTables::LevelOf(uint16_t ilfo, uint8_t ilvl) const {
    const TListDefinition* list = ListOf(ilfo);
    if (!list || list->Levels.empty()) return nullptr;
    for (const TLevelOverride& over : OverrideOf(ilfo)->Levels) {
        if (over.Level == ilvl && over.Format) return &*over.Format;
    }
    return &list->Levels[std::min<size_t>(ilvl, list->Levels.size() - 1)];
}

TListTables ReadListTables(std::span<const uint8_t> table, uint32_t fcPlfLst, uint32_t lcbPlfLst,
                           uint32_t fcPlfLfo, uint32_t lcbPlfLfo) {
    TListTables tables;
    if (lcbPlfLst != 0 && !ReadLists(table, fcPlfLst, tables.Lists)) tables.Damaged = true;
    if (lcbPlfLfo != 0 && !ReadOverrides(table, fcPlfLfo, tables.Overrides)) tables.Damaged = true;
    // The first list of an lsid is the one its overrides name.
    std::unordered_map<int32_t, int32_t> byLsid;
    for (size_t i = 0; i < tables.Lists.size(); ++i)
        byLsid.emplace(tables.Lists[i].Lsid, static_cast<int32_t>(i));
    for (const TListOverride& over : tables.Overrides) {
        const auto found = byLsid.find(over.Lsid);
        tables.OverrideLists.push_back(found == byLsid.end() ? -1 : found->second);
    }
    return tables;
}

}  // namespace qm
