// The font table: face names with the family class each FFN's FFID gives, and entries cut short.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/font.h"
#include "word/font_table.h"

namespace qm {
namespace {

constexpr uint32_t kTableAt = 6;  // where the table starts in the stream

// An FFN of the given FFID, name (ASCII) and chs, of its natural size: 40 bytes of header, the
// name and its terminating 0.
std::vector<uint8_t> Ffn(uint8_t ffid, const std::string& name, uint8_t charset = 0) {
    std::vector<uint8_t> ffn(40, 0);
    ffn[1] = ffid;
    ffn[4] = charset;
    for (char c : name) {
        ffn.push_back(static_cast<uint8_t>(c));
        ffn.push_back(0);
    }
    ffn.push_back(0);
    ffn.push_back(0);
    ffn[0] = static_cast<uint8_t>(ffn.size() - 1);
    return ffn;
}

std::vector<uint8_t> Table(uint16_t count, const std::vector<std::vector<uint8_t>>& entries) {
    std::vector<uint8_t> stream(kTableAt, 0xEE);
    stream.push_back(static_cast<uint8_t>(count));
    stream.push_back(static_cast<uint8_t>(count >> 8));
    stream.push_back(0);
    stream.push_back(0);
    for (const auto& entry : entries)
        stream.insert(stream.end(), entry.begin(), entry.end());
    return stream;
}

TEST(FontTable, TheFfidGivesEachFaceItsFamilyClass) {
    const auto stream =
        Table(8, {Ffn(0x12, "Garamond"), Ffn(0x22, "Verdana"), Ffn(0x31, "Lucida Console"),
                  Ffn(0x21, "Fixed Sans"), Ffn(0x72, "Odd"), Ffn(0x56, "Wingdings"),
                  Ffn(0x31, "MS Mincho", 128), Ffn(0x12, "Greek Serif", 161)});
    const std::vector<TFontTableEntry> expected = {
        {"Garamond", kFamilyRoman},
        {"Verdana", kFamilySwiss},
        {"Lucida Console", kFamilyModern},
        {"Fixed Sans", kFamilyModern},  // fixed pitch whatever the family says
        {"Odd", kFamilyUnknown},        // ff 7 is no family
        {"Wingdings", kFamilyDecorative},
        {"MS Mincho", kFamilyUnknown},  // an East Asian face's pitch is its ideographs'
        {"Greek Serif", kFamilyRoman},
    };
    EXPECT_EQ(ReadFontTable(stream, kTableAt), expected);
}

TEST(FontTable, EntriesCutShortKeepWhatTheyHold) {
    // An entry of its size byte alone has neither FFID nor name; one that ends inside its
    // header before its chs has a class but no name; the last claims more bytes than the stream
    // holds.
    std::vector<uint8_t> sizeOnly = {0};
    std::vector<uint8_t> headerOnly = {3, 0x12, 0x90, 0x01};
    const std::vector<uint8_t> whole = Ffn(0x22, "Cut Off");
    const std::vector<uint8_t> cut(whole.begin(), whole.end() - 6);
    const auto stream = Table(4, {sizeOnly, headerOnly, Ffn(0x12, "Whole"), cut});
    const std::vector<TFontTableEntry> expected = {
        {"", kFamilyUnknown},
        {"", kFamilyRoman},
        {"Whole", kFamilyRoman},
    };
    EXPECT_EQ(ReadFontTable(stream, kTableAt), expected);
    // A count beyond the entries, or a table beyond the stream, reads what is there.
    EXPECT_EQ(ReadFontTable(Table(60000, {Ffn(0x12, "Whole")}), kTableAt).size(), 1u);
    EXPECT_TRUE(ReadFontTable(stream, static_cast<uint32_t>(stream.size())).empty());
}

}  // namespace
}  // namespace qm
