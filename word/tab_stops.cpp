#include "word/tab_stops.h"

#include <algorithm>
#include <vector>

#include "base/byte_reader.h"

namespace qm {

namespace {

constexpr size_t kMaxTabs = 64;

struct TTab {
    int16_t Pos;
    uint8_t Descriptor;
};

std::vector<TTab> LoadTabs(const TPap& pap) {
    std::vector<TTab> tabs;
    const int count = std::clamp<int>(pap.ItbdMac, 0, kMaxTabs);
    for (int i = 0; i < count; ++i)
        tabs.push_back({pap.RgdxaTab[i], pap.Rgtbd[i]});
    return tabs;
}

void StoreTabs(TPap& pap, const std::vector<TTab>& tabs) {
    pap.ItbdMac = static_cast<int16_t>(tabs.size());
    for (size_t i = 0; i < tabs.size(); ++i) {
        pap.RgdxaTab[i] = tabs[i].Pos;
        pap.Rgtbd[i] = tabs[i].Descriptor;
    }
}

void DeleteTab(std::vector<TTab>& tabs, int16_t pos) {
    for (size_t i = tabs.size(); i-- > 0;) {
        if (tabs[i].Pos == pos) {
            tabs.erase(tabs.begin() + static_cast<ptrdiff_t>(i));
            return;
        }
    }
}

void AddTab(std::vector<TTab>& tabs, TTab tab) {
    for (TTab& existing : tabs) {
        if (existing.Pos == tab.Pos) {
            existing.Descriptor = tab.Descriptor;
            return;
        }
    }
    if (tabs.size() >= kMaxTabs) return;
    auto at =
        std::find_if(tabs.begin(), tabs.end(), [&](const TTab& t) { return t.Pos > tab.Pos; });
    tabs.insert(at, tab);
}

}  // namespace

void ChangeTabs(TPap& pap, std::span<const uint8_t> operand) {
    ByteReader r(operand);
    std::vector<TTab> tabs = LoadTabs(pap);
    uint8_t deleteCount = 0;
    r.U8(deleteCount);
    for (int i = 0; i < deleteCount; ++i) {
        int16_t pos = 0;
        if (!r.I16(pos)) break;
        DeleteTab(tabs, pos);
    }
    uint8_t addCount = 0;
    r.U8(addCount);
    const size_t positions = r.Pos();
    for (int i = 0; i < addCount; ++i) {
        int16_t pos = 0;
        uint8_t descriptor = 0;
        r.Seek(positions + 2 * i);
        if (!r.I16(pos)) break;
        r.Seek(positions + 2 * addCount + i);
        if (!r.U8(descriptor)) break;
        AddTab(tabs, {pos, descriptor});
    }
    StoreTabs(pap, tabs);
}

}  // namespace qm
