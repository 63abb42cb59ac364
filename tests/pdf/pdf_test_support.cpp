#include "pdf_test_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qm::test {

std::string WritePdf(const std::function<void(TPDFCanvas&)>& draw) {
    std::ostringstream stream;
    TPDFCanvas canvas;
    EXPECT_TRUE(canvas.BeginDoc(stream));
    draw(canvas);
    EXPECT_TRUE(canvas.EndDoc()) << canvas.ErrorText();
    return stream.str();
}

std::vector<int64_t> XRefOffsets(const std::string& pdf) {
    const size_t startxref = pdf.rfind("startxref\n");
    if (startxref == std::string::npos) return {};
    const int64_t xref = std::stoll(pdf.substr(startxref + 10));
    std::istringstream lines(pdf.substr(static_cast<size_t>(xref)));
    std::string line;
    std::getline(lines, line);  // "xref"
    int first = 0;
    int count = 0;
    lines >> first >> count;
    std::getline(lines, line);
    std::vector<int64_t> offsets;
    for (int i = 0; i < count && std::getline(lines, line); ++i) {
        offsets.push_back(std::stoll(line.substr(0, 10)));
    }
    return offsets;
}

std::string ObjectText(const std::string& pdf, int number) {
    const std::vector<int64_t> offsets = XRefOffsets(pdf);
    if (number <= 0 || number >= static_cast<int>(offsets.size())) return {};
    const auto start = static_cast<size_t>(offsets[static_cast<size_t>(number)]);
    const size_t end = pdf.find("endobj\n", start);
    if (end == std::string::npos) return {};
    return pdf.substr(start, end + 7 - start);
}

std::string PageContent(const std::string& pdf, int page) {
    const std::string object = ObjectText(pdf, 2 * page);
    const std::string length = ObjectText(pdf, 2 * page + 1);
    const size_t data = object.find("stream\n");
    if (data == std::string::npos || length.empty()) return "<no stream>";
    const size_t size = std::stoul(length.substr(length.find('\n') + 1));
    return Inflate(object.substr(data + 7, size));
}

std::string Inflate(const std::string& compressed) {
    std::string out(1 << 24, '\0');
    uLongf outSize = out.size();
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &outSize,
                   reinterpret_cast<const Bytef*>(compressed.data()), compressed.size()) != Z_OK) {
        return "<bad stream>";
    }
    out.resize(outSize);
    return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
        lines.push_back(line);
    return lines;
}

TTempFolder::TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qm_pdf_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
}

TTempFolder::~TTempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TTempFolder::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

int RunCommand(const std::string& command, std::string& out) {
    out.clear();
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    std::array<char, 4096> buffer{};
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), got);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveTool(const std::string& name) {
    std::string out;
    return RunCommand("command -v " + name + " >/dev/null 2>&1", out) == 0;
}

TDib SolidImage(int32_t width, int32_t height, uint32_t color) {
    TDib image;
    EXPECT_TRUE(newdib(image, width, height, 24, nullptr, 0));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x)
            setpixel(image, x, y, color);
    }
    return image;
}

}  // namespace qm::test
