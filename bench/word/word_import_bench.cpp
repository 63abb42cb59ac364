// Import speed: characters per second through OpenWordFile's reading, without the layout
// pass, on the corpus documents with the most text and on a builder-made 1,000-page document.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "builder/word_builder.h"
#include "word/word_import.h"

namespace qm {
namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void RunImport(benchmark::State& state, const std::vector<uint8_t>& file) {
    int64_t characters = 0;
    // Making and freeing the model is not timed.
    auto doc = std::make_unique<TDocument>();
    for (auto _ : state) {
        state.PauseTiming();
        doc = std::make_unique<TDocument>();
        std::vector<uint8_t> bytes = file;
        state.ResumeTiming();
        const TImportResult result =
            ImportWordBytes(*doc, std::move(bytes), nullptr, nullptr, TImportOptions{false, {}});
        characters += result.CharactersRead;
        benchmark::DoNotOptimize(doc->Fields.data());
    }
    state.SetItemsProcessed(characters);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}

void CorpusImport(benchmark::State& state, const char* name) {
    const auto path = std::filesystem::path(QM_SHARED_DIR) / "corpus" / name;
    if (!std::filesystem::exists(path)) {
        state.SkipWithError("corpus not found");
        return;
    }
    RunImport(state, ReadFile(path));
}

// The corpus document with the most text (133,000 characters) and the largest file (mostly
// pictures).
void BM_ImportCorpusMostText(benchmark::State& state) {
    CorpusImport(state, "parentinvguid.doc");
}
void BM_ImportCorpusLargestFile(benchmark::State& state) {
    CorpusImport(state, "ca.kwsymphony.www_education_School_Concert_Seat_Booking_Form_2011-12.doc");
}

// About 1,000 pages: 50 paragraphs of 70 characters in mixed formats per page, and a page
// break after each page.
std::vector<uint8_t> ThousandPages() {
    TWordBuilder b;
    b.Font("Times New Roman").Font("Arial");
    b.Style({0, false, 0x0FFF, "Normal", {}, sprm::Size(24)});
    for (int page = 0; page < 1000; ++page) {
        for (int para = 0; para < 50; ++para) {
            b.Text(u"The quick brown fox jumps over ");
            b.Text(u"the lazy dog", sprm::Bold());
            b.Text(u" and runs ", sprm::Italic() + sprm::FontNumber(1));
            b.Text(u"far away.\t1");
            b.Paragraph(sprm::IndentLeft(360) + sprm::SpaceAfter(120));
        }
        b.Text(u"\f");
    }
    return b.Build();
}

void BM_ImportThousandPages(benchmark::State& state) {
    static const std::vector<uint8_t> file = ThousandPages();
    RunImport(state, file);
}

BENCHMARK(BM_ImportCorpusMostText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCorpusLargestFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportThousandPages)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm
