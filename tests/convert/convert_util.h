// Helpers of the end-to-end tests: temporary folders, running programs, reading files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qm::test {

// A fresh folder under the system's temporary folder, removed with its contents at the end.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

struct TRunResult {
    int ExitCode = -1;
    std::string Output;  // standard output (standard error too when asked)
};

// Runs a shell command line and collects its standard output.
TRunResult RunCommand(const std::string& command);
// Quotes an argument for the shell.
std::string ShellQuote(const std::string& arg);
bool ToolAvailable(const std::string& tool);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteFile(const std::string& path, const std::string& text);

// The corpus documents, sorted; empty when the shared folder is absent.
std::vector<std::string> CorpusFiles();

}  // namespace qm::test
