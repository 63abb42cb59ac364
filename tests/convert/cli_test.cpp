// The command-line converter as a script sees it: exit status, messages, JSON lines, files.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "app/batch_runner.h"
#include "builder/word_builder.h"
#include "convert/convert_util.h"

namespace qm {
namespace {

using test::RunCommand;
using test::ShellQuote;

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        TWordBuilder builder;
        builder.Para(u"Hello from the command line.");
        good = dir / "good letter.doc";
        test::WriteFile(good, builder.Build());
        bad = dir / "plain.doc";
        test::WriteFile(bad, std::string("not a Word document\n"));
    }
    test::TRunResult Convert(const std::string& args, bool withStderr = false) {
        return RunCommand(std::string(QM_CONVERT_BIN) + " " + args +
                          (withStderr ? " 2>&1" : " 2>/dev/null"));
    }
    test::TTempDir dir;
    std::string good;
    std::string bad;
};

TEST_F(Cli, UsageErrorsExitWithTwo) {
    EXPECT_EQ(Convert("").ExitCode, 2);
    EXPECT_EQ(Convert("--no-such-option " + ShellQuote(good)).ExitCode, 2);
    EXPECT_EQ(Convert("-o x.pdf " + ShellQuote(good) + " " + ShellQuote(bad)).ExitCode, 2);
    EXPECT_EQ(Convert("--json -o - " + ShellQuote(good)).ExitCode, 2);
    const auto version = Convert("--version");
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_NE(version.Output.find("quillmere-convert 1.1"), std::string::npos);
}

TEST_F(Cli, ConvertsBesideTheInputUnderAnyName) {
    const std::string odd = dir / "Übersicht – 東京 report.doc";
    std::filesystem::copy_file(good, odd);
    const auto run = Convert(ShellQuote(odd));
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(test::ReadFile(dir / "Übersicht – 東京 report.pdf").substr(0, 8), "%PDF-1.3");
    EXPECT_NE(run.Output.find("report.pdf"), std::string::npos) << "says where the PDF is";
}

TEST_F(Cli, RefusedInputsExitWithOneAndSayWhy) {
    const auto run = Convert(ShellQuote(bad), true);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Output.find(bad + ": "), std::string::npos) << run.Output;
    EXPECT_FALSE(std::filesystem::exists(dir / "plain.pdf"));
}

TEST_F(Cli, AnOutputThatCannotBeWrittenExitsWithThree) {
    EXPECT_EQ(Convert("-o /nonexistent-qm-folder/out.pdf " + ShellQuote(good)).ExitCode, 3);
}

TEST_F(Cli, StandardInputToStandardOutput) {
    const auto run = RunCommand("cat " + ShellQuote(good) + " | " + QM_CONVERT_BIN + " -o - -");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Output.substr(0, 8), "%PDF-1.3");
    EXPECT_EQ(run.Output.substr(run.Output.size() - 5), "%%EOF");
}

TEST_F(Cli, BatchReportsEveryInputAsJson) {
    std::filesystem::create_directory(dir / "out");
    const auto run = Convert("--json -j 2 -d " + ShellQuote(dir / "out") + " " + ShellQuote(good) +
                             " " + ShellQuote(bad) + " " + ShellQuote(good));
    EXPECT_EQ(run.ExitCode, 1);
    std::vector<TConvertReport> reports;
    size_t start = 0;
    for (size_t end; (end = run.Output.find('\n', start)) != std::string::npos; start = end + 1) {
        TConvertReport report;
        ASSERT_TRUE(FromJson(run.Output.substr(start, end - start), report)) << run.Output;
        reports.push_back(report);
    }
    ASSERT_EQ(reports.size(), 3u);
    int converted = 0;
    for (const auto& r : reports) {
        if (r.Status == TConvertStatus::Converted) {
            ++converted;
            EXPECT_EQ(r.Pages, 1);
            EXPECT_EQ(r.Output, dir / "out/good letter.pdf");
        } else {
            EXPECT_EQ(r.Status, TConvertStatus::Refused);
            EXPECT_FALSE(r.Reason.empty());
        }
    }
    EXPECT_EQ(converted, 2);
}

TEST_F(Cli, EmbedFontsEmbedsTheSimpleFontsAndKeepsTheText) {
    for (const char* tool : {"qpdf", "pdffonts", "pdftotext"}) {
        if (RunCommand(std::string("command -v ") + tool + " >/dev/null").ExitCode != 0)
            GTEST_SKIP() << tool << " is not installed";
    }
    const std::string plain = dir / "plain.pdf";
    const std::string embedded = dir / "embedded.pdf";
    ASSERT_EQ(Convert("-o " + ShellQuote(plain) + " " + ShellQuote(good)).ExitCode, 0);
    ASSERT_EQ(Convert("--embed-fonts -o " + ShellQuote(embedded) + " " + ShellQuote(good)).ExitCode,
              0);
    // Without the option nothing is embedded; with it the same simple font carries a subset.
    const auto fontsPlain = RunCommand("pdffonts " + ShellQuote(plain));
    EXPECT_NE(fontsPlain.Output.find("TrueType          WinAnsi          no  no  no"),
              std::string::npos)
        << fontsPlain.Output;
    const auto fonts = RunCommand("pdffonts " + ShellQuote(embedded));
    EXPECT_NE(fonts.Output.find("TrueType          WinAnsi          yes yes no"), std::string::npos)
        << fonts.Output;
    const auto check = RunCommand("qpdf --check " + ShellQuote(embedded) + " 2>&1");
    EXPECT_EQ(check.ExitCode, 0) << check.Output;
    // The page content is the same: only the font objects grow.
    const auto text = RunCommand("pdftotext " + ShellQuote(embedded) + " -");
    EXPECT_EQ(text.Output, RunCommand("pdftotext " + ShellQuote(plain) + " -").Output);
    // Every character is placed on its own, so extraction guesses the word gaps.
    std::string letters = text.Output;
    std::erase(letters, ' ');
    EXPECT_NE(letters.find("Hellofromthecommandline."), std::string::npos) << text.Output;
}

TEST_F(Cli, EncryptedInputsTakeTheirPasswordFromTheOptionAFileOrTheEnvironment) {
    TWordBuilder builder;
    builder.Options().Protection.Cipher = TWordCipher::CryptoApi;
    builder.Options().Protection.Password = "s3cret";
    builder.Para(u"Behind a password.");
    const std::string locked = dir / "locked.doc";
    test::WriteFile(locked, builder.Build());
    const std::string pdf = dir / "locked.pdf";
    const std::string file = dir / "password.txt";
    test::WriteFile(file, std::string("s3cret\r\nsecond line\n"));
    const std::string bin = std::string(QM_CONVERT_BIN) + " ";
    const std::string plain = "env -u QUILLMERE_PASSWORD " + bin;
    struct TCase {
        std::string Command;
        int ExitCode;
        std::string Says;
    };
    const TCase cases[] = {
        {plain + ShellQuote(locked), 1, "This document is password protected."},
        {plain + "--password S3cret " + ShellQuote(locked), 1, "The password is not correct."},
        {plain + "--password s3cret " + ShellQuote(locked), 0, "(1 page)"},
        {plain + "--password-file " + ShellQuote(file) + " " + ShellQuote(locked), 0, "(1 page)"},
        {"QUILLMERE_PASSWORD=s3cret " + bin + ShellQuote(locked), 0, "(1 page)"},
        // The option wins over the environment.
        {"QUILLMERE_PASSWORD=s3cret " + bin + "--password x " + ShellQuote(locked), 1,
         "The password is not correct."},
        {plain + "--password s3cret --password-file " + ShellQuote(file) + " " + ShellQuote(locked),
         2, "excludes"},
        {plain + "--password-file " + ShellQuote(dir / "none.txt") + " " + ShellQuote(locked), 2,
         "Can not read the password file."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Command);
        std::filesystem::remove(pdf);
        const auto run = RunCommand(c.Command + " 2>&1");
        EXPECT_EQ(run.ExitCode, c.ExitCode);
        EXPECT_NE(run.Output.find(c.Says), std::string::npos) << run.Output;
        EXPECT_EQ(std::filesystem::exists(pdf), c.ExitCode == 0);
        EXPECT_EQ(run.Output.find("s3cret"), std::string::npos) << "never printed";
    }
}

TEST_F(Cli, PreviewPagesAsPng) {
    EXPECT_EQ(Convert("--png " + ShellQuote(dir / "page") + " " + ShellQuote(good)).ExitCode, 0);
    EXPECT_EQ(test::ReadFile(dir / "page-1.png").substr(1, 3), "PNG");
}

TEST(Batch, CrashesAndHangsStayInTheirChild) {
    const std::vector<std::string> inputs{"fine", "crash", "hang"};
    TBatchOptions options;
    options.Jobs = 3;
    options.TimeoutSeconds = 1;
    const auto reports = RunBatch(
        inputs, options,
        [&](size_t i) {
            if (inputs[i] == "crash") raise(SIGKILL);
            if (inputs[i] == "hang") sleep(30);
            TConvertReport r;
            r.Input = inputs[i];
            r.Status = TConvertStatus::Converted;
            return r;
        },
        nullptr);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].Status, TConvertStatus::Converted);
    EXPECT_EQ(reports[1].Status, TConvertStatus::Crashed);
    EXPECT_EQ(reports[1].Input, "crash");
    EXPECT_EQ(reports[2].Status, TConvertStatus::Timeout);
    EXPECT_EQ(ExitStatusFor(reports), 3);
}

TEST(Report, JsonRoundTripsAndEscapes) {
    TConvertReport r;
    r.Input = "a \"quoted\"\\name\n.doc";
    r.Output = "out.pdf";
    r.Status = TConvertStatus::Refused;
    r.Reason = "This document is password protected.";
    r.Pages = 3;
    r.Seconds = 0.25;
    r.Fonts = {{"Times New Roman", "Liberation Serif"}, {"Calibri", "Carlito"}};
    r.Notices = {"1 picture was left out.", "a \"second\" one"};
    const std::string json = ToJson(r);
    EXPECT_EQ(json.find('\n'), std::string::npos);
    TConvertReport back;
    ASSERT_TRUE(FromJson(json, back));
    EXPECT_EQ(back.Input, r.Input);
    EXPECT_EQ(back.Status, TConvertStatus::Refused);
    EXPECT_EQ(back.Reason, r.Reason);
    EXPECT_EQ(back.Pages, 3);
    ASSERT_EQ(back.Fonts.size(), 2u);
    EXPECT_EQ(back.Fonts[1].Used, "Carlito");
    EXPECT_EQ(back.Notices, r.Notices);
    EXPECT_FALSE(FromJson("not json", back));
}

TEST(Report, ExitStatusFavoursFailuresOverRefusals) {
    TConvertReport ok, refused, failed;
    ok.Status = TConvertStatus::Converted;
    refused.Status = TConvertStatus::Refused;
    failed.Status = TConvertStatus::Failed;
    EXPECT_EQ(ExitStatusFor({ok, ok}), 0);
    EXPECT_EQ(ExitStatusFor({ok, refused}), 1);
    EXPECT_EQ(ExitStatusFor({refused, failed, ok}), 3);
}

}  // namespace
}  // namespace qm
