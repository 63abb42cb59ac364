// Fuzz target: the list tables and the numbering over them. The input is the table stream with,
// in front, four bytes saying where its PlfLfo starts (its PlfLst starts at 0); the numbering
// then counts a paragraph of every override at every level.
#include <cstddef>
#include <cstdint>
#include <span>

#include "word/list_numbering.h"
#include "word/list_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const uint32_t fcPlfLfo = data[0] | data[1] << 8 | data[2] << 16 | uint32_t{data[3]} << 24;
    const std::span<const uint8_t> table(data + 4, size - 4);
    const qm::TListTables tables = qm::ReadListTables(table, 0, 1, fcPlfLfo, 1);
    qm::TListNumbering numbering(tables);
    const size_t overrides = tables.Overrides.size() + 1;
    for (size_t ilfo = 0; ilfo <= overrides && ilfo < 64; ++ilfo) {
        for (uint8_t ilvl = 0; ilvl < 10; ++ilvl)
            numbering.Next(static_cast<uint16_t>(ilfo), ilvl);
    }
    return 0;
}
