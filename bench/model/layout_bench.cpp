// A full relayout (CompleteRefresh) of long documents built in memory: paragraphs of words
// whose characters are measured with the default font, single-column and two-column, and
// paragraphs of ideographs, which break by the line-breaking rules for every line.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <string>

#include "model/document.h"

namespace qm {
namespace {

enum class TShape { SingleColumn, TwoColumns, TwoColumnSections, Ideographs };

// Measured characters of the default font, one per code.
class TCharSet {
  public:
    explicit TCharSet(TDocument& doc) {
        const int32_t font = doc.GetNewFontIndex(doc.DefaultFontRec());
        for (int code = 32; code < 127; ++code) {
            TCharRec& ch = chars_[code];
            ch.Code = static_cast<uint8_t>(code);
            ch.FontIndex = font;
            doc.RenderChar(ch);
            if (ch.Width <= 0) ch.Width = 2.0;  // no font files: a plausible width
            if (ch.Height <= 0) ch.Height = 4.9;
        }
        chars_[9] = chars_[' '];
        chars_[9].Code = 9;
    }
    const TCharRec& operator[](char c) const { return chars_[static_cast<uint8_t>(c)]; }

  private:
    TCharRec chars_[128];
};

// Appends paragraphs of pseudo-random ideographs in sentences ending in "。", without spaces,
// until the text holds about `chars` characters.
void AddIdeographParagraphs(TDocument& doc, const TCharSet& set, std::mt19937& random,
                            size_t chars) {
    std::uniform_int_distribution<int> sentenceLength(4, 40);
    std::uniform_int_distribution<int> ideograph(0x4E00, 0x9FA5);
    std::uniform_int_distribution<int> sentences(2, 12);
    TCharRec ch = set['?'];  // measured as the '?' that stands for it
    size_t added = 0;
    while (added < chars) {
        TLineRec line;
        line.EndKind = 1;
        for (int s = sentences(random); s > 0; --s) {
            for (int i = sentenceLength(random); i > 0; --i) {
                ch.Code = static_cast<char32_t>(ideograph(random));
                line.Chars.push_back(ch);
            }
            ch.Code = U'。';
            line.Chars.push_back(ch);
        }
        added += line.Chars.size();
        doc.Fields[0].Lines.push_back(std::move(line));
    }
}

// Appends paragraphs of pseudo-random words (fixed seed per document) until the text holds
// about `chars` characters.
void AddParagraphs(TDocument& doc, const TCharSet& set, std::mt19937& random, size_t chars,
                   TShape shape) {
    if (shape == TShape::Ideographs) return AddIdeographParagraphs(doc, set, random, chars);
    std::uniform_int_distribution<int> wordLength(1, 11);
    std::uniform_int_distribution<int> letter(0, 25);
    std::uniform_int_distribution<int> words(30, 140);
    std::uniform_int_distribution<int> dice(0, 99);
    auto& lines = doc.Fields[0].Lines;
    size_t added = 0;
    int paragraph = 0;
    while (added < chars) {
        TLineRec line;
        line.EndKind = 1;
        const int count = words(random);
        if (dice(random) < 10) line.Chars.push_back(set['\t']);
        for (int w = 0; w < count; ++w) {
            const int length = wordLength(random);
            for (int i = 0; i < length; ++i) {
                const char c =
                    static_cast<char>((i == 0 && dice(random) < 8 ? 'A' : 'a') + letter(random));
                line.Chars.push_back(set[c]);
            }
            if (dice(random) < 3) line.Chars.push_back(set['-']);
            if (dice(random) < 6) line.Chars.push_back(set[',']);
            line.Chars.push_back(set[' ']);
        }
        line.Chars.back() = set['.'];
        if (dice(random) < 5) line.Para.ListKind = 2;
        line.Para.SpaceAfter = dice(random) < 50 ? 1.5 : 0.0;
        const bool columns = shape == TShape::TwoColumns ||
                             (shape == TShape::TwoColumnSections && paragraph % 8 != 7);
        if (columns) {
            line.ColumnCount = 2;
            line.ColumnSeparator = 1;
        }
        added += line.Chars.size();
        lines.push_back(std::move(line));
        ++paragraph;
    }
}

// A laid-out document of at least `pages` pages.
std::unique_ptr<TDocument> BuildDocument(int pages, TShape shape) {
    auto doc = std::make_unique<TDocument>();
    doc->Fields[0].Lines.clear();
    const TCharSet set(*doc);
    std::mt19937 random(1234);
    // Calibrate the characters per page on a short sample, then fill up to the page count.
    AddParagraphs(*doc, set, random, 40000, shape);
    doc->CompleteRefresh();
    const double perPage = 40000.0 / doc->GetAnzPages();
    while (doc->GetAnzPages() < pages) {
        const auto missing = static_cast<size_t>((pages - doc->GetAnzPages()) * perPage) + 1000;
        AddParagraphs(*doc, set, random, missing, shape);
        doc->CompleteRefresh();
    }
    return doc;
}

TDocument& CachedDocument(int pages, TShape shape) {
    static std::map<std::pair<int, TShape>, std::unique_ptr<TDocument>> cache;
    auto& slot = cache[{pages, shape}];
    if (!slot) slot = BuildDocument(pages, shape);
    return *slot;
}

void Relayout(benchmark::State& state, TShape shape) {
    TDocument& doc = CachedDocument(static_cast<int>(state.range(0)), shape);
    for (auto _ : state) {
        doc.CompleteRefresh();
        benchmark::DoNotOptimize(doc.Fields.data());
    }
    size_t lines = 0;
    size_t chars = 0;
    for (const TFieldRec& field : doc.Fields) {
        lines += field.Lines.size();
        for (const TLineRec& line : field.Lines)
            chars += line.Chars.size();
    }
    state.counters["pages"] = doc.GetAnzPages();
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["chars"] = static_cast<double>(chars);
}

// The first layout after an import: every paragraph is still one unbroken line, so every
// character moves into the line it ends up on.
void BM_FirstLayoutSingleColumn(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    TDocument& laidOut = CachedDocument(pages, TShape::SingleColumn);
    TDocument pristine;
    pristine.Fields[0].Lines.clear();
    const TCharSet set(pristine);
    std::mt19937 random(1234);
    size_t chars = 0;
    for (const TFieldRec& field : laidOut.Fields) {
        if (field.Kind != kFieldBody) continue;
        for (const TLineRec& line : field.Lines)
            chars += line.Chars.size();
    }
    AddParagraphs(pristine, set, random, chars, TShape::SingleColumn);
    for (auto _ : state) {
        state.PauseTiming();
        TDocument doc = pristine;
        state.ResumeTiming();
        doc.CompleteRefresh();
        benchmark::DoNotOptimize(doc.Fields.data());
        state.PauseTiming();
        state.counters["pages"] = doc.GetAnzPages();
        doc = TDocument{};
        state.ResumeTiming();
    }
}

void BM_RelayoutSingleColumn(benchmark::State& state) {
    Relayout(state, TShape::SingleColumn);
}
void BM_RelayoutTwoColumns(benchmark::State& state) {
    Relayout(state, TShape::TwoColumns);
}
void BM_RelayoutTwoColumnSections(benchmark::State& state) {
    Relayout(state, TShape::TwoColumnSections);
}
void BM_RelayoutIdeographs(benchmark::State& state) {
    Relayout(state, TShape::Ideographs);
}

BENCHMARK(BM_FirstLayoutSingleColumn)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayoutSingleColumn)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayoutTwoColumns)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayoutTwoColumnSections)
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayoutIdeographs)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm
