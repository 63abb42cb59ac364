// A bulleted and a numbered list through the command line: the PDF's text holds each label
// before its item, the Symbol font's private-use bullet as the bullet it means.
#include <gtest/gtest.h>

#include <string>

#include "builder/word_builder.h"
#include "convert/convert_util.h"

namespace qm {
namespace {

using namespace std::string_literals;
using test::RunCommand;
using test::ShellQuote;
using test::TTempDir;

TEST(ListsEndToEnd, LabelsReachThePdfTextBulletsAsTheirMeaning) {
    if (!test::ToolAvailable("pdftotext")) GTEST_SKIP() << "pdftotext is not installed";
    TWordBuilder b;
    b.Font("Times New Roman").Font("Symbol");
    TWordListLevel bullet;
    bullet.Nfc = 23;
    bullet.Text = u"\xF0B7";
    bullet.Chpx = sprm::FontNumber(1);
    bullet.Papx = sprm::IndentLeft(720) + sprm::IndentFirst(-360);
    TWordListLevel number;
    number.Text = u"\x0000."s;
    number.Papx = bullet.Papx;
    number.Follow = 1;
    b.List({1, true, {bullet}}).List({2, true, {number}});
    b.ListOverride({1, {}}).ListOverride({2, {}});
    b.Para(u"Apples", sprm::ListRef(1));
    b.Para(u"Pears", sprm::ListRef(1));
    b.Para(u"First", sprm::ListRef(2));
    b.Para(u"Second", sprm::ListRef(2));
    TTempDir dir;
    test::WriteFile(dir / "lists.doc", b.Build());
    const std::string pdf = dir / "lists.pdf";
    ASSERT_EQ(RunCommand(std::string(QM_CONVERT_BIN) + " -q -o " + ShellQuote(pdf) + " " +
                         ShellQuote(dir / "lists.doc"))
                  .ExitCode,
              0);
    const test::TRunResult text = RunCommand("pdftotext -enc UTF-8 " + ShellQuote(pdf) + " -");
    ASSERT_EQ(text.ExitCode, 0);
    const std::string& out = text.Output;
    EXPECT_NE(out.find("\u2022"), std::string::npos) << out;
    EXPECT_EQ(out.find("\uF0B7"), std::string::npos) << out;
    const size_t first = out.find("1. First");
    EXPECT_NE(first, std::string::npos) << out;
    EXPECT_LT(out.find("Apples"), first);
    EXPECT_NE(out.find("2. Second"), std::string::npos) << out;
}

}  // namespace
}  // namespace qm
