// Writing small documents in memory and reading them back: objects by their cross-reference
// offsets, page contents inflated, lines split.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/pdf_canvas.h"
#include "pdf/pdf_object_writer.h"

namespace qm::test {

// BeginDoc into a string stream, draw, EndDoc; returns the file's bytes.
std::string WritePdf(const std::function<void(TPDFCanvas&)>& draw);

// The offsets of the cross-reference table, by object number (entry 0 included).
std::vector<int64_t> XRefOffsets(const std::string& pdf);

// The text of object `number` from its header line up to and including "endobj\n".
std::string ObjectText(const std::string& pdf, int number);

// The inflated content stream of page `page` (1-based): object 2 * page.
std::string PageContent(const std::string& pdf, int page);
// A zlib stream inflated; "<bad stream>" when it does not inflate.
std::string Inflate(const std::string& compressed);

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

// An object writer for the tables alone: numbers objects from a given number on and keeps the
// text of each object.
class TRecordingWriter final : public TPDFObjectWriter {
  public:
    explicit TRecordingWriter(int32_t firstNumber) : next_(firstNumber) {}
    int32_t BeginObject() override {
        Objects.emplace_back();
        WriteNumber(next_);
        WriteLine(" 0 obj");
        return next_++;
    }
    void WriteRaw(std::string_view bytes) override {
        if (!Objects.empty()) Objects.back().append(bytes);
    }
    void ObjectFinished() override {}
    void Fail(std::string_view text) noexcept override { Error = text; }
    bool Failed() const override { return !Error.empty(); }

    std::vector<std::string> Objects;
    std::string Error;

  private:
    int32_t next_;
};

}  // namespace qm::test
