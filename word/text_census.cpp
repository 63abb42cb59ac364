#include "word/text_census.h"

#include <algorithm>
#include <span>

#include "word/header_stories.h"
#include "word/word_file.h"

namespace qm {

namespace {

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

void CountStoryText(const TWordFile& file, const TCpRange& story, uint64_t cap,
                    TTextCensus& census) {
    const std::span<const uint8_t> stream = file.Main.Bytes();
    const int64_t last = story.Last;
    int64_t cp = story.First;
    while (cp <= last && census.Characters < cap) {
        TTextPos pos;
        int64_t runEnd = last + 1;
        if (file.Pieces.Count() == 0) {
            pos.Fc = static_cast<uint64_t>(file.Fib.FcMin) + static_cast<uint64_t>(cp);
        } else if (!file.Pieces.Map(cp, pos, runEnd)) {
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

TTextCensus CountDocumentText(const TWordFile& file, uint64_t cap) {
    TTextCensus census;
    CountStoryText(file, file.Stories[TStoryKind::Main].Cps, cap, census);
    for (const THeaderStory& story : FirstSectionHeaderStories(file))
        CountStoryText(file, story.Cps, cap, census);
    return census;
}

}  // namespace qm
