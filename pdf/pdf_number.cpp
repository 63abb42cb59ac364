#include "pdf/pdf_number.h"

#include <array>
#include <charconv>
#include <cstdlib>

namespace qm {

void AppendInt(std::string& out, int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

std::string FormatInt(int64_t value) {
    std::string text;
    AppendInt(text, value);
    return text;
}

std::string ZeroPad(std::string_view digits, size_t width) {
    std::string padded;
    if (digits.size() < width) padded.assign(width - digits.size(), '0');
    padded.append(digits);
    return padded;
}

namespace {

// Keeps digits [0, keep) of a digit string, rounding half away from zero on the digit after
// them; returns true when the rounding carried out of the first digit (all kept digits were 9).
bool RoundDigits(std::string& digits, size_t keep) {
    if (keep >= digits.size()) return false;
    const bool roundUp = digits[keep] >= '5';
    digits.resize(keep);
    if (!roundUp) return false;
    for (size_t i = keep; i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

// Long division of the proper fraction remainder / denominator: its digits after the point,
// up to the first significantDigits significant ones plus one more for rounding. The whole
// part's digits count as significant. A rounding tie is possible only when the expansion ends
// at the rounding digit, so the one extra digit decides every case.
std::string FractionDigits(int64_t remainder, int64_t denominator, int significantDigits,
                           size_t wholeDigits, size_t& keep) {
    std::string digits;
    size_t firstSignificant = wholeDigits > 0 ? 0 : std::string::npos;
    const size_t sig = static_cast<size_t>(significantDigits);
    keep = wholeDigits >= sig ? 0 : sig - wholeDigits;
    while (remainder != 0) {
        if (firstSignificant != std::string::npos && digits.size() > keep) break;
        remainder *= 10;
        digits.push_back(static_cast<char>('0' + remainder / denominator));
        remainder %= denominator;
        if (firstSignificant == std::string::npos && digits.back() != '0') {
            firstSignificant = digits.size() - 1;
            keep = firstSignificant + sig;
        }
    }
    return digits;
}

}  // namespace

std::string FormatQuotient(int64_t numerator, int64_t denominator, int significantDigits) {
    const bool negative = numerator < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(numerator) : static_cast<uint64_t>(numerator);
    const auto den = static_cast<uint64_t>(denominator);
    uint64_t whole = magnitude / den;
    const size_t wholeDigits = whole == 0 ? 0 : FormatInt(static_cast<int64_t>(whole)).size();
    size_t keep = 0;
    std::string digits = FractionDigits(static_cast<int64_t>(magnitude % den), denominator,
                                        significantDigits, wholeDigits, keep);
    if (RoundDigits(digits, keep)) ++whole;
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    std::string text = negative && (whole != 0 || !digits.empty()) ? "-" : "";
    text += std::to_string(whole);
    if (!digits.empty()) text += "." + digits;
    return text;
}

namespace {

const std::array<std::string, 256>& ColorComponents() {
    static const std::array<std::string, 256> components = [] {
        std::array<std::string, 256> table;
        for (int v = 0; v < 256; ++v)
            table[v] = FormatQuotient(v, 255, 15);
        return table;
    }();
    return components;
}

}  // namespace

std::string_view ColorComponent(uint8_t channel) {
    return ColorComponents()[channel];
}

void AppendColor(std::string& out, uint32_t color) {
    out.append(ColorComponent(static_cast<uint8_t>(color & 0xFF)));
    out.push_back(' ');
    out.append(ColorComponent(static_cast<uint8_t>((color >> 8) & 0xFF)));
    out.push_back(' ');
    out.append(ColorComponent(static_cast<uint8_t>((color >> 16) & 0xFF)));
}

}  // namespace qm
