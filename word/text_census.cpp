#include "word/text_census.h"

#include <algorithm>
#include <span>

#include "word/import_context.h"

namespace qm {

namespace {

// [MS-DOC] 2.8.22 Plcfhdd: the first section's six stories follow the six separator stories.
constexpr int32_t kFirstSectionStory = 6;
constexpr int32_t kSectionStories = 6;

bool EndsLine(uint32_t code) {
    return code == 7 || code == 11 || code == 12 || code == 13;
}

uint64_t CountLineEnds(std::span<const uint8_t> bytes, bool wide) {
    uint64_t count = 0;
    if (!wide) {
        for (const uint8_t b : bytes)
            count += EndsLine(b) ? 1 : 0;
        return count;
    }
    // Units of 32 and above are never control codes.
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        count += bytes[i + 1] == 0 && EndsLine(bytes[i]) ? 1 : 0;
    }
    return count;
}

}  // namespace

void CountStoryText(const WordImportContext& ctx, int64_t first, int64_t last, uint64_t cap,
                    TTextCensus& census) {
    const std::span<const uint8_t> stream = ctx.mainStream.Bytes();
    int64_t cp = first;
    while (cp <= last && census.Characters < cap) {
        TTextPos pos;
        int64_t runEnd = last + 1;
        if (ctx.pieces.Count() == 0) {
            pos.Fc = static_cast<uint64_t>(ctx.fib.FcMin) + static_cast<uint64_t>(cp);
        } else if (!ctx.pieces.Map(cp, pos, runEnd)) {
            return;
        }
        if (pos.Fc > stream.size()) return;
        const uint64_t width = pos.Wide ? 2 : 1;
        const uint64_t inStream = (stream.size() - pos.Fc) / width;
        const auto wanted = static_cast<uint64_t>(std::min(runEnd, last + 1) - cp);
        const uint64_t taken = std::min({wanted, inStream, cap - census.Characters});
        census.Characters += taken;
        census.LineEnds += CountLineEnds(stream.subspan(pos.Fc, taken * width), pos.Wide);
        if (taken < wanted) return;
        cp += static_cast<int64_t>(wanted);
    }
}

TTextCensus CountDocumentText(const WordImportContext& ctx, uint64_t cap) {
    TTextCensus census;
    CountStoryText(ctx, 0, static_cast<int64_t>(ctx.fib.CcpText) - 1, cap, census);
    const int64_t base = static_cast<int64_t>(ctx.fib.CcpText) + ctx.fib.CcpFtn;
    const auto& cps = ctx.headerStories.Positions;
    for (int32_t k = kFirstSectionStory; k < kFirstSectionStory + kSectionStories; ++k) {
        if (k >= ctx.headerStories.Count()) break;
        CountStoryText(ctx, base + cps[k], base + cps[k + 1] - 1, cap, census);
    }
    return census;
}

}  // namespace qm
