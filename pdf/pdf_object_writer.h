// What the writer's tables see of the file writer when they write their objects at the end of
// the document: objects numbered in the order they are begun, bytes appended, and the failed
// state. The file writer (TPDFCanvas) keeps the cross-reference table and the output.
#pragma once

#include <charconv>
#include <cstdint>
#include <string_view>

namespace qm {

class TPDFObjectWriter {
  public:
    // Begins the next indirect object: records where it starts and writes its "n 0 obj" line.
    // Returns its number.
    virtual int32_t BeginObject() = 0;
    // Appends bytes to the file, with no line end.
    virtual void WriteRaw(std::string_view bytes) = 0;
    // Called between objects: what is written so far may go to the output now.
    virtual void ObjectFinished() = 0;
    // Fails the document (the first error is kept); later writes are discarded.
    virtual void Fail(std::string_view text) noexcept = 0;
    virtual bool Failed() const = 0;

    // Lines end with a single LF, never CR.
    void WriteLine(std::string_view s) {
        WriteRaw(s);
        WriteRaw("\n");
    }
    void EndLine() { WriteRaw("\n"); }
    // Plain decimal, "-" for negatives (std::to_chars: the locale never matters).
    void WriteNumber(int64_t value) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        WriteRaw(std::string_view(digits, static_cast<size_t>(result.ptr - digits)));
    }
    void BeginDictObject() {
        BeginObject();
        WriteLine("<<");
    }
    void EndObject() { WriteLine("endobj"); }
    void EndDictObject() {
        WriteLine(">>");
        EndObject();
    }

  protected:
    ~TPDFObjectWriter() = default;
};

}  // namespace qm
