#include "builder/property_set.h"

#include "builder/byte_put.h"

namespace qm {

namespace {

constexpr uint8_t kSummaryFmtid[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                       0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};

std::vector<uint8_t> StringValue(const TSummaryString& s) {
    std::vector<uint8_t> v;
    Put16(v, s.IsWide ? 0x1F : 0x1E);
    Put16(v, 0);
    if (s.IsWide) {
        Put32(v, static_cast<uint32_t>(s.Wide.size() + 1));
        for (char16_t c : s.Wide)
            Put16(v, c);
        Put16(v, 0);
    } else {
        Put32(v, static_cast<uint32_t>(s.Bytes.size() + 1));
        for (char c : s.Bytes)
            Put8(v, static_cast<uint8_t>(c));
        Put8(v, 0);
    }
    while (v.size() % 4 != 0)
        Put8(v, 0);
    return v;
}

}  // namespace

std::vector<uint8_t> SummaryInformationStream(std::optional<uint16_t> codePage,
                                              const std::vector<TSummaryString>& strings) {
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> values;
    if (codePage) {
        std::vector<uint8_t> v;
        Put16(v, 2);  // VT_I2
        Put16(v, 0);
        Put16(v, *codePage);
        Put16(v, 0);
        values.emplace_back(1, v);
    }
    for (const TSummaryString& s : strings)
        values.emplace_back(s.Id, StringValue(s));

    std::vector<uint8_t> set;
    const auto indexSize = static_cast<uint32_t>(8 + 8 * values.size());
    uint32_t offset = indexSize;
    std::vector<uint8_t> index;
    std::vector<uint8_t> body;
    for (const auto& [id, value] : values) {
        Put32(index, id);
        Put32(index, offset);
        offset += static_cast<uint32_t>(value.size());
        body.insert(body.end(), value.begin(), value.end());
    }
    Put32(set, offset);
    Put32(set, static_cast<uint32_t>(values.size()));
    set.insert(set.end(), index.begin(), index.end());
    set.insert(set.end(), body.begin(), body.end());

    std::vector<uint8_t> out;
    Put16(out, 0xFFFE);  // byte order
    Put16(out, 0);       // version
    Put32(out, 0x00020005);
    for (int i = 0; i < 16; ++i)
        Put8(out, 0);  // CLSID
    Put32(out, 1);
    for (uint8_t b : kSummaryFmtid)
        Put8(out, b);
    Put32(out, static_cast<uint32_t>(out.size() + 4));
    out.insert(out.end(), set.begin(), set.end());
    return out;
}

}  // namespace qm
