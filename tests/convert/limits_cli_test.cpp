// A document over one of the converter's limits is refused on the command line with the
// limit as its reason, and no PDF is written.
#include <gtest/gtest.h>

#include <filesystem>

#include "builder/picture_builder.h"
#include "builder/wmf_writer.h"
#include "builder/word_builder.h"
#include "convert/convert_util.h"
#include "model/layout.h"

namespace qm {
namespace {

TEST(LimitsCli, ADocumentOfTooManyPagesIsRefusedWithTheReason) {
    test::TTempDir dir;
    TWordBuilder builder;
    std::u16string text;
    for (int32_t i = 0; i < kMaxPages; ++i)
        text += u"p\f";
    builder.Text(text).Para(u"the page too many");
    const std::string input = dir / "long.doc";
    test::WriteFile(input, builder.Build());
    const auto run = test::RunCommand(std::string(QM_CONVERT_BIN) + " --json " +
                                      test::ShellQuote(input) + " 2>/dev/null");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Output.find("\"status\":\"refused\""), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("\"reason\":\"The document has more than 10000 pages.\""),
              std::string::npos)
        << run.Output;
    EXPECT_FALSE(std::filesystem::exists(dir / "long.pdf"));
}

TEST(LimitsCli, PicturesLeftOutAreNamedAfterTheConversion) {
    test::TTempDir dir;
    TStoredPicture huge;
    huge.Kind = TStoredKind::Metafile;
    huge.Bytes = TWmfWriter().Rectangle({0, 0, 10, 10}).Bytes();
    huge.Bounds = {0, 0, 100000, 100000};  // beyond any metafile's frame
    TWordBuilder builder;
    builder.Text(u"before ").Picture(StorePicture(huge)).Text(u" after").Paragraph();
    const std::string input = dir / "picture.doc";
    test::WriteFile(input, builder.Build());
    const std::string notice = "1 picture was left out: damaged, too large, or of a kind not read.";
    const auto plain =
        test::RunCommand(std::string(QM_CONVERT_BIN) + " " + test::ShellQuote(input) + " 2>&1");
    EXPECT_EQ(plain.ExitCode, 0);
    EXPECT_NE(plain.Output.find(input + ": " + notice), std::string::npos) << plain.Output;
    const auto json = test::RunCommand(std::string(QM_CONVERT_BIN) + " --json " +
                                       test::ShellQuote(input) + " 2>/dev/null");
    EXPECT_EQ(json.ExitCode, 0);
    EXPECT_NE(json.Output.find("\"notices\":[\"" + notice + "\"]"), std::string::npos)
        << json.Output;
    const auto quiet =
        test::RunCommand(std::string(QM_CONVERT_BIN) + " -q " + test::ShellQuote(input) + " 2>&1");
    EXPECT_EQ(quiet.Output.find(notice), std::string::npos) << quiet.Output;
}

}  // namespace
}  // namespace qm
