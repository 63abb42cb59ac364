// The property set stream ([MS-OLEPS] PropertySetStream): a header naming one or two property
// sets by FMTID and offset; a set is its size, its property count, and per property an id and
// the offset of its typed value from the set's start.
#include "word/summary_info.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/byte_reader.h"
#include "word/code_pages.h"

namespace qm {

namespace {

constexpr uint16_t kByteOrderMark = 0xFFFE;
// FMTID_SummaryInformation, F29F85E0-4FF9-1068-AB91-08002B27B3D9, as stored.
constexpr std::array<uint8_t, 16> kSummaryFmtid = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                                   0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
constexpr uint32_t kPidCodePage = 1;
constexpr uint32_t kPidTitle = 2;
constexpr uint32_t kPidSubject = 3;
constexpr uint32_t kPidAuthor = 4;
constexpr uint32_t kPidKeywords = 5;
constexpr uint16_t kVtI2 = 2;
constexpr uint16_t kVtLpstr = 0x1E;
constexpr uint16_t kVtLpwstr = 0x1F;
constexpr uint16_t kUtf16CodePage = 1200;
constexpr uint16_t kUtf8CodePage = 65001;

struct TPropertyRef {
    uint32_t Id = 0;
    uint32_t Offset = 0;
};

// Decodes UTF-8; a malformed sequence gives U+FFFD for its first byte.
std::u32string FromUtf8(std::span<const uint8_t> bytes) {
    std::u32string out;
    size_t i = 0;
    while (i < bytes.size() && out.size() < kMaxInfoChars) {
        const uint8_t b = bytes[i];
        const size_t length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
        char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
        bool ok = length != 0 && length <= bytes.size() - i;
        for (size_t k = 1; ok && k < length; ++k) {
            ok = (bytes[i + k] & 0xC0) == 0x80;
            c = (c << 6) | (bytes[i + k] & 0x3F);
        }
        out.push_back(ok ? c : 0xFFFD);
        i += ok ? length : 1;
    }
    return out;
}

// UTF-16LE units, surrogate pairs joined; a lone surrogate gives U+FFFD.
std::u32string FromUtf16(std::span<const uint8_t> bytes) {
    std::u32string out;
    ByteReader r(bytes);
    uint16_t unit = 0;
    while (out.size() < kMaxInfoChars && r.U16(unit)) {
        char32_t c = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            uint16_t low = 0;
            const size_t at = r.Pos();
            if (r.U16(low) && low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            } else {
                r.Seek(at);
                c = 0xFFFD;
            }
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            c = 0xFFFD;
        }
        out.push_back(c);
    }
    return out;
}

// A string up to its first NUL.
std::u32string UpToNul(std::u32string text) {
    const size_t nul = text.find(U'\0');
    if (nul != std::u32string::npos) text.resize(nul);
    return text;
}

class TPropertySet {
  public:
    TPropertySet(std::span<const uint8_t> bytes, TSummaryRead& result)
        : bytes_(bytes), result_(result) {}

    bool ReadIndex() {
        ByteReader r(bytes_);
        uint32_t size = 0;
        uint32_t count = 0;
        if (!r.U32(size) || !r.U32(count)) return false;
        // The set's own size bounds it; each property takes 8 bytes of the index.
        if (size < bytes_.size()) bytes_ = bytes_.first(size);
        r = ByteReader(bytes_);
        r.Skip(8);
        if (count > r.Remaining() / 8) return false;
        refs_.resize(count);
        for (TPropertyRef& ref : refs_) {
            r.U32(ref.Id);
            r.U32(ref.Offset);
        }
        return true;
    }

    void ReadCodePage() {
        const TPropertyRef* ref = Find(kPidCodePage);
        ByteReader r(bytes_);
        uint16_t type = 0;
        uint16_t value = 0;
        if (ref != nullptr && r.Seek(ref->Offset) && r.U16(type) && r.Skip(2) && type == kVtI2 &&
            r.U16(value))
            codePage_ = value;
    }

    // The string property id; empty when the set lacks it or it is not a string.
    std::u32string String(uint32_t id) {
        const TPropertyRef* ref = Find(id);
        if (ref == nullptr) return {};
        ByteReader r(bytes_);
        uint16_t type = 0;
        uint32_t length = 0;
        if (!r.Seek(ref->Offset) || !r.U16(type) || !r.Skip(2) || !r.U32(length) ||
            (type != kVtLpstr && type != kVtLpwstr)) {
            result_.Damaged = true;
            return {};
        }
        // VT_LPWSTR counts characters of two bytes; VT_LPSTR counts bytes.
        const uint64_t byteCount = type == kVtLpwstr ? uint64_t{length} * 2 : length;
        std::span<const uint8_t> text;
        if (byteCount > r.Remaining()) {
            result_.Damaged = true;
            r.Bytes(r.Remaining(), text);
        } else {
            r.Bytes(static_cast<size_t>(byteCount), text);
        }
        if (type == kVtLpwstr || codePage_ == kUtf16CodePage) return UpToNul(FromUtf16(text));
        if (codePage_ == kUtf8CodePage) return UpToNul(FromUtf8(text));
        return UpToNul(FromCodePage(text));
    }

  private:
    const TPropertyRef* Find(uint32_t id) const {
        const auto it = std::find_if(refs_.begin(), refs_.end(),
                                     [&](const TPropertyRef& ref) { return ref.Id == id; });
        return it == refs_.end() ? nullptr : &*it;
    }

    std::u32string FromCodePage(std::span<const uint8_t> text) {
        std::u32string out;
        TCodePageDecoder decoder;
        for (size_t i = 0; i < text.size() && out.size() < kMaxInfoChars; ++i)
            out.push_back(decoder.Decode(text[i], codePage_));
        result_.Unconverted += decoder.Unconverted();
        return out;
    }

    std::span<const uint8_t> bytes_;
    TSummaryRead& result_;
    std::vector<TPropertyRef> refs_;
    uint16_t codePage_ = kWesternCodePage;
};

}  // namespace

TSummaryRead ReadSummaryInformation(std::span<const uint8_t> stream) {
    TSummaryRead result;
    ByteReader r(stream);
    uint16_t byteOrder = 0;
    uint32_t sets = 0;
    std::span<const uint8_t> fmtid;
    uint32_t offset = 0;
    // Byte order, version, system identifier, CLSID, the set count, the first FMTID and offset.
    if (!r.U16(byteOrder) || byteOrder != kByteOrderMark || !r.Skip(2 + 4 + 16) || !r.U32(sets) ||
        sets == 0 || !r.Bytes(16, fmtid) || !r.U32(offset) || offset > stream.size()) {
        result.Damaged = true;
        return result;
    }
    if (!std::equal(fmtid.begin(), fmtid.end(), kSummaryFmtid.begin())) return result;
    TPropertySet set(stream.subspan(offset), result);
    if (!set.ReadIndex()) {
        result.Damaged = true;
        return result;
    }
    set.ReadCodePage();
    result.Info.Title = set.String(kPidTitle);
    result.Info.Subject = set.String(kPidSubject);
    result.Info.Author = set.String(kPidAuthor);
    result.Info.Keywords = set.String(kPidKeywords);
    return result;
}

}  // namespace qm
