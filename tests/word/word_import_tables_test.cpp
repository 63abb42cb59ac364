// The building blocks that damaged files press hardest: overlapping position tables, property
// lists with codes the program does not know, and the character set.
#include <gtest/gtest.h>

#include <random>

#include "base/cp1252.h"
#include "word/interval_index.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

// The answer of a scan over the table in order, as the file format's readers define it.
int32_t ScanFor(const std::vector<TInterval>& table, int64_t pos, bool lastWins) {
    int32_t found = -1;
    for (size_t i = 0; i < table.size(); ++i) {
        if (pos >= table[i].Start && pos < table[i].End) {
            found = static_cast<int32_t>(i);
            if (!lastWins) break;
        }
    }
    return found;
}

TEST(WordImportTables, IntervalIndexAnswersAsAScanInTableOrder) {
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> position(0, 200);
    for (int round = 0; round < 200; ++round) {
        std::vector<TInterval> table;
        const int count = round % 12;
        for (int i = 0; i < count; ++i)
            table.push_back({position(random), position(random)});
        for (bool lastWins : {false, true}) {
            const TIntervalIndex index(
                table, lastWins ? TIntervalIndex::TWinner::Last : TIntervalIndex::TWinner::First);
            for (int64_t pos = -2; pos <= 202; ++pos) {
                ASSERT_EQ(index.Find(pos), ScanFor(table, pos, lastWins)) << round << " " << pos;
            }
            // Backwards too: the remembered segment must not answer for the wrong place.
            for (int64_t pos = 202; pos >= -2; pos -= 3) {
                ASSERT_EQ(index.Find(pos), ScanFor(table, pos, lastWins)) << round << " " << pos;
            }
        }
    }
}

// The Windows-1252 code of a UTF-16 unit, '?' where the code page has none.
uint8_t Cp1252FromUtf16(uint16_t unit) {
    uint8_t code = 0;
    Cp1252FromUnicode(unit, code);
    return code;
}

TEST(WordImportTables, Windows1252TakesEveryCharacterItHas) {
    for (uint16_t code = 0x80; code <= 0x9F; ++code) {
        // What Windows-1252 puts at 0x80..0x9F, as UTF-16; 0 where it leaves a hole.
        static constexpr uint16_t kUnits[32] = {
            0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
            0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
        const uint16_t unit = kUnits[code - 0x80];
        if (unit != 0) {
            EXPECT_EQ(Cp1252FromUtf16(unit), code) << std::hex << unit;
        }
        // C1 controls are '?', but for the five codes the code page leaves undefined: those keep
        // their value, as an 8-bit text's byte does.
        EXPECT_EQ(Cp1252FromUtf16(code), unit != 0 ? '?' : code) << std::hex << code;
    }
    for (uint16_t unit = 0x20; unit <= 0xFF; ++unit) {
        if (unit < 0x80 || unit >= 0xA0) {
            EXPECT_EQ(Cp1252FromUtf16(unit), unit);
        }
    }
    EXPECT_EQ(Cp1252FromUtf16(0xFFFF), '?');
    EXPECT_EQ(Cp1252FromUtf16(0x0100), '?');
}

TEST(WordImportTables, UnknownPropertyCodesAreSkippedByTheirSize) {
    // One unknown code of each size class, then bold: bold must still be found.
    const TSprms unknown = sprm::Raw(0x0801, {0x35}) + sprm::Raw(0x4800, {0x35, 0x08}) +
                           sprm::Raw(0x6800, {1, 2, 3, 4}) + sprm::Raw(0xE800, {1, 2, 3}) +
                           sprm::Raw(0xC800, {3, 0x35, 0x08, 1});
    TWordBuilder b;
    b.Text(u"x", unknown + sprm::Bold()).Paragraph();
    TDocument doc;
    Import(doc, b);
    EXPECT_TRUE(FontOf(doc, FindChar(doc, 'x')).Style & kStyleBold);
}

TEST(WordImportTables, LongRowDefinitionsAndTabListsAreSkippedWhole) {
    // A row definition longer than 255 bytes has a 16-bit size; the old tab change code may
    // give its size by its counts (size byte 255).
    std::vector<uint8_t> row(2 + 259, 0);
    row[0] = 4;  // 260: the operand's 259 bytes plus one
    row[1] = 1;
    const TSprms longRow = sprm::Raw(0xD608, row);
    const TSprms countedTabs = sprm::Raw(0xC615, {255, 1, 0x10, 0, 0x20, 0, 1, 0x30, 0, 0});
    TWordBuilder b;
    b.Para(u"a", longRow + sprm::IndentLeft(1440));
    b.Para(u"b", countedTabs + sprm::IndentLeft(720));
    TDocument doc;
    Import(doc, b);
    EXPECT_DOUBLE_EQ(doc.Fields[0].Lines[0].Para.LeftIndent, TwipsToMm(1440));
    EXPECT_DOUBLE_EQ(doc.Fields[0].Lines[1].Para.LeftIndent, TwipsToMm(720));
}

TEST(WordImportTables, APropertyListCutShortEndsWithoutReadingPastIt) {
    TWordBuilder b;
    // The hps operand lacks its second byte; the list ends there.
    b.Text(u"x", sprm::Bold() + TSprms{0x43, 0x4A, 0x30}).Paragraph();
    TDocument doc;
    Import(doc, b);
    const TFontRec& font = FontOf(doc, FindChar(doc, 'x'));
    EXPECT_TRUE(font.Style & kStyleBold);
    EXPECT_EQ(font.Size, 10.0);
}

TEST(WordImportTables, DamagedPropertyPagesAreSkipped) {
    TWordBuilder b;
    b.Text(u"bold", sprm::Bold()).Paragraph(sprm::Justify(2));
    TWordStreams streams = b.BuildStreams();
    // Point both bin tables' pages far beyond the main stream.
    for (size_t fibOffset : {0xFAu, 0x102u}) {
        const uint32_t fc =
            streams.WordDocument[fibOffset] | (streams.WordDocument[fibOffset + 1] << 8);
        PutU32(streams.Table, fc + 8, 0x3FFFFF);
    }
    TDocument doc;
    EXPECT_TRUE(ImportStreams(doc, streams).Converted);
    EXPECT_EQ(FieldText(doc, 0), "bold\n");
    EXPECT_FALSE(FontOf(doc, FindChar(doc, 'b')).Style & kStyleBold);
}

}  // namespace
}  // namespace qm::testing
