// Writing small documents in memory and reading them back: objects by their cross-reference
// offsets, page contents inflated, lines split.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pdf/pdf_canvas.h"

namespace qm::test {

// BeginDoc into a string stream, draw, EndDoc; returns the file's bytes.
std::string WritePdf(const std::function<void(TPDFCanvas&)>& draw);

// The offsets of the cross-reference table, by object number (entry 0 included).
std::vector<int64_t> XRefOffsets(const std::string& pdf);

// The text of object `number` from its header line up to and including "endobj\n".
std::string ObjectText(const std::string& pdf, int number);

// The inflated content stream of page `page` (1-based): object 2 * page.
std::string PageContent(const std::string& pdf, int page);

std::vector<std::string> SplitLines(const std::string& text);

// A fresh folder under the temporary folder, removed with everything in it at destruction.
class TTempFolder {
  public:
    TTempFolder();
    ~TTempFolder();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> Names() const;  // the folder's entries, sorted

  private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// Runs a shell command; returns its exit status and puts its standard output into out.
int RunCommand(const std::string& command, std::string& out);
bool HaveTool(const std::string& name);

// A 24-bit image filled with one colour (0x00BBGGRR).
TDib SolidImage(int32_t width, int32_t height, uint32_t color);

}  // namespace qm::test
