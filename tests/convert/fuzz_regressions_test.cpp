// Inputs the fuzz targets found troublesome (tests/fuzz/regressions): each is converted whole,
// into memory, and must end converted or refused without a sanitizer report.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/conversion_session.h"

namespace qm {
namespace {

class TNoProgress : public TProgressSink {
  public:
    void SetProStatus(int) override {}
};

class TLastMessage : public TMessageSink {
  public:
    void ShowMessage(std::string_view text, TMessageIcon) override { Last = std::string(text); }
    std::string Last;
};

std::vector<std::filesystem::path> Regressions() {
    std::vector<std::filesystem::path> files;
    const auto dir = std::filesystem::path(QM_SOURCE_DIR) / "tests" / "fuzz" / "regressions";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzRegressions, EveryInputIsConvertedOrRefused) {
    const auto files = Regressions();
    if (files.empty()) GTEST_SKIP() << "no regression inputs";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
        TNoProgress progress;
        TLastMessage messages;
        TConversionSession session(progress, messages);
        const TOpenOutcome opened = session.OpenBytes(std::move(bytes));
        if (!opened.Imported) {
            EXPECT_FALSE(opened.Reason.empty());
            continue;
        }
        std::ostringstream pdf;
        EXPECT_TRUE(session.SavePDFFile(pdf)) << messages.Last;
        EXPECT_EQ(pdf.str().substr(0, 8), "%PDF-1.3");
    }
}

}  // namespace
}  // namespace qm
