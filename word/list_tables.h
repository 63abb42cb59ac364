// The list tables of the table stream: PlfLst (the lists, each with its levels' LVLs) and
// PlfLfo (the list format overrides a paragraph's ilfo names, with their LFOLVLs).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qm {

// One level of a list: LVLF and what follows it in the LVL.
struct TListLevel {
    int32_t StartAt = 1;
    uint8_t Nfc = 0;            // number format: 0 decimal, 23 bullet, 255 none, ...
    uint8_t Align = 0;  // the number at the indent: 0 starts there, 1 centred, 2 ends there
    bool Legal = false;         // every level's number shows as decimal
    bool NoRestart = false;     // the old flag: never restarts after a higher level
    uint8_t RestartLim = 0;     // ilvlRestartLim
    uint8_t Follow = 0;         // ixchFollow: 0 tab, 1 space, 2 nothing
    std::vector<uint8_t> Papx;  // grpprlPapx
    std::vector<uint8_t> Chpx;  // grpprlChpx
    std::u16string NumberText;  // the xst; code units 0..8 stand for the levels' numbers
};

struct TListDefinition {
    int32_t Lsid = 0;
    std::vector<TListLevel> Levels;  // one for a simple list, else nine
};

// An LFOLVL: for one level, a start-at value and/or a whole level in place of the list's.
struct TLevelOverride {
    uint8_t Level = 0;
    std::optional<int32_t> StartAt;
    std::optional<TListLevel> Format;
};

struct TListOverride {
    int32_t Lsid = 0;
    std::vector<TLevelOverride> Levels;
};

struct TListTables {
    std::vector<TListDefinition> Lists;
    std::vector<TListOverride> Overrides;  // ilfo 1 is the first
    // Per override, the index into Lists of the list it names, -1 for none: found once, as a
    // document may hold thousands of lists.
    std::vector<int32_t> OverrideLists;
    // Whether a table the header names could not be read to its end; what was read stays.
    bool Damaged = false;

    // The list an ilfo names and the level of it, or null.
    const TListDefinition* ListOf(uint16_t ilfo) const;
    const TListOverride* OverrideOf(uint16_t ilfo) const;
    // The level ilvl of the list ilfo names, the override's whole level where it has one.
    const TListLevel* LevelOf(uint16_t ilfo, uint8_t ilvl) const;
};

// Reads PlfLst with the LVLs after it and PlfLfo from the table stream; lcb 0 means absent.
TListTables ReadListTables(std::span<const uint8_t> table, uint32_t fcPlfLst, uint32_t lcbPlfLst,
                           uint32_t fcPlfLfo, uint32_t lcbPlfLfo);

}  // namespace qm
