#include "word/header_stories.h"

#include <algorithm>

namespace qm {

namespace {

// Plcfhdd: stories 0 to 5 are the separators; each section then has six, in the order even
// header, odd header, even footer, odd footer, first header, first footer.
constexpr int32_t kFirstSectionStory = 6;
constexpr int32_t kStoriesPerSection = 6;

// The field of each of the first section's stories, in the file's order.
constexpr int32_t kStoryFields[6] = {3, 5, 4, 6, 1, 2};

}  // namespace

std::vector<THeaderStory> FirstSectionHeaderStories(const TWordFile& file) {
    std::vector<THeaderStory> stories;
    // The header text starts after the main text and the footnotes.
    const int64_t base = file.Stories[TStoryKind::Headers].Cps.First;
    const auto& cps = file.HeaderStories.Positions;
    for (int32_t slot = 0; slot < 6; ++slot) {
        const int32_t k = kFirstSectionStory + slot;
        if (k >= file.HeaderStories.Count()) break;
        stories.push_back({kStoryFields[slot], {base + cps[k], base + cps[k + 1] - 1}});
    }
    return stories;
}

int64_t LaterSectionHeaderStories(const TWordFile& file) {
    const auto& cps = file.HeaderStories.Positions;
    // Each section has its six; a story after the last section's holds the header text's
    // closing paragraph mark.
    const int64_t sectionStories =
        kFirstSectionStory + int64_t{kStoriesPerSection} * file.Sections.Sections().Count();
    const int64_t end = std::min<int64_t>(file.HeaderStories.Count(), sectionStories);
    int64_t count = 0;
    for (int64_t k = kFirstSectionStory + kStoriesPerSection; k < end; ++k)
        count += cps[k + 1] > cps[k] ? 1 : 0;
    return count;
}

}  // namespace qm
