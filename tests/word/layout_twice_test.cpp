// The layout pass on imported documents: laying out a model that has not changed since the
// last pass gives the same model again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/model/layout_fixture.h"
#include "word/word_import.h"

namespace qm {
namespace {

TEST(LayoutOnCorpus, RunningThePassTwiceGivesTheSameModel) {
    const std::filesystem::path corpus = std::string(QM_SHARED_DIR) + "/corpus";
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    std::vector<std::filesystem::path> files;
    for (const auto& item : std::filesystem::directory_iterator(corpus)) {
        if (item.path().extension() == ".doc") files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());
    int converted = 0;
    for (const auto& file : files) {
        TDocument doc;
        if (!ImportWordFile(doc, file.string(), nullptr, nullptr).Converted) continue;
        ++converted;
        const std::string first = test::DumpModel(doc);
        doc.CompleteRefresh();
        EXPECT_EQ(test::DumpModel(doc), first) << file.filename();
    }
    EXPECT_GT(converted, 0);
}

}  // namespace
}  // namespace qm
