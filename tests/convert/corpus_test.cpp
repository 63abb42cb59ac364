// Every document of the shared corpus, converted end to end: a refusal comes with a message; a
// conversion gives a PDF that qpdf accepts, whose text holds the words of the imported text,
// and whose first preview page renders.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>

#include "base/cp1252.h"
#include "app/conversion_session.h"
#include "convert/convert_util.h"
#include "convert/session_sinks.h"
#include "render/preview.h"

namespace qm {
namespace {

using TNoProgress = test::TQuietProgress;
using TMessages = test::TRecordedMessages;

using test::RunCommand;
using test::ShellQuote;

// Words of letters and digits, at least two long, in lower case (capitals and small capitals
// show a word in upper case).
std::set<std::string> Words(const std::string& text) {
    std::set<std::string> words;
    std::string word;
    for (char c : text + " ") {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            word.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        } else {
            if (word.size() >= 2) words.insert(word);
            word.clear();
        }
    }
    return words;
}

// The letters and digits of a text in lower case, everything else left out.
std::string Letters(const std::string& text) {
    std::string out;
    for (char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)))
            out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

// The text of the page bodies as the importer put it into the model; a line end separates.
std::string BodyText(const TDocument& doc) {
    std::string text;
    for (const TFieldRec& field : doc.Fields) {
        if (field.Kind != kFieldBody) continue;
        for (const TLineRec& line : field.Lines) {
            for (const TCharRec& ch : line.Chars) {
                // Shadowed text is drawn twice, so its words are not looked for.
                const bool shadow = ch.FontIndex >= 0 && ch.FontIndex < doc.FontCount() &&
                                    (doc.Fonts[ch.FontIndex].Attrib & kAttribShadow);
                const bool plain = ch.Kind == 0 && ch.Code >= 32 && ch.Code < 128 && !shadow;
                text.push_back(plain ? Cp1252Encode(std::u32string(1, ch.Code))[0] : ' ');
            }
            text.push_back(line.EndKind != 0 ? '\n' : ' ');
        }
    }
    return text;
}

class CorpusConversion : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusConversion, ConvertsOrRefusesCleanly) {
    const std::string input = GetParam();
    if (input.empty()) GTEST_SKIP() << "the shared corpus is not here";
    if (!test::ToolAvailable("qpdf") || !test::ToolAvailable("pdftotext"))
        GTEST_SKIP() << "qpdf or pdftotext missing";
    TNoProgress progress;
    TMessages messages;
    TConversionSession session(progress, messages);
    const TOpenOutcome outcome = session.openfilenow(input);
    if (!outcome.Imported) {
        EXPECT_FALSE(outcome.Reason.empty()) << "a refusal must say why";
        return;
    }
    test::TTempDir dir;
    const std::string pdf = dir / "out.pdf";
    ASSERT_TRUE(session.SavePDFFile(pdf));
    const auto check = RunCommand("qpdf --check " + ShellQuote(pdf) + " >/dev/null 2>&1; echo $?");
    EXPECT_EQ(check.Output, "0\n") << "qpdf --check failed";

    // Characters are placed one by one at whole points, so pdftotext may split a word where a
    // rounding gap opens; the words are looked for in the PDF's letters with the gaps removed.
    const auto text = RunCommand("pdftotext -q " + ShellQuote(pdf) + " -");
    const std::string pdfLetters = Letters(text.Output);
    std::vector<std::string> missing;
    for (const std::string& word : Words(BodyText(session.Document())))
        if (pdfLetters.find(word) == std::string::npos) missing.push_back(word);
    EXPECT_TRUE(missing.empty()) << missing.size() << " words missing, first: " << missing[0];

    TRasterCanvas canvas(1, 1, kScreenDpi);
    RenderPreviewPage(session.Document(), 0, canvas);
    EXPECT_TRUE(canvas.SavePng(dir / "page-1.png"));
}

std::vector<std::string> Params() {
    std::vector<std::string> files = test::CorpusFiles();
    if (files.empty()) files.push_back("");
    return files;
}

std::string ParamName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param.empty() ? "none" : std::filesystem::path(info.param).stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusConversion, ::testing::ValuesIn(Params()), ParamName);

}  // namespace
}  // namespace qm
