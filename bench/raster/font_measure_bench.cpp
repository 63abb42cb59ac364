// Measuring a document's worth of characters: one million characters of mixed text in runs of a
// dozen fonts (three faces, two styles, a few sizes), as the importer measures them on insertion.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "raster/font.h"

namespace qm {
namespace {

constexpr size_t kDocumentChars = 1'000'000;

struct TRun {
    TFont Full;
    TFont Reduced;  // the size the width is measured with (the same unless super/subscript)
    std::u32string Text;
};

std::vector<TRun> MakeDocument() {
    const char* const kNames[] = {"Times New Roman", "Arial", "Calibri"};
    const double kSizes[] = {9.0, 10.0, 11.0, 12.0, 14.0, 18.0};
    const char32_t* const kWords[] = {
        U"the",  U"quick",        U"brown",       U"fox",         U"jumps",
        U"over", U"lazy",         U"dog",         U"and",         U"\u201Cquoted\u201D",
        U"text", U"\u20AC100,00", U"Stra\u00DFe", U"M\u00FCller", U"of",
        U"a"};
    std::mt19937 random(4711);
    std::vector<TRun> runs;
    size_t chars = 0;
    while (chars < kDocumentChars) {
        const char* name = kNames[random() % 3];
        double size = kSizes[random() % 6];
        uint8_t style = random() % 4 == 0 ? kStyleBold : 0;
        bool superscript = random() % 20 == 0;
        TRun run;
        run.Full = selfont(name, 600, 100.0, size, style, 0);
        run.Reduced = superscript ? selfont(name, 600, 100.0, size * 0.6, style, 0) : run.Full;
        size_t length = 20 + random() % 200;
        while (run.Text.size() < length) {
            run.Text += kWords[random() % std::size(kWords)];
            run.Text += U' ';
        }
        chars += run.Text.size();
        runs.push_back(std::move(run));
    }
    return runs;
}

// Each character on its own, width from the reduced font and height from the full one.
void BM_MeasureEachCharacter(benchmark::State& state) {
    std::vector<TRun> runs = MakeDocument();
    size_t chars = 0;
    for (const TRun& run : runs)
        chars += run.Text.size();
    for (auto _ : state) {
        int64_t total = 0;
        for (const TRun& run : runs) {
            for (size_t i = 0; i < run.Text.size(); ++i) {
                std::u32string_view ch(run.Text.data() + i, 1);
                total += TextWidth(run.Reduced, ch) + TextHeight(run.Full, ch);
            }
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * chars));
}
BENCHMARK(BM_MeasureEachCharacter)->Unit(benchmark::kMillisecond);

// As above, but creating the two fonts for every character the way the font rule's measuring
// does (name look-up included).
void BM_CreateFontsAndMeasureEachCharacter(benchmark::State& state) {
    std::vector<TRun> runs = MakeDocument();
    size_t chars = 0;
    for (const TRun& run : runs)
        chars += run.Text.size();
    for (auto _ : state) {
        int64_t total = 0;
        for (const TRun& run : runs) {
            const std::string& name = run.Full.RequestedName();
            double size = run.Full.PixelSize() * 72.0 / 600;
            uint8_t style = run.Full.Weight() == 700 ? kStyleBold : 0;
            for (size_t i = 0; i < run.Text.size(); ++i) {
                std::u32string_view ch(run.Text.data() + i, 1);
                TFont full = selfont(name, 600, 100.0, size, style, 0);
                TFont reduced = selfont(name, 600, 100.0, size * 0.6, style, 0);
                total += TextWidth(reduced, ch) + TextHeight(full, ch);
            }
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * chars));
}
BENCHMARK(BM_CreateFontsAndMeasureEachCharacter)->Unit(benchmark::kMillisecond);

// Whole runs at once, as the preview measures text runs for underlines.
void BM_MeasureRuns(benchmark::State& state) {
    std::vector<TRun> runs = MakeDocument();
    size_t chars = 0;
    for (const TRun& run : runs)
        chars += run.Text.size();
    for (auto _ : state) {
        int64_t total = 0;
        for (const TRun& run : runs)
            total += TextExtent(run.Full, run.Text).Cx;
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * chars));
}
BENCHMARK(BM_MeasureRuns)->Unit(benchmark::kMillisecond);

// The first measurement of a face at a new size: what a cache miss costs.
void BM_FirstMeasureAtNewSize(benchmark::State& state) {
    int32_t dpi = 1000;
    for (auto _ : state) {
        TFont font = selfont("Times New Roman", ++dpi, 100.0, 12, 0, 0);
        benchmark::DoNotOptimize(TextWidth(font, U"a"));
    }
}
BENCHMARK(BM_FirstMeasureAtNewSize)->Iterations(500);

// Runs of Cyrillic, whose code points lie beyond Windows-1252: each is looked up in the face's
// Unicode map once and kept.
void BM_MeasureRunsBeyondWindows1252(benchmark::State& state) {
    const std::u32string text =
        U"\u0421\u044A\u0435\u0448\u044C \u0436\u0435 "
        U"\u0435\u0449\u0451 \u044D\u0442\u0438\u0445 "
        U"\u043C\u044F\u0433\u043A\u0438\u0445 ";
    const TFont font = selfont("Times New Roman", 600, 100.0, 12, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(TextExtent(font, text).Cx);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_MeasureRunsBeyondWindows1252);

}  // namespace
}  // namespace qm
