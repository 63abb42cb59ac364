// quillmere-convert: converts Word documents to PDF from the command line.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <thread>

#include "app/batch_runner.h"
#include "app/conversion_session.h"
#include "base/wipe.h"
#include "word/word_dump.h"

namespace qm {
namespace {

constexpr const char* kVersion = "1.1";
// Where a password can come from without showing in the process list.
constexpr const char* kPasswordVariable = "QUILLMERE_PASSWORD";

// Messages of the import and the writer are kept for the report, not printed.
class TRecordedMessages : public TMessageSink {
  public:
    void ShowMessage(std::string_view text, TMessageIcon) override { Last = std::string(text); }
    std::string Last;
};

class TNoProgress : public TProgressSink {
  public:
    void SetProStatus(int) override {}
};

struct TOptions {
    std::vector<std::string> Inputs;
    std::string Output;
    std::string OutDir;
    std::string PngPrefix;
    int Jobs = 0;
    double Timeout = 60;
    bool Json = false;
    bool Quiet = false;
    bool Dump = false;
    bool EmbedFonts = false;
    // The password for encrypted inputs, from --password, --password-file or the environment.
    std::string Password;
    std::string PasswordFile;
};

// Prints the structure of each input (streams, header, pieces, property tables) instead of
// converting it.
int DumpInputs(const TOptions& options) {
    int status = 0;
    for (const std::string& input : options.Inputs) {
        std::vector<uint8_t> bytes;
        if (input == "-") {
            bytes.assign(std::istreambuf_iterator<char>(std::cin),
                         std::istreambuf_iterator<char>());
        } else {
            std::ifstream in(input, std::ios::binary);
            if (!in) {
                std::cerr << input << ": Can not read the file." << std::endl;
                status = 1;
                continue;
            }
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        std::cout << "== " << input << "\n"
                  << DumpWordDocument(std::move(bytes), options.Password) << std::flush;
    }
    return status;
}

std::string OutputFor(const TOptions& options, const std::string& input) {
    if (!options.Output.empty()) return options.Output;
    if (input == "-") return "-";
    const std::string beside = TConversionSession::DestinationFor(input);
    if (options.OutDir.empty()) return beside;
    return (std::filesystem::path(options.OutDir) / std::filesystem::path(beside).filename())
        .string();
}

bool ReadStandardInput(std::vector<uint8_t>& bytes) {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
}

TConvertReport ConvertOne(const TOptions& options, const std::string& input) {
    const auto start = std::chrono::steady_clock::now();
    TConvertReport report;
    report.Input = input;
    report.Output = OutputFor(options, input);
    TRecordedMessages messages;
    TNoProgress progress;
    TConversionSession session(progress, messages);
    session.SetPassword(options.Password);
    TOpenOutcome opened;
    if (input == "-") {
        std::vector<uint8_t> bytes;
        if (ReadStandardInput(bytes))
            opened = session.OpenBytes(std::move(bytes));
        else
            opened.Reason = "Can not read the standard input.";
    } else {
        opened = session.openfilenow(input);
    }
    auto finish = [&](TConvertStatus status, std::string reason) {
        report.Status = status;
        report.Reason = std::move(reason);
        report.Seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return report;
    };
    if (!opened.Imported) return finish(TConvertStatus::Refused, opened.Reason);
    report.Pages = session.Document().GetAnzPages();
    report.Notices = opened.Notices;
    report.Fonts = session.FontSubstitutions();
    TPDFSaveOptions save;
    save.EmbedFonts = options.EmbedFonts;
    const bool saved = report.Output == "-" ? session.SavePDFFile(std::cout, save)
                                            : session.SavePDFFile(report.Output, save);
    for (const std::string& notice : session.SaveNotices())
        report.Notices.push_back(notice);
    if (!saved) {
        return finish(TConvertStatus::Failed,
                      messages.Last.empty() ? "Can not create the PDF file." : messages.Last);
    }
    if (!options.PngPrefix.empty() && !session.RenderPng(options.PngPrefix))
        return finish(TConvertStatus::Failed, "Can not write the preview pictures.");
    return finish(TConvertStatus::Converted, "");
}

void Report(const TOptions& options, const TConvertReport& r) {
    if (options.Json) {
        std::cout << ToJson(r) << std::endl;
    } else if (r.Status == TConvertStatus::Converted && !options.Quiet && r.Output != "-") {
        std::cout << r.Input << " -> " << r.Output << " (" << r.Pages
                  << (r.Pages == 1 ? " page)" : " pages)") << std::endl;
    }
    if (r.Status != TConvertStatus::Converted)
        std::cerr << r.Input << ": " << r.Reason << std::endl;
    if (!options.Json && !options.Quiet)
        for (const std::string& notice : r.Notices)
            std::cerr << r.Input << ": " << notice << std::endl;
}

// The first line of the password file, without its line end.
bool ReadPasswordFile(const std::string& path, std::string& password) {
    std::ifstream in(path, std::ios::binary);
    if (!in || !std::getline(in, password)) return false;
    if (!password.empty() && password.back() == '\r') password.pop_back();
    return true;
}

// --password and --password-file exclude each other; either wins over the environment.
bool ResolvePassword(TOptions& options) {
    if (!options.PasswordFile.empty())
        return ReadPasswordFile(options.PasswordFile, options.Password);
    if (options.Password.empty())
        if (const char* fromEnvironment = std::getenv(kPasswordVariable))
            options.Password = fromEnvironment;
    return true;
}

int Convert(TOptions& options) {
    if (options.Dump) return DumpInputs(options);
    std::vector<TConvertReport> reports;
    if (options.Inputs.size() == 1) {
        reports.push_back(ConvertOne(options, options.Inputs[0]));
        Report(options, reports.back());
        return ExitStatusFor(reports);
    }
    TBatchOptions batch;
    batch.Jobs = options.Jobs > 0
                     ? options.Jobs
                     : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    batch.TimeoutSeconds = options.Timeout;
    const bool showProgress = !options.Quiet && isatty(STDERR_FILENO);
    size_t done = 0;
    // An empty model loads the font configuration and the default face here, once, rather than
    // in every document's process.
    { const TDocument warm; }
    std::cout.flush();
    reports = RunBatch(
        options.Inputs, batch, [&](size_t i) { return ConvertOne(options, options.Inputs[i]); },
        [&](const TConvertReport& r) {
            ++done;
            if (showProgress) std::cerr << "\r\033[K";
            Report(options, r);
            if (showProgress)
                std::cerr << "[" << done << "/" << options.Inputs.size() << "] " << std::flush;
        });
    if (showProgress) std::cerr << "\r\033[K" << std::flush;
    return ExitStatusFor(reports);
}

int Run(int argc, char** argv) {
    TOptions options;
    CLI::App app{"Converts Word documents (.doc, Word 97-2003) to PDF.", "quillmere-convert"};
    app.add_option("files", options.Inputs, "Word documents to convert; - reads standard input")
        ->required();
    app.add_option("-o,--output", options.Output,
                   "PDF file to write (one input; - for standard output)");
    app.add_option("-d,--outdir", options.OutDir, "Folder for the PDF files")
        ->check(CLI::ExistingDirectory);
    app.add_option("-j,--jobs", options.Jobs,
                   "Documents converted at once (default: the number of cores)")
        ->check(CLI::PositiveNumber);
    app.add_option("--timeout", options.Timeout,
                   "Seconds before a conversion in a batch is stopped")
        ->check(CLI::PositiveNumber);
    app.add_option("--png", options.PngPrefix,
                   "Also render the preview pages as PREFIX-1.png, ...");
    app.add_flag("--json", options.Json, "One JSON line per input on standard output");
    app.add_flag("--embed-fonts", options.EmbedFonts,
                 "Embed subsets of every font, not only of those for text outside Windows-1252");
    app.add_flag("-q,--quiet", options.Quiet, "Print only problems");
    app.add_flag("--dump", options.Dump,
                 "Print the structure of each document instead of converting");
    auto* password = app.add_option(
        "--password", options.Password,
        "Password of encrypted documents (see also " + std::string(kPasswordVariable) + ")");
    app.add_option("--password-file", options.PasswordFile,
                   "File whose first line is the password of encrypted documents")
        ->excludes(password);
    app.set_version_flag("--version", std::string("quillmere-convert ") + kVersion);
    try {
        app.parse(argc, argv);
        if (!options.Output.empty() && options.Inputs.size() > 1)
            throw CLI::ValidationError("--output takes exactly one input");
        if (!options.Output.empty() && !options.OutDir.empty())
            throw CLI::ValidationError("--output and --outdir exclude each other");
        if (!options.PngPrefix.empty() && options.Inputs.size() > 1)
            throw CLI::ValidationError("--png takes exactly one input");
        if (options.Json && options.Output == "-")
            throw CLI::ValidationError("--json and --output - both use standard output");
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }

    if (!ResolvePassword(options)) {
        std::cerr << options.PasswordFile << ": Can not read the password file." << std::endl;
        return 2;
    }
    const int status = Convert(options);
    Wipe(options.Password);
    return status;
}

}  // namespace
}  // namespace qm

int main(int argc, char** argv) {
    return qm::Run(argc, argv);
}
