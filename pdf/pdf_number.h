// The one number formatter of the PDF output. Every number the writer puts into a file goes
// through these functions: plain decimal, "-" for negatives, no "+", no separators, "." as the
// decimal point whatever the locale says.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// Appends value in decimal (std::to_chars, so the locale never matters).
void AppendInt(std::string& out, int64_t value);
std::string FormatInt(int64_t value);

// Prefixes "0" until digits has at least width characters (the cross-reference table).
std::string ZeroPad(std::string_view digits, size_t width);

// numerator / denominator (denominator > 0) rounded half away from zero to at most
// significantDigits significant digits, trailing zeros dropped, never in exponent form:
// 1/255 with 15 digits gives "0.00392156862745098". Computed exactly with integers.
std::string FormatQuotient(int64_t numerator, int64_t denominator, int significantDigits);

// One colour channel (0..255) as a PDF number: channel / 255 to 15 significant digits
// (0 -> "0", 255 -> "1", 51 -> "0.2", 178 -> "0.698039215686275").
std::string_view ColorComponent(uint8_t channel);

// Appends the red, green and blue channels of a Windows colour value (0x00BBGGRR), separated
// by single blanks.
void AppendColor(std::string& out, uint32_t color);

}  // namespace qm
