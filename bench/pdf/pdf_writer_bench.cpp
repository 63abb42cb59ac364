// Writing a dense 100-page document: every character its own text object, as the page drawing
// produces it. Compares the whole write with zlib alone on the same page contents; the
// writer's own work (everything but deflate) should stay under a quarter of the total.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <ctime>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "pdf/pdf_canvas.h"

namespace qm {
namespace {

constexpr int kPages = 100;
constexpr int kLinesPerPage = 40;
constexpr int kCharsPerLine = 75;  // 3,000 characters per page

// Discards what it is given, as a fast disk would.
class TNullBuffer : public std::streambuf {
  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

// Varied text so that deflate sees something like real prose.
std::string PageText(int page) {
    static const char kWords[] =
        "the quick brown fox jumps over a lazy dog while seven wizards quietly vex "
        "jumbo kings and (parenthesised) words, numbers 1234567890 and caf\xE9 cr\xE8me ";
    const std::string words(kWords);
    std::string text;
    for (int i = 0; i < kLinesPerPage * kCharsPerLine; ++i) {
        text.push_back(
            words[(static_cast<size_t>(i) * 7 + static_cast<size_t>(page) * 131) % words.size()]);
    }
    return text;
}

// One page as the page drawing writes it: the field's background, then each character as its
// own string at its laid-out position, with a font switch for a heading and emphasised words.
void DrawDensePage(TPDFCanvas& canvas, const std::string& text) {
    canvas.PageWidth = 615;
    canvas.PageHeight = 861;
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = 0xFFFFFF;
    canvas.FillRect(70, 70, 545, 791);
    for (int line = 0; line < kLinesPerPage; ++line) {
        const int32_t y = 70 + line * 17;
        int32_t x = 70;
        canvas.Font.Name = line == 0 ? "Arial" : "Times New Roman";
        canvas.Font.Size = line == 0 ? 14 : 12;
        for (int i = 0; i < kCharsPerLine; ++i) {
            const char ch = text[static_cast<size_t>(line * kCharsPerLine + i)];
            canvas.Font.Style = (i / 12) % 5 == 4 ? kStyleBold : 0;
            canvas.Font.Color = (i / 30) % 4 == 3 ? 0x800000 : 0;
            canvas.TextOut(x, y, std::string_view(&ch, 1));
            x += 6;
        }
    }
}

void WriteDocument(std::ostream& stream, const std::vector<std::string>& pages) {
    TPDFCanvas canvas;
    if (!canvas.BeginDoc(stream)) std::abort();
    for (int page = 0; page < kPages; ++page) {
        if (page > 0) canvas.NextPage();
        DrawDensePage(canvas, pages[static_cast<size_t>(page)]);
    }
    if (!canvas.EndDoc()) std::abort();
}

const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> all;
        for (int page = 0; page < kPages; ++page)
            all.push_back(PageText(page));
        return all;
    }();
    return texts;
}

// The uncompressed content streams of the document, taken back out of a written file.
const std::vector<std::string>& Contents() {
    static const std::vector<std::string> contents = [] {
        std::ostringstream stream;
        WriteDocument(stream, Texts());
        const std::string pdf = stream.str();
        std::vector<std::string> all;
        size_t pos = 0;
        while ((pos = pdf.find("/Filter /FlateDecode >>\nstream\n", pos)) != std::string::npos) {
            pos += 31;
            const size_t end = pdf.find("\nendstream\n", pos);
            std::string out(1 << 22, '\0');
            uLongf size = out.size();
            uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                       reinterpret_cast<const Bytef*>(pdf.data() + pos), end - pos);
            out.resize(size);
            all.push_back(out);
        }
        return all;
    }();
    return contents;
}

size_t DeflateAll(const std::vector<std::string>& contents, std::string& buffer) {
    size_t total = 0;
    for (const std::string& content : contents) {
        buffer.resize(compressBound(content.size()));
        uLongf size = buffer.size();
        compress2(reinterpret_cast<Bytef*>(buffer.data()), &size,
                  reinterpret_cast<const Bytef*>(content.data()), content.size(), 9);
        total += size;
    }
    return total;
}

void SetPageCounters(benchmark::State& state) {
    state.counters["pages_per_s"] = benchmark::Counter(
        static_cast<double>(kPages), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_WriteDenseDocument(benchmark::State& state) {
    const auto& texts = Texts();
    TNullBuffer sink;
    std::ostream stream(&sink);
    for (auto _ : state)
        WriteDocument(stream, texts);
    SetPageCounters(state);
    size_t bytes = 0;
    for (const std::string& content : Contents())
        bytes += content.size();
    state.counters["content_bytes_per_page"] = static_cast<double>(bytes) / kPages;
}
BENCHMARK(BM_WriteDenseDocument)->Unit(benchmark::kMillisecond);

void BM_WriteDenseDocumentToFile(benchmark::State& state) {
    const auto& texts = Texts();
    const std::string path = "/tmp/qm_pdf_bench_" + std::to_string(getpid()) + ".pdf";
    for (auto _ : state) {
        TPDFCanvas canvas;
        if (!canvas.BeginDoc(path)) std::abort();
        for (int page = 0; page < kPages; ++page) {
            if (page > 0) canvas.NextPage();
            DrawDensePage(canvas, texts[static_cast<size_t>(page)]);
        }
        if (!canvas.EndDoc()) std::abort();
    }
    std::remove(path.c_str());
    SetPageCounters(state);
}
BENCHMARK(BM_WriteDenseDocumentToFile)->Unit(benchmark::kMillisecond);

// The drawing operations alone: the hundred pages' text drawn onto one open page, the document
// then abandoned, so that no deflate runs and the per-character path (text state, font lookup,
// escaping) is what is timed.
void BM_DrawTextOnly(benchmark::State& state) {
    const auto& texts = Texts();
    TNullBuffer sink;
    std::ostream stream(&sink);
    for (auto _ : state) {
        TPDFCanvas canvas;
        if (!canvas.BeginDoc(stream)) std::abort();
        for (int page = 0; page < kPages; ++page)
            DrawDensePage(canvas, texts[static_cast<size_t>(page)]);
    }
    state.counters["chars_per_s"] =
        benchmark::Counter(static_cast<double>(kPages * kLinesPerPage * kCharsPerLine),
                           benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DrawTextOnly)->Unit(benchmark::kMillisecond);

// zlib alone on exactly the page contents the writer compresses.
void BM_DeflateContentsOnly(benchmark::State& state) {
    const auto& contents = Contents();
    std::string buffer;
    for (auto _ : state)
        benchmark::DoNotOptimize(DeflateAll(contents, buffer));
    SetPageCounters(state);
}
BENCHMARK(BM_DeflateContentsOnly)->Unit(benchmark::kMillisecond);

// This thread's processor time in seconds: the machine may be shared, so wall time would
// count other programs' work.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Both in one run, for the share of the total that is zlib's.
void BM_ZlibShare(benchmark::State& state) {
    const auto& texts = Texts();
    const auto& contents = Contents();
    TNullBuffer sink;
    std::ostream stream(&sink);
    std::string buffer;
    double writeSeconds = 0;
    double deflateSeconds = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        WriteDocument(stream, texts);
        const double middle = ThreadSeconds();
        benchmark::DoNotOptimize(DeflateAll(contents, buffer));
        const double end = ThreadSeconds();
        writeSeconds += middle - start;
        deflateSeconds += end - middle;
    }
    state.counters["zlib_share_pct"] = 100.0 * deflateSeconds / writeSeconds;
    state.counters["writer_share_pct"] = 100.0 * (writeSeconds - deflateSeconds) / writeSeconds;
}
BENCHMARK(BM_ZlibShare)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// One page of 3,000 characters given as code points, each its own text object as the page
// drawing writes them, and the document finished: Windows-1252 text in its simple font, against
// the same amount of Cyrillic (a Type 0 font of a TrueType face) and of CJK (a Type 0 font of a
// compact font format face), whose subsets are made when the document ends. Argument: 0
// WinAnsi, 1 Cyrillic, 2 CJK; the second argument 1 embeds the simple fonts as well.
void BM_TextPageByFontKind(benchmark::State& state) {
    static const std::u32string kAlphabets[] = {
        U"the quick brown fox jumps over a lazy dog caf\u00e9 cr\u00e8me ",
        U"\u0441\u044a\u0435\u0448\u044c \u0436\u0435 \u0435\u0449\u0451 \u044d\u0442\u0438\u0445 "
        U"\u043c\u044f\u0433\u043a\u0438\u0445 "
        U"\u0444\u0440\u0430\u043d\u0446\u0443\u0437\u0441\u043a\u0438\u0445 ",
        U"\u65e5\u672c\u8a9e\u306e\u6587\u7ae0\u3092\u66f8\u304f\u3068\u304d\u306b\u4f7f\u3046"
        U"\u6f22\u5b57\u3068"
        U"\u4eee\u540d\u306e\u4f8b\u3067\u3059\u3002",
    };
    static const char* const kFaces[] = {"Times New Roman", "Times New Roman", "Noto Sans CJK JP"};
    const auto kind = static_cast<size_t>(state.range(0));
    const std::u32string& alphabet = kAlphabets[kind];
    TNullBuffer sink;
    std::ostream stream(&sink);
    for (auto _ : state) {
        TPDFCanvas canvas;
        canvas.SetEmbedFonts(state.range(1) != 0);
        if (!canvas.BeginDoc(stream)) std::abort();
        canvas.Font.Name = kFaces[kind];
        canvas.Font.Size = 12;
        for (int line = 0; line < kLinesPerPage; ++line) {
            for (int i = 0; i < kCharsPerLine; ++i) {
                const size_t at =
                    static_cast<size_t>(line * kCharsPerLine + i) * 7 % alphabet.size();
                canvas.TextOut(70 + i * 6, 70 + line * 17, std::u32string_view(&alphabet[at], 1));
            }
        }
        if (!canvas.EndDoc()) std::abort();
    }
    state.counters["chars_per_s"] =
        benchmark::Counter(static_cast<double>(kLinesPerPage * kCharsPerLine),
                           benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_TextPageByFontKind)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm
