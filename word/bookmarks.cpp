#include "word/bookmarks.h"

#include <algorithm>

#include "base/byte_reader.h"
#include "word/plc.h"
#include "word/utf8.h"

namespace qm {

namespace {

// An STTB of UTF-16 strings begins with this word (fExtend).
constexpr uint16_t kExtendedSttb = 0xFFFF;

// The names of an extended STTB: a count, the size of each string's extra data, then per
// string a 16-bit length, that many UTF-16 units and the extra data.
std::vector<std::string> ReadNames(std::span<const uint8_t> stream, uint32_t fc, uint32_t lcb) {
    std::vector<std::string> names;
    if (fc > stream.size()) return names;
    ByteReader r(stream.subspan(fc, std::min<size_t>(lcb, stream.size() - fc)));
    uint16_t extend = 0;
    uint16_t count = 0;
    uint16_t extra = 0;
    if (!r.U16(extend) || extend != kExtendedSttb || !r.U16(count) || !r.U16(extra)) return names;
    // Each string takes at least its length word.
    names.reserve(std::min<size_t>(count, r.Remaining() / 2));
    for (uint16_t i = 0; i < count; ++i) {
        uint16_t length = 0;
        if (!r.U16(length) || size_t{length} * 2 > r.Remaining()) break;
        std::string name;
        for (uint16_t k = 0; k < length; ++k) {
            uint16_t unit = 0;
            r.U16(unit);
            AppendUtf8(name, unit);
        }
        if (!r.Skip(extra)) break;
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace

std::vector<TBookmark> ReadBookmarks(std::span<const uint8_t> tableStream, const TFib& fib) {
    const std::vector<std::string> names =
        ReadNames(tableStream, fib.FcSttbfBkmk, fib.LcbSttbfBkmk);
    // PlcfBkf's records are FBKF: the index of the bookmark's end and its column flags.
    const Plc<char> starts =
        ReadPlc<char>(tableStream, fib.FcPlcfBkf, fib.LcbPlcfBkf, 4, [](ByteReader&, char&) {});
    std::vector<TBookmark> bookmarks;
    const size_t count = std::min<size_t>(names.size(), static_cast<size_t>(starts.Count()));
    bookmarks.reserve(count);
    for (size_t i = 0; i < count; ++i)
        bookmarks.push_back(TBookmark{starts.Positions[i], names[i]});
    std::stable_sort(bookmarks.begin(), bookmarks.end(),
                     [](const TBookmark& a, const TBookmark& b) { return a.Cp < b.Cp; });
    return bookmarks;
}

}  // namespace qm
