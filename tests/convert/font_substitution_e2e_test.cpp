// Faces the machine lacks, from the document to the PDF and the report: each stands in with the
// stock face of the family class its font table gives, is measured as that face, and the --json
// report lists what stood in for what.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

#include "app/convert_report.h"
#include "builder/word_builder.h"
#include "convert/convert_util.h"

namespace qm {
namespace {

using test::RunCommand;
using test::ShellQuote;

constexpr uint8_t kRomanFfid = 0x12;   // variable pitch, roman
constexpr uint8_t kSwissFfid = 0x22;   // variable pitch, swiss
constexpr uint8_t kModernFfid = 0x31;  // fixed pitch, modern

// The width of a word pdftotext finds on the first page; -1 when it finds none.
double WordWidth(const std::string& html, const std::string& word) {
    const std::regex box(
        "<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\" "
        "yMax=\"[0-9.]+\">" +
        word + "</word>");
    std::smatch m;
    if (!std::regex_search(html, m, box)) return -1;
    return std::stod(m[2]) - std::stod(m[1]);
}

TEST(FontSubstitution, UnknownFacesStandInByFamilyClassAndAreReported) {
    if (!test::ToolAvailable("pdftotext")) GTEST_SKIP() << "pdftotext is not installed";
    TWordBuilder b;
    b.Font("Times New Roman", kRomanFfid).Font("Quillmere Serif Test", kRomanFfid);
    b.Font("Arial", kSwissFfid).Font("Quillmere Sans Test", kSwissFfid);
    b.Font("Quillmere \"Mono\" Test", kModernFfid);
    b.Font("Century", kRomanFfid);
    // Digits share one advance in each of these faces, so the words of one face measure alike.
    for (uint16_t font = 0; font < 6; ++font) {
        const std::u16string word = u"Wimbledon" + std::u16string(1, u'1' + font);
        b.Text(word, sprm::FontNumber(font)).Paragraph();
    }
    // Used twice, reported once.
    b.Text(u"again", sprm::FontNumber(1)).Paragraph();
    test::TTempDir dir;
    test::WriteFile(dir / "faces.doc", b.Build());
    const auto run =
        RunCommand(std::string(QM_CONVERT_BIN) + " --json -d " + ShellQuote(dir.Path().string()) +
                   " " + ShellQuote(dir / "faces.doc"));
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    TConvertReport report;
    ASSERT_TRUE(FromJson(run.Output.substr(0, run.Output.find('\n')), report)) << run.Output;
    auto usedFor = [&](const std::string& requested) {
        std::string used = "(not reported)";
        const auto count = std::count_if(report.Fonts.begin(), report.Fonts.end(),
                                         [&](const TFontSubstitution& f) {
                                             if (f.Requested == requested) used = f.Used;
                                             return f.Requested == requested;
                                         });
        EXPECT_LE(count, 1) << requested;
        return used;
    };
    EXPECT_EQ(usedFor("Quillmere Serif Test"), "Liberation Serif");
    EXPECT_EQ(usedFor("Quillmere Sans Test"), "Liberation Sans");
    EXPECT_EQ(usedFor("Quillmere \"Mono\" Test"), "Liberation Mono");
    EXPECT_EQ(usedFor("Times New Roman"), "Liberation Serif");
    // Century's wide letters are not those of a Times stand-in.
    EXPECT_EQ(usedFor("Century"), "DejaVu Serif");

    // The stand-ins measure as the faces they stand for, and the two classes differ.
    const std::string html =
        RunCommand("pdftotext -bbox -f 1 -l 1 " + ShellQuote(dir / "faces.pdf") + " -").Output;
    const double times = WordWidth(html, "Wimbledon1");
    const double arial = WordWidth(html, "Wimbledon3");
    ASSERT_GT(times, 0) << html;
    ASSERT_GT(arial, 0) << html;
    EXPECT_NEAR(WordWidth(html, "Wimbledon2"), times, 0.01);
    EXPECT_NEAR(WordWidth(html, "Wimbledon4"), arial, 0.01);
    EXPECT_GT(std::abs(times - arial), 1.0);
    // Ten characters of a fixed pitch of 0.6 em at the builder's 10 points.
    EXPECT_NEAR(WordWidth(html, "Wimbledon5"), 10 * 0.6 * 10, 2.0);
    EXPECT_GT(WordWidth(html, "Wimbledon6"), times * 1.1);
}

}  // namespace
}  // namespace qm
