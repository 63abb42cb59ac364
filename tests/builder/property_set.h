// Writes OLE property set streams for tests: the summary information ("\005SummaryInformation")
// with a code page and string properties.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm {

// Property ids of the summary information.
inline constexpr uint32_t kSummaryTitle = 2;
inline constexpr uint32_t kSummarySubject = 3;
inline constexpr uint32_t kSummaryAuthor = 4;
inline constexpr uint32_t kSummaryKeywords = 5;

// A string property: 8-bit (VT_LPSTR; Bytes as stored, in the set's code page, a NUL is added)
// or UTF-16 (VT_LPWSTR; Wide).
struct TSummaryString {
    uint32_t Id = 0;
    std::string Bytes;
    std::u16string Wide;
    bool IsWide = false;
};

// The stream of one property set with the summary information's FMTID: the code page property
// (VT_I2) when given, then the strings in order.
std::vector<uint8_t> SummaryInformationStream(std::optional<uint16_t> codePage,
                                              const std::vector<TSummaryString>& strings);

}  // namespace qm
