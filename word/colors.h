// Word's colour indexes (Ico) and the blend of a shading pattern
// (Shd80), as Windows colour values 0x00BBGGRR.
#pragma once

#include <cstdint>
#include <span>

namespace qm {

// The colour of index ico (1 black .. 16 light grey); any other index gives fallback
// (index 0, "automatic", is black for text).
int32_t IcoColor(uint32_t ico, int32_t fallback = 0);

// The percentage of the foreground colour that a shading pattern (ipat) shows; 0 for patterns
// the program does not know.
double ShadingPercent(uint32_t pattern);

// Each channel := trunc((fore * p + back * (100 - p)) / 100).
int32_t BlendShading(int32_t fore, int32_t back, uint32_t pattern);

// The colour a 16-bit shading value gives (bits 0-4 foreground, 5-9 background index, 10-15
// pattern); false when both indexes are 0 (no shading).
bool ShadingColor(uint16_t shd, int32_t& color);
// The colour a 10-byte SHD gives (cvFore and cvBack as COLORREFs, whose top byte 0xFF says
// "automatic", then the pattern ipat); -1 for no shading: a nil pattern, a clear pattern on an
// automatic background, or an operand too short.
int32_t ShadingColor24(std::span<const uint8_t> shd);
// The colour of a COLORREF (0x00BBGGRR); `automatic` where its top byte is 0xFF ("auto").
int32_t ColorRefColor(uint32_t cv, int32_t automatic);

}  // namespace qm
