// A document over one of the converter's limits is refused on the command line with the
// limit as its reason, and no PDF is written.
#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
}  // namespace qm
