// Whole conversions in one process: import, layout and PDF writing into memory. Over the shared
// corpus, and over builder-made text documents of 1, 10, 100 and 1000 pages, which show how the
// time grows with the pages. Reports documents and pages per second
// and the process's peak resident memory so far (each document size runs after the smaller
// ones, so the figure is that size's peak unless a smaller one took more; the memory script
// bench/convert_memory.sh measures each size in a process of its own).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "app/conversion_session.h"
#include "builder/long_document.h"

namespace qm {
namespace {

class TNoProgress : public TProgressSink {
  public:
    void SetProStatus(int) override {}
};
class TNoMessages : public TMessageSink {
  public:
    void ShowMessage(std::string_view, TMessageIcon) override {}
};

std::vector<std::vector<uint8_t>> LoadCorpus() {
    std::vector<std::string> paths;
    const auto dir = std::filesystem::path(QM_SHARED_DIR) / "corpus";
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        if (e.is_regular_file() && e.path().extension() == ".doc") paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::vector<uint8_t>> files;
    for (const auto& p : paths) {
        std::ifstream in(p, std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

double PeakResidentMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB on Linux
}

// Converts one document; returns its pages, or -1 when it was refused.
int64_t Convert(const std::vector<uint8_t>& bytes) {
    TNoProgress progress;
    TNoMessages messages;
    TConversionSession session(progress, messages);
    if (!session.OpenBytes(bytes).Imported) return -1;
    std::ostringstream pdf;
    session.SavePDFFile(pdf);
    benchmark::DoNotOptimize(pdf.str().size());
    return session.Document().GetAnzPages();
}

void SetRates(benchmark::State& state, int64_t documents, int64_t pages) {
    state.counters["documents/s"] =
        benchmark::Counter(double(documents), benchmark::Counter::kIsRate);
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsRate);
    state.counters["pages"] = double(pages) / double(state.iterations());
    state.counters["peak_MB"] = PeakResidentMb();
}

void BM_ConvertCorpus(benchmark::State& state) {
    static const auto corpus = LoadCorpus();
    if (corpus.empty()) {
        state.SkipWithError("the shared corpus is not here");
        return;
    }
    int64_t documents = 0, pages = 0;
    for (auto _ : state) {
        for (const auto& bytes : corpus) {
            const int64_t n = Convert(bytes);
            if (n < 0) continue;
            ++documents;
            pages += n;
        }
    }
    SetRates(state, documents, pages);
    state.counters["documents"] = double(documents) / double(state.iterations());
}
BENCHMARK(BM_ConvertCorpus)->Unit(benchmark::kMillisecond)->Iterations(3);

// A long text document of state.range(0) pages; time per page should stay the same.
void BM_ConvertPages(benchmark::State& state) {
    static std::map<int64_t, std::vector<uint8_t>> documents;
    const int64_t wanted = state.range(0);
    auto& bytes = documents[wanted];
    if (bytes.empty()) bytes = LongTextDocument(static_cast<int32_t>(wanted)).Build();
    int64_t converted = 0, pages = 0;
    for (auto _ : state) {
        const int64_t n = Convert(bytes);
        if (n < 0) {
            state.SkipWithError("the document was refused");
            return;
        }
        ++converted;
        pages += n;
    }
    SetRates(state, converted, pages);
    // Shown with a prefix: 1.5m is 1.5 milliseconds a page.
    state.counters["s/page"] = benchmark::Counter(
        double(pages), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ConvertPages)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// Corpus documents by script: ordinary Latin documents, Cyrillic ones and Chinese and Japanese
// ones (text beyond Windows-1252 is measured and drawn with fallback faces, broken by the Unicode
// rules and written with embedded font subsets). The time per page of each set shows what that
// costs next to Latin text.
const std::vector<std::vector<std::string>> kScriptSets = {
    {"53446.doc", "AIOOB-Tap.doc", "Bug50936_1.doc", "Bug50936_2.doc", "Bug52032_3.doc",
     "MarkAuthorsTable.doc", "saved-by-table.doc", "parentinvguid.doc"},
    {"o_kurs.doc", "ob_is.doc", "rasp.doc", "Bug33519.doc", "Bug46610_3.doc", "52420.doc",
     "Bug48075.doc"},
    {"TestChineseProperties.doc", "TestShiftJIS.doc", "61490.doc"},
};

void BM_ConvertScripts(benchmark::State& state) {
    static std::map<int64_t, std::vector<std::vector<uint8_t>>> sets;
    auto& files = sets[state.range(0)];
    if (files.empty()) {
        for (const std::string& name : kScriptSets.at(static_cast<size_t>(state.range(0)))) {
            std::ifstream in(std::filesystem::path(QM_SHARED_DIR) / "corpus" / name,
                             std::ios::binary);
            if (in)
                files.emplace_back(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
        }
    }
    if (files.empty()) {
        state.SkipWithError("the shared corpus is not here");
        return;
    }
    int64_t documents = 0, pages = 0;
    for (auto _ : state) {
        for (const auto& bytes : files) {
            const int64_t n = Convert(bytes);
            if (n < 0) continue;
            ++documents;
            pages += n;
        }
    }
    SetRates(state, documents, pages);
    state.counters["s/page"] = benchmark::Counter(
        double(pages), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
// 0 Latin, 1 Cyrillic, 2 Chinese and Japanese.
BENCHMARK(BM_ConvertScripts)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace qm
