#include "model/records.h"

namespace qm {

void SetStandardCellDesign(TCellDesign& design) { design = TCellDesign{}; }

void SettingOps(uint16_t& word, int bit, bool on) {
    const auto mask = static_cast<uint16_t>(1u << bit);
    word = on ? static_cast<uint16_t>(word | mask) : static_cast<uint16_t>(word & ~mask);
}

bool GettingOps(uint16_t word, int bit) { return (word >> bit) & 1u; }

void SettingOpsB(uint8_t& byte, int bit, bool on) {
    const auto mask = static_cast<uint8_t>(1u << bit);
    byte = on ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
}

bool GettingOpsB(uint8_t byte, int bit) { return (byte >> bit) & 1u; }

void SetPCharText(std::string& slot, std::string_view text) { slot.assign(text); }

}  // namespace qm
