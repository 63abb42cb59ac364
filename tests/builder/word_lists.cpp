// The list tables of the builder's documents: PlfLst (LSTFs, then every list's LVLs) and
// PlfLfo (LFOs, then each one's LFOData with its LFOLVLs).
#include "builder/byte_put.h"
#include "builder/word_builder.h"

namespace qm {

namespace {

void PutLevel(std::vector<uint8_t>& out, const TWordListLevel& level) {
    Put32(out, static_cast<uint32_t>(level.StartAt));
    Put8(out, level.Nfc);
    Put8(out, level.Flags);
    // rgbxchNums: where the placeholders stand in the number text, 1-based.
    uint8_t found = 0;
    for (size_t i = 0; i < level.Text.size() && found < 9; ++i) {
        if (level.Text[i] < 9) {
            Put8(out, static_cast<uint8_t>(i + 1));
            ++found;
        }
    }
    for (; found < 9; ++found)
        Put8(out, 0);
    Put8(out, level.Follow);
    Put32(out, 0);  // dxaIndentSav
    Put32(out, 0);
    Put8(out, static_cast<uint8_t>(level.Chpx.size()));
    Put8(out, static_cast<uint8_t>(level.Papx.size()));
    Put8(out, level.RestartLim);
    Put8(out, 0);  // grfhic
    out.insert(out.end(), level.Papx.begin(), level.Papx.end());
    out.insert(out.end(), level.Chpx.begin(), level.Chpx.end());
    Put16(out, static_cast<uint16_t>(level.Text.size()));
    for (char16_t c : level.Text)
        Put16(out, c);
}

}  // namespace

std::vector<uint8_t> ListTableBytes(const std::vector<TWordList>& lists) {
    std::vector<uint8_t> out;
    Put16(out, static_cast<uint16_t>(lists.size()));
    for (const TWordList& list : lists) {
        Put32(out, static_cast<uint32_t>(list.Lsid));
        Put32(out, 0);  // tplc
        for (int i = 0; i < 9; ++i)
            Put16(out, 0x0FFF);  // rgistdPara: no styles
        Put8(out, list.Simple ? 1 : 0);
        Put8(out, 0);
    }
    for (const TWordList& list : lists) {
        const size_t levels = list.Simple ? 1 : 9;
        for (size_t l = 0; l < levels; ++l)
            PutLevel(out, l < list.Levels.size() ? list.Levels[l] : TWordListLevel{});
    }
    return out;
}

std::vector<uint8_t> ListOverrideBytes(const std::vector<TWordListOverride>& overrides) {
    std::vector<uint8_t> out;
    Put32(out, static_cast<uint32_t>(overrides.size()));
    for (const TWordListOverride& over : overrides) {
        Put32(out, static_cast<uint32_t>(over.Lsid));
        Put32(out, 0);
        Put32(out, 0);
        Put8(out, static_cast<uint8_t>(over.Levels.size()));
        Put8(out, 0);
        Put8(out, 0);
        Put8(out, 0);
    }
    for (const TWordListOverride& over : overrides) {
        Put32(out, 0xFFFFFFFF);  // the LFOData's cp
        for (const TWordLevelOverride& level : over.Levels) {
            Put32(out, static_cast<uint32_t>(level.StartAt.value_or(0)));
            Put8(out, static_cast<uint8_t>((level.Level & 0x0F) | (level.StartAt ? 0x10 : 0) |
                                           (level.Format ? 0x20 : 0)));
            Put8(out, 0);
            Put16(out, 0);
            if (level.Format) PutLevel(out, *level.Format);
        }
    }
    return out;
}

}  // namespace qm
