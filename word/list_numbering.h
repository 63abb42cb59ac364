// The numbers of list paragraphs, counted in document order: each list (by its lsid) keeps a
// number per level; a level starts again after a more significant one, and the level's number
// text shows the numbers of the levels it names in their formats.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "word/list_tables.h"

namespace qm {

inline constexpr size_t kListLevels = 9;

struct TListLabel {
    std::u32string Text;
    uint8_t Follow = 0;                 // ixchFollow: 0 tab, 1 space, 2 nothing
    const TListLevel* Level = nullptr;  // the level whose character properties the label takes
};

// A number in one of the number formats (nfc); the formats the program does not know show as
// decimal, 255 shows nothing.
std::u32string FormatListNumber(int32_t number, uint8_t nfc);

class TListNumbering {
  public:
    explicit TListNumbering(const TListTables& tables) : tables_(tables) {}

    // Counts the next paragraph of list ilfo at level ilvl and gives its label; none when the
    // list cannot be found.
    std::optional<TListLabel> Next(uint16_t ilfo, uint8_t ilvl);

  private:
    struct TCounters {
        std::array<int32_t, kListLevels> Number{};
        std::array<bool, kListLevels> Counted{};
    };

    int32_t StartAt(uint16_t ilfo, uint8_t ilvl) const;
    void Count(TCounters& counters, uint16_t ilfo, uint8_t ilvl);
    void RestartBelow(TCounters& counters, uint16_t ilfo, uint8_t ilvl) const;
    std::u32string NumberText(const TCounters& counters, uint16_t ilfo, uint8_t ilvl) const;

    const TListTables& tables_;
    std::map<int32_t, TCounters> counters_;               // per lsid
    std::set<std::pair<uint16_t, uint8_t>> startsTaken_;  // LFO start-at overrides applied
};

}  // namespace qm
