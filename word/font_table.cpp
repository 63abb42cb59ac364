#include "word/font_table.h"

#include <algorithm>
#include <iterator>

#include "base/byte_reader.h"
#include "base/cp1252.h"
#include "raster/font.h"

namespace qm {

namespace {

// FFN: the face name starts 40 bytes into the entry; ixchSzAlt, 5 bytes in, says where in it
// an alternative name starts (0: none).
constexpr size_t kFaceNameOffset = 40;
constexpr size_t kAltNameIndexOffset = 5;
// The FFID, 1 byte in: the pitch (prq) in bits 0-1, the family (ff) in bits 4-6.
constexpr size_t kFfidOffset = 1;
constexpr uint8_t kFixedPitch = 1;
// The FFN's chs, 4 bytes in, and the East Asian character sets (SHIFTJIS, HANGUL, JOHAB,
// GB2312, CHINESEBIG5).
constexpr size_t kCharsetOffset = 4;
constexpr uint8_t kEastAsianCharsets[] = {128, 129, 130, 134, 136};
constexpr uint8_t kLastKnownFamily = kFamilyDecorative;

// The name starting `first` characters into the face names; false when Windows-1252 lacks one
// of its characters.
bool ReadName(std::span<const uint8_t> entry, size_t first, std::string& name) {
    name.clear();
    bool exact = true;
    ByteReader r(entry.subspan(kFaceNameOffset));
    uint16_t unit = 0;
    if (!r.Skip(2 * first)) return false;
    while (r.U16(unit) && unit != 0) {
        uint8_t code = 0;
        exact = Cp1252FromUnicode(unit, code) && exact;
        name.push_back(static_cast<char>(code));
    }
    return exact;
}

// A name in a script Windows-1252 cannot show gives way to the alternative name, which Word
// writes in Latin letters for such fonts.
std::string ReadFaceName(std::span<const uint8_t> entry) {
    std::string name;
    if (entry.size() <= kFaceNameOffset) return name;
    const uint8_t alt = entry[kAltNameIndexOffset];
    std::string altName;
    if (!ReadName(entry, 0, name) && alt != 0 && ReadName(entry, alt, altName) && !altName.empty())
        return altName;
    return name;
}

// A fixed-pitch face stands with the modern (monospace) family whatever its ff says, since a
// proportional stand-in would break its columns; an ff beyond the known ones is unknown. East
// Asian faces name no class: their fixed pitch is that of full-width ideographs, while their
// Latin letters are half as wide, nothing like a Latin monospace face.
uint8_t ReadFamilyClass(std::span<const uint8_t> entry) {
    if (entry.size() <= kFfidOffset) return kFamilyUnknown;
    if (entry.size() > kCharsetOffset &&
        std::find(std::begin(kEastAsianCharsets), std::end(kEastAsianCharsets),
                  entry[kCharsetOffset]) != std::end(kEastAsianCharsets))
        return kFamilyUnknown;
    const uint8_t ffid = entry[kFfidOffset];
    if ((ffid & 3) == kFixedPitch) return kFamilyModern;
    const uint8_t ff = (ffid >> 4) & 7;
    return ff <= kLastKnownFamily ? ff : kFamilyUnknown;
}

// The Word 6 FFN: the name after cbFfnM1, the FFID, the weight, chs and ixchSzAlt.
constexpr size_t kWord6FaceNameOffset = 6;

// The face name of a Word 6 entry; 8-bit characters are taken as Windows-1252, which the names
// of the fonts Word 6 knew are written in.
std::string ReadWord6FaceName(std::span<const uint8_t> entry) {
    std::string name;
    for (size_t i = kWord6FaceNameOffset; i < entry.size() && entry[i] != 0; ++i)
        name.push_back(static_cast<char>(entry[i]));
    return name;
}

}  // namespace

std::vector<TFontTableEntry> ReadWord6FontTable(std::span<const uint8_t> mainStream, uint32_t fc,
                                                uint32_t lcb, std::vector<uint8_t>& charsets) {
    std::vector<TFontTableEntry> fonts;
    charsets.clear();
    ByteReader r(mainStream);
    uint16_t size = 0;
    if (!r.Seek(fc) || !r.U16(size)) return fonts;
    // The table ends at its own size, within the stream and the FIB's length.
    const size_t end = std::min<size_t>(static_cast<size_t>(fc) + std::min<uint32_t>(size, lcb),
                                        mainStream.size());
    while (r.Pos() < end) {
        const size_t start = r.Pos();
        uint8_t cbFfnM1 = 0;
        std::span<const uint8_t> entry;
        if (!r.U8(cbFfnM1) || cbFfnM1 + 1u > end - start || !r.Seek(start) ||
            !r.Bytes(cbFfnM1 + 1u, entry))
            break;
        fonts.push_back({ReadWord6FaceName(entry), ReadFamilyClass(entry)});
        charsets.push_back(entry.size() > kCharsetOffset ? entry[kCharsetOffset] : 0);
    }
    return fonts;
}

std::vector<TFontTableEntry> ReadFontTable(std::span<const uint8_t> tableStream,
                                           uint32_t fcSttbfffn) {
    std::vector<TFontTableEntry> names;
    ByteReader r(tableStream);
    uint16_t count = 0;
    // The 16-bit count is followed by the size of extra data, which a font table leaves 0.
    if (!r.Seek(fcSttbfffn) || !r.U16(count) || !r.Skip(2)) return names;
    for (uint16_t i = 0; i < count; ++i) {
        // Each entry starts with its size minus one.
        const size_t start = r.Pos();
        uint8_t cbFfnM1 = 0;
        std::span<const uint8_t> entry;
        if (!r.U8(cbFfnM1) || !r.Seek(start) || !r.Bytes(cbFfnM1 + 1u, entry)) break;
        names.push_back({ReadFaceName(entry), ReadFamilyClass(entry)});
    }
    return names;
}

}  // namespace qm
