// Whole conversions of the shared corpus in one process: import, layout, the hidden pass and
// PDF writing into memory. Reports documents and pages per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/conversion_session.h"

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

void BM_ConvertCorpus(benchmark::State& state) {
    static const auto corpus = LoadCorpus();
    if (corpus.empty()) {
        state.SkipWithError("the shared corpus is not here");
        return;
    }
    TNoProgress progress;
    TNoMessages messages;
    int64_t documents = 0, pages = 0;
    for (auto _ : state) {
        for (const auto& bytes : corpus) {
            TConversionSession session(progress, messages);
            if (!session.OpenBytes(bytes).Imported) continue;
            std::ostringstream pdf;
            session.SavePDFFile(pdf);
            benchmark::DoNotOptimize(pdf.str().size());
            ++documents;
            pages += session.Document().GetAnzPages();
        }
    }
    state.counters["documents/s"] = benchmark::Counter(double(documents), benchmark::Counter::kIsRate);
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsRate);
    state.counters["documents"] = double(documents) / state.iterations();
    state.counters["pages"] = double(pages) / state.iterations();
}
BENCHMARK(BM_ConvertCorpus)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace qm
