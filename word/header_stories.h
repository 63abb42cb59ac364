// The header and footer stories of the first section and the model fields they fill.
#pragma once

#include <cstdint>
#include <vector>

#include "word/story_table.h"
#include "word/word_file.h"

namespace qm {

struct THeaderStory {
    int32_t Field = 0;  // 1 first-page header, 2 first-page footer, 3 even-page header, ...
    TCpRange Cps;
};

// In reading order: the even-page header (field 3), odd-page header (5), even-page footer (4),
// odd-page footer (6), first-page header (1) and first-page footer (2). Stories the header
// story table does not hold are left out.
std::vector<THeaderStory> FirstSectionHeaderStories(const TWordFile& file);

// The header and footer stories of later sections that hold text: they are not read (the first
// section's headers and footers stand on every page).
int64_t LaterSectionHeaderStories(const TWordFile& file);

}  // namespace qm
