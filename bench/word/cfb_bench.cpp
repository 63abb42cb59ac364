// Opening compound files and assembling their streams: the cost should grow with the file's
// size and no faster, both for one large stream and for many small ones in the mini stream.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "builder/cfb_writer.h"
#include "cfb/compound_file.h"

namespace qm {
namespace {

using TStreams = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

std::string NumberedName(std::string_view prefix, int64_t n) {
    std::string name(prefix);
    name += std::to_string(n);
    return name;
}

std::vector<uint8_t> Filler(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + (i >> 9));
    return bytes;
}

// A Word-like file: a main stream of the given size, a table stream and a small data stream.
void BM_OpenAndReadLargeStream(benchmark::State& state) {
    const size_t mainBytes = static_cast<size_t>(state.range(0)) << 20;
    const std::vector<uint8_t> file = WriteCompoundFile(TStreams{
        {"WordDocument", Filler(mainBytes)}, {"1Table", Filler(30000)}, {"Data", Filler(3000)}});
    for (auto _ : state) {
        Result<TCompoundFile> cf = TCompoundFile::Open(file);
        for (const char* name : {"WordDocument", "1Table", "Data"}) {
            Result<TCfbStream> stream = cf->OpenStream(name);
            benchmark::DoNotOptimize(stream->Bytes().data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
    state.SetComplexityN(static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_OpenAndReadLargeStream)
    ->Arg(1)
    ->Arg(8)
    ->Arg(64)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Many streams of 1,000 bytes each, all in the mini stream, every one opened by name.
void BM_OpenManySmallStreams(benchmark::State& state) {
    TStreams streams;
    for (int64_t i = 0; i < state.range(0); ++i) {
        streams.emplace_back(NumberedName("S", i), Filler(1000));
    }
    const std::vector<uint8_t> file = WriteCompoundFile(streams);
    for (auto _ : state) {
        Result<TCompoundFile> cf = TCompoundFile::Open(file);
        for (const auto& entry : streams) {
            Result<TCfbStream> stream = cf->OpenStream(entry.first);
            benchmark::DoNotOptimize(stream->Bytes().data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
    state.SetComplexityN(static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_OpenManySmallStreams)
    ->Arg(1000)
    ->Arg(8000)
    ->Arg(64000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace qm
