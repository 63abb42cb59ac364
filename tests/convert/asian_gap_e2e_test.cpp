// Where Chinese text meets a digit or a Latin letter, a paragraph that keeps Word's automatic
// spacing (sprmPFAutoSpaceDN, sprmPFAutoSpaceDE) gets a gap of a fifth of an em there; one that
// turns it off does not. Through the command line: the gap is in the PDF's glyph positions, and
// pdftotext reads it as a space.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "builder/word_builder.h"
#include "convert/convert_util.h"

namespace qm {
namespace {

using test::RunCommand;
using test::ShellQuote;
using test::TTempDir;

struct TWord {
    double XMin = 0;
    double XMax = 0;
    double YMin = 0;
    std::string Text;
};

// The words of pdftotext's bounding-box output, in reading order.
std::vector<TWord> Words(const std::string& html) {
    static const std::regex kWord(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" )re"
                                  R"re(yMax="[0-9.]+">([^<]*)</word>)re");
    std::vector<TWord> words;
    for (std::sregex_iterator it(html.begin(), html.end(), kWord), end; it != end; ++it) {
        const std::smatch& m = *it;
        words.push_back({std::stod(m[1]), std::stod(m[3]), std::stod(m[2]), m[4]});
    }
    return words;
}

TEST(AsianGap, ChineseBesideDigitsAndLettersStandsApartUnlessTheParagraphSaysNo) {
    if (!test::ToolAvailable("pdftotext")) GTEST_SKIP() << "pdftotext is not installed";
    // 20 points: a gap of 4 points, well apart from the whole-point rounding of positions.
    const TSprms big = sprm::Size(40);
    TWordBuilder b;
    b.Wide(true);
    b.Text(u"\u4E2D\u65871\u6587", big).Paragraph();
    b.Text(u"\u4E2D\u65871\u6587", big).Paragraph(sprm::AsianDigitSpace(0));
    b.Text(u"\u4E2D\u6587abc", big).Paragraph();
    b.Text(u"\u4E2D\u6587abc", big).Paragraph(sprm::AsianLatinSpace(0));
    // Each flag keeps to its own kind of neighbour.
    b.Text(u"\u4E2D\u6587abc", big).Paragraph(sprm::AsianDigitSpace(0));
    b.Text(u"abc 123", big).Paragraph();
    TTempDir dir;
    test::WriteFile(dir / "gap.doc", b.Build());
    const std::string pdf = dir / "gap.pdf";
    ASSERT_EQ(RunCommand(std::string(QM_CONVERT_BIN) + " -q -o " + ShellQuote(pdf) + " " +
                         ShellQuote(dir / "gap.doc"))
                  .ExitCode,
              0);
    const test::TRunResult box = RunCommand("pdftotext -bbox -enc UTF-8 " + ShellQuote(pdf) + " -");
    ASSERT_EQ(box.ExitCode, 0);
    const std::vector<TWord> words = Words(box.Output);
    std::vector<std::string> texts;
    for (const TWord& w : words)
        texts.push_back(w.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"中文", "1", "文", "中文1文", "中文", "abc",
                                               "中文abc", "中文", "abc", "abc", "123"}));
    ASSERT_EQ(words.size(), 11u);
    // The gaps on either side of the digit and before the letters: a fifth of 20 points, give
    // or take the rounding of positions to whole points.
    for (const auto& [before, after] : {std::pair{0, 1}, {1, 2}, {4, 5}}) {
        EXPECT_NEAR(words[after].XMin - words[before].XMax, 4.0, 1.01) << words[after].Text;
    }
    // The paragraph without the gap is narrower by the two gaps.
    const double spaced = words[2].XMax - words[0].XMin;
    const double tight = words[3].XMax - words[3].XMin;
    EXPECT_NEAR(spaced - tight, 8.0, 1.01);
}

}  // namespace
}  // namespace qm
