// A document in five scripts through the command line: the PDF extracts as exactly the
// document's text (Hebrew in its logical order), every font that carries text beyond
// Windows-1252 is embedded, and the file is sound.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "builder/word_builder.h"
#include "convert/convert_util.h"

namespace qm {
namespace {

using test::RunCommand;
using test::ShellQuote;
using test::TTempDir;

// The lines pdftotext finds, without empty ones and without surrounding blanks. pdftotext marks
// a right-to-left line with the embedding controls U+202B ... U+202C; they are not text.
std::vector<std::string> TextLines(std::string text) {
    for (const char* mark : {"\u202B", "\u202C"})
        for (size_t at; (at = text.find(mark)) != std::string::npos;)
            text.erase(at, 3);
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const size_t first = line.find_first_not_of(" \f");
        if (first == std::string::npos) continue;
        lines.push_back(line.substr(first, line.find_last_not_of(' ') - first + 1));
    }
    return lines;
}

TEST(MixedScripts, ExtractAsTheDocumentsTextWithEveryFontEmbedded) {
    for (const char* tool : {"pdftotext", "pdffonts", "qpdf"})
        if (!test::ToolAvailable(tool)) GTEST_SKIP() << tool << " is not installed";
    TWordBuilder b;
    b.Wide(true);
    b.Para(u"Latin text");
    b.Para(
        u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439 \u0442\u0435\u043A\u0441\u0442");  // Russian
    b.Para(u"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC");                        // Greek
    b.Para(u"\u4E2D\u6587\u6587\u672C");                                                // Chinese
    b.Para(u"\u65E5\u672C\u8A9E\u306E\u6587\u7AE0");                                    // Japanese
    b.Para(u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD", sprm::RightToLeft());  // Hebrew
    b.Para(u"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645",
           sprm::RightToLeft());                     // Arabic: joined letters and a lam-alef
    b.Para(u"Cafe\u0301 \u1EA1\u0302");  // combining marks on Latin letters
    TTempDir dir;
    const std::vector<uint8_t> doc = b.Build();
    test::WriteFile(dir / "mixed.doc", doc);
    const std::string pdf = dir / "mixed.pdf";
    ASSERT_EQ(RunCommand(std::string(QM_CONVERT_BIN) + " -q -o " + ShellQuote(pdf) + " " +
                         ShellQuote(dir / "mixed.doc"))
                  .ExitCode,
              0);

    EXPECT_EQ(RunCommand("qpdf --check " + ShellQuote(pdf) + " >/dev/null 2>&1").ExitCode, 0);
    const test::TRunResult text = RunCommand("pdftotext -enc UTF-8 " + ShellQuote(pdf) + " -");
    ASSERT_EQ(text.ExitCode, 0);
    EXPECT_EQ(TextLines(text.Output),
              (std::vector<std::string>{"Latin text", "Русский текст", "Ελληνικά", "中文文本",
                                        "日本語の文章", "שלום עולם", "مرحبا بالعالم",
                                        "Cafe\u0301 \u1EA1\u0302"}));

    // Every font but the simple ones of Latin text is embedded: pdffonts' "emb" column.
    const test::TRunResult fonts = RunCommand("pdffonts " + ShellQuote(pdf));
    ASSERT_EQ(fonts.ExitCode, 0);
    std::istringstream rows(fonts.Output);
    std::string row;
    int type0 = 0;
    while (std::getline(rows, row)) {
        if (row.find("CID") == std::string::npos) continue;
        ++type0;
        EXPECT_NE(row.find(" yes "), std::string::npos) << row;
    }
    EXPECT_GE(type0, 2);  // at least the Cyrillic, Greek and Hebrew face and a CJK face
}

}  // namespace
}  // namespace qm
