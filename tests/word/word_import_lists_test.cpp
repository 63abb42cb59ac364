// Lists as the document defines them: the list tables give each list paragraph its label
// (numbers per list and level in the level's format, bullets), its indents and the place where
// its text starts; damaged tables leave the paragraphs to the plain numbering and say so.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/page_walk.h"
#include "model/recording_surface.h"
#include "word/list_numbering.h"
#include "word_import_util.h"

namespace qm::testing {
namespace {

using namespace std::string_literals;

constexpr uint8_t kUpperRoman = 1;
constexpr uint8_t kLowerRoman = 2;
constexpr uint8_t kUpperLetter = 3;
constexpr uint8_t kLowerLetter = 4;
constexpr uint8_t kOrdinal = 5;
constexpr uint8_t kDecimalZero = 22;
constexpr uint8_t kBullet = 23;
constexpr uint8_t kNone = 255;
constexpr uint8_t kLegal = 0x04;
constexpr uint8_t kNoRestart = 0x08;

// A decimal level showing the numbers of levels 0 to depth, "1.2.3.", indented by 360 twips
// per level with a hanging first line of 360.
TWordListLevel OutlineLevel(int depth) {
    TWordListLevel level;
    for (int l = 0; l <= depth; ++l) {
        level.Text += static_cast<char16_t>(l);
        level.Text += u'.';
    }
    const auto left = static_cast<int16_t>(720 + 360 * depth);
    level.Papx = sprm::IndentLeft(left) + sprm::IndentFirst(-360);
    return level;
}

TWordList OutlineList(int32_t lsid) {
    TWordList list;
    list.Lsid = lsid;
    for (int l = 0; l < 9; ++l)
        list.Levels.push_back(OutlineLevel(l));
    return list;
}

TSprms Item(uint16_t ilfo, uint8_t ilvl) {
    return sprm::ListRef(ilfo) + sprm::ListLevel(ilvl);
}

std::string Utf8(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += "<" + std::to_string(static_cast<uint32_t>(c)) + ">";
        }
    }
    return out;
}

// The labels of the main text's lines ("-" for a line without one given by the importer).
std::vector<std::string> Labels(const TDocument& doc) {
    std::vector<std::string> labels;
    for (const TLineRec& line : doc.Fields[0].Lines) {
        if (line.Chars.empty() && line.Para.ListKind == 0) continue;
        labels.push_back(line.Para.ListKind == 3 ? Utf8(line.Para.ListLabel) : "-");
    }
    return labels;
}

// The x of every text run drawn on the first PDF page, with its text.
std::vector<std::pair<std::string, int32_t>> DrawnRuns(const TDocument& doc) {
    test::TRecordingSurface surface;
    TPageWalk(doc, surface, PdfGeometry(doc)).DrawPageFields(0);
    std::vector<std::pair<std::string, int32_t>> runs;
    for (const std::string& call : surface.Only("text")) {
        const size_t atStart = call.find(' ') + 1;
        const size_t labelStart = call.find(' ', atStart) + 1;
        const std::string at = call.substr(atStart, labelStart - 1 - atStart);
        runs.emplace_back(call.substr(labelStart, call.rfind(" u") - labelStart),
                          std::stoi(at.substr(0, at.find(','))));
    }
    return runs;
}

TEST(WordImportLists, LevelsCountInDocumentOrderAndRestartBelowAHigherLevel) {
    TWordBuilder b;
    b.List(OutlineList(7)).ListOverride({7, {}});
    b.Para(u"one", Item(1, 0));
    b.Para(u"one one", Item(1, 1));
    b.Para(u"one two", Item(1, 1));
    b.Para(u"one two one", Item(1, 2));
    b.Para(u"between");
    b.Para(u"two", Item(1, 0));
    b.Para(u"two one", Item(1, 1));
    b.Para(u"", Item(1, 1));  // an empty list paragraph is counted and labelled too
    b.Para(u"two three", Item(1, 1));
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"1.", "1.1.", "1.2.", "1.2.1.", "-", "2.",
                                                     "2.1.", "2.2.", "2.3."}));
}

TEST(WordImportLists, ALevelWithARestartLimitRestartsOnlyAfterTheLevelsAboveIt) {
    TWordList list = OutlineList(8);
    list.Levels[2].Flags = kNoRestart;
    list.Levels[2].RestartLim = 1;  // restarts after level 0, not after level 1
    TWordBuilder b;
    b.List(list).ListOverride({8, {}});
    for (const uint8_t level : {0, 1, 2, 1, 2, 0, 1, 2})
        b.Para(u"x", Item(1, level));
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"1.", "1.1.", "1.1.1.", "1.2.", "1.2.2.", "2.",
                                                     "2.1.", "2.1.1."}));
}

TEST(WordImportLists, TheLevelsIndentsLieBeneathTheParagraphsOwnAndTheTextStartsAfterTheLabel) {
    TWordBuilder b;
    b.List(OutlineList(1)).ListOverride({1, {}});
    b.Para(u"Alpha", Item(1, 0));
    b.Para(u"Beta", Item(1, 0) + sprm::IndentLeft(1440));
    TWordListLevel spaced = OutlineLevel(0);
    spaced.Follow = 1;
    b.List({2, true, {spaced}}).ListOverride({2, {}});
    b.Para(u"Gamma", Item(2, 0));
    // Later Word versions' indent codes, in the level and in the paragraph.
    TWordListLevel later;
    later.Text = u"\x0000."s;
    later.Papx = sprm::Op16(0x845E, 1080) + sprm::Op16(0x8460, static_cast<uint16_t>(-540));
    b.List({3, true, {later}}).ListOverride({3, {}});
    b.Para(u"Delta", Item(3, 0));
    b.Para(u"Epsilon", Item(3, 0) + sprm::Op16(0x845E, 2160));
    TDocument doc;
    ASSERT_TRUE(ImportWordBytes(doc, b.Build(), nullptr, nullptr).Converted);
    const auto& lines = doc.Fields[0].Lines;
    ASSERT_GE(lines.size(), 5u);
    EXPECT_NEAR(lines[3].Para.LeftIndent, TwipsToMm(1080), 1e-9);
    EXPECT_NEAR(lines[3].Para.FirstLineIndent, TwipsToMm(-540), 1e-9);
    EXPECT_NEAR(lines[4].Para.LeftIndent, TwipsToMm(2160), 1e-9);
    EXPECT_NEAR(lines[0].Para.LeftIndent, TwipsToMm(720), 1e-9);
    EXPECT_NEAR(lines[0].Para.FirstLineIndent, TwipsToMm(-360), 1e-9);
    EXPECT_NEAR(lines[1].Para.LeftIndent, TwipsToMm(1440), 1e-9);
    EXPECT_NEAR(lines[1].Para.FirstLineIndent, TwipsToMm(-360), 1e-9);

    const auto runs = DrawnRuns(doc);
    ASSERT_GE(runs.size(), 13u);
    // Label at the first line's indent (360 twips = 18 pt), text at the hanging indent's tab
    // (720 twips = 36 pt).
    EXPECT_EQ(runs[0].first, "1.");
    EXPECT_EQ(runs[1].first, "A");
    EXPECT_NEAR(runs[1].second - runs[0].second, 18, 1);
    // The paragraph's own left indent wins: the label stands 36 pt further right, the text
    // after it at the new left indent.
    EXPECT_EQ(runs[6].first, "2.");
    EXPECT_NEAR(runs[6].second - runs[0].second, 36, 1);
    EXPECT_NEAR(runs[7].second - runs[6].second, 18, 1);
    // A space follower: the text starts one space after the label, well before the tab stop.
    EXPECT_EQ(runs[11].first, "1.");
    EXPECT_EQ(runs[12].first, "G");
    EXPECT_LT(runs[12].second - runs[11].second, 18);
    EXPECT_GT(runs[12].second - runs[11].second, 0);
}

TEST(WordImportLists, ARightAlignedNumberEndsAtTheIndent) {
    TWordBuilder b;
    TWordListLevel left = OutlineLevel(0);
    left.Text = u"(\x0000)"s;
    TWordListLevel right = left;
    right.Flags = 2;
    b.List({1, true, {left}}).List({2, true, {right}});
    b.ListOverride({1, {}}).ListOverride({2, {}});
    b.Para(u"A", sprm::ListRef(1));
    b.Para(u"B", sprm::ListRef(2));
    TDocument doc;
    ASSERT_TRUE(ImportWordBytes(doc, b.Build(), nullptr, nullptr).Converted);
    const auto runs = DrawnRuns(doc);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].first, "(1)");
    EXPECT_EQ(runs[2].first, "(1)");
    // The label moves left by its width, about three characters; the text stays at the tab.
    EXPECT_LT(runs[2].second, runs[0].second - 6);
    EXPECT_EQ(runs[3].second, runs[1].second);
}

TEST(WordImportLists, NumberFormatsShowTheNumbersOfTheLevelsTheTextNames) {
    TWordList list{3, false, {}};
    list.Levels.push_back({1, kUpperRoman, 0, 0, 0, {}, {}, u"\x0000."s});
    list.Levels.push_back({1, kLowerLetter, 0, 0, 0, {}, {}, u"\x0000.\x0001)"s});
    list.Levels.push_back({1, kLowerRoman, 0, 0, 0, {}, {}, u"(\x0002)"});
    // Legal numbering shows every level decimal, its own decimal-zero format too.
    list.Levels.push_back({1, kDecimalZero, kLegal, 0, 0, {}, {}, u"\x0000.\x0001.\x0002.\x0003"s});
    list.Levels.push_back({1, kNone, 0, 0, 0, {}, {}, u""});
    TWordBuilder b;
    b.List(list).ListOverride({3, {}});
    for (int i = 0; i < 4; ++i)
        b.Para(u"x", Item(1, 0));
    for (int i = 0; i < 2; ++i)
        b.Para(u"x", Item(1, 1));
    for (int i = 0; i < 3; ++i)
        b.Para(u"x", Item(1, 2));
    b.Para(u"x", Item(1, 3));
    b.Para(u"x", Item(1, 4));
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"I.", "II.", "III.", "IV.", "IV.a)", "IV.b)",
                                                     "(i)", "(ii)", "(iii)", "4.2.3.1", ""}));

    // The formats past the small numbers.
    EXPECT_EQ(FormatListNumber(1999, kUpperRoman), U"MCMXCIX");
    EXPECT_EQ(FormatListNumber(4000, kUpperRoman), U"4000");  // past the roman numbers
    EXPECT_EQ(FormatListNumber(0, kLowerRoman), U"0");
    EXPECT_EQ(FormatListNumber(28, kUpperLetter), U"BB");
    EXPECT_EQ(FormatListNumber(INT32_MAX, kLowerLetter).size(), 32u);  // bounded repeats
    EXPECT_EQ(FormatListNumber(1, kOrdinal), U"1st");
    EXPECT_EQ(FormatListNumber(12, kOrdinal), U"12th");
    EXPECT_EQ(FormatListNumber(23, kOrdinal), U"23rd");
    EXPECT_EQ(FormatListNumber(7, kDecimalZero), U"07");
    EXPECT_EQ(FormatListNumber(12, kDecimalZero), U"12");
    EXPECT_EQ(FormatListNumber(-3, 0), U"-3");
    EXPECT_EQ(FormatListNumber(3, 60), U"3");  // a format not known shows decimal
}

TEST(WordImportLists, StartValuesComeFromTheLevelOrTheOverrideWhichStartsTheListAgain) {
    TWordList list = OutlineList(5);
    list.Levels[0].StartAt = 3;
    // Level 1 keeps counting across level 0 (the old flag without a restart limit).
    list.Levels[1].Flags = kNoRestart;
    TWordListLevel parenthesised = OutlineLevel(0);
    parenthesised.Text = u"(\x0000)"s;
    TWordBuilder b;
    b.List(list).ListOverride({5, {}});
    b.ListOverride({5, {{0, 10, std::nullopt}}});
    b.ListOverride({5, {{0, std::nullopt, parenthesised}}});
    b.ListOverride({99, {}});  // names a list that does not exist
    b.Para(u"x", Item(1, 0));
    b.Para(u"x", Item(1, 1));
    b.Para(u"x", Item(1, 0));
    b.Para(u"x", Item(1, 1));
    b.Para(u"x", Item(2, 0));
    b.Para(u"x", Item(2, 0));
    b.Para(u"x", Item(3, 0));
    b.Para(u"x", Item(1, 0));
    b.Para(u"x", Item(4, 0));
    b.Para(u"x", Item(9, 0));  // no such override
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"3.", "3.1.", "4.", "4.2.", "10.", "11.",
                                                     "(12)", "13.", "-", "-"}));
    // Paragraphs whose list cannot be found keep the layout's own numbering.
    EXPECT_EQ(doc.Fields[0].Lines[8].Para.ListKind, 2);
    EXPECT_EQ(doc.Fields[0].Lines[9].Para.ListKind, 2);
}

TEST(WordImportLists, ABulletIsTheLevelsSymbolCharacterInTheLevelsFont) {
    TWordBuilder b;
    b.Font("Times New Roman").Font("Symbol");
    TWordListLevel bullet;
    bullet.Nfc = kBullet;
    bullet.Text = u"\xF0B7";
    bullet.Chpx = sprm::FontNumber(1);
    bullet.Papx = sprm::IndentLeft(720) + sprm::IndentFirst(-360);
    b.List({4, true, {bullet}}).ListOverride({4, {}});
    b.Para(u"Apples", sprm::ListRef(1));
    b.Para(u"Pears", sprm::ListRef(1));
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"<61623>", "<61623>"}));
    const TParaFormat& para = doc.Fields[0].Lines[0].Para;
    ASSERT_GE(para.ListFont, 0);
    EXPECT_EQ(doc.Fonts[para.ListFont].Name, "Symbol");
    EXPECT_EQ(doc.Fonts[doc.Fields[0].Lines[0].Chars[0].FontIndex].Name, "Times New Roman");
}

TEST(WordImportLists, TheLabelIsFormattedAsTheParagraphMark) {
    TWordBuilder b;
    b.List(OutlineList(1)).ListOverride({1, {}});
    b.Text(u"Bold text", sprm::Bold()).Paragraph(Item(1, 0));
    b.Text(u"Plain text").Paragraph(Item(1, 0), 0, sprm::Italic());
    TDocument doc;
    ASSERT_TRUE(Import(doc, b).Converted);
    const auto& lines = doc.Fields[0].Lines;
    ASSERT_GE(lines.size(), 2u);
    const auto style = [&](int32_t font) { return doc.Fonts.at(font).Style & 3; };
    EXPECT_EQ(style(lines[0].Chars[0].FontIndex), 1);
    EXPECT_EQ(style(lines[0].Para.ListFont), 0);
    EXPECT_EQ(style(lines[1].Chars[0].FontIndex), 0);
    EXPECT_EQ(style(lines[1].Para.ListFont), 2);
}

TEST(WordImportLists, DamagedListTablesGiveANoticeAndLeaveTheParagraphsToThePlainNumbering) {
    TWordBuilder b;
    b.List(OutlineList(1)).ListOverride({1, {}});
    b.Para(u"x", Item(1, 0));
    b.Para(u"y", Item(1, 0));
    const TWordStreams sound = b.BuildStreams();
    const auto fcAt = [&](size_t offset) {
        const auto& f = sound.WordDocument;
        return f[offset] | f[offset + 1] << 8 | f[offset + 2] << 16 | f[offset + 3] << 24;
    };
    const size_t fcPlfLst = fcAt(0x2E2);
    const size_t fcPlfLfo = fcAt(0x2EA);

    std::vector<TWordStreams> damaged(4, sound);
    damaged[0].Table.resize(fcPlfLst + 2 + 28 + 100);    // cut inside the first list's levels
    PutU16(damaged[1].Table, fcPlfLst, 0x7FFF);          // more lists than the table holds
    PutU32(damaged[2].Table, fcPlfLfo, 0xFFFFFFFF);      // more overrides than the table holds
    PutU32(damaged[3].WordDocument, 0x2E2, 0xFFFFFFF0);  // the list table outside the stream
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        TDocument doc;
        const TImportResult result = ImportStreams(doc, damaged[i]);
        ASSERT_TRUE(result.Converted);
        ASSERT_EQ(result.Notices.Items().size(), 1u);
        EXPECT_EQ(result.Notices.Items()[0].Sentence(),
                  "1 list table was read only in part: list paragraphs whose list was lost are "
                  "numbered 1., 2., ... in order.");
        EXPECT_EQ(doc.Fields[0].Lines[0].Para.ListKind, 2);
    }
    TDocument doc;
    EXPECT_TRUE(ImportStreams(doc, sound).Notices.Items().empty());
    EXPECT_EQ(Labels(doc), (std::vector<std::string>{"1.", "2."}));
}

}  // namespace
}  // namespace qm::testing
