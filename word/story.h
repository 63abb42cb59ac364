// Reading a story (the main text or a header or footer) character by character into the
// model at its cursor ([MS-DOC] 2.4.1 for the CP-to-FC mapping, 2.8.25 for the control codes).
#pragma once

#include <cstdint>

namespace qm {

struct WordImportContext;

// Reads CPs first .. last (both included; nothing when last < first) at the model's cursor.
// The reading stops at a failing read (ctx.lastResult then tells why, and later stories are
// not read either) and at a CP that no piece holds.
void ReadStory(WordImportContext& ctx, int64_t first, int64_t last);

// Handles one character code read at ctx.currentCP - 1: line ends, table marks, pictures,
// field codes, and the characters that go into the model.
void HandleChar(WordImportContext& ctx, uint8_t code);

// Reads the header and footer stories of the first section into fields 1 to 6.
void ReadHeaderFooterStories(WordImportContext& ctx);

// lastResult when the import's character budget is spent.
inline constexpr int32_t kCharBudgetSpent = 100;

}  // namespace qm
