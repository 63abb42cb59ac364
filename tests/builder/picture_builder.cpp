#include "builder/picture_builder.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "builder/byte_put.h"

namespace qm {

namespace {

// Grows first and copies after: g++ -O3 reports false bounds errors for inserting a range
// into a vector whose size it has worked out.
void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
    const size_t at = out.size();
    out.resize(at + bytes.size());
    if (!bytes.empty()) std::memcpy(out.data() + at, bytes.data(), bytes.size());
}
void Fill(std::vector<uint8_t>& out, size_t n, uint8_t value) {
    out.resize(out.size() + n, value);
}

// An OfficeArt record header: version and instance, type, length.
void Header(std::vector<uint8_t>& out, uint8_t version, uint16_t instance, uint16_t type,
            uint32_t length) {
    Put16(out, static_cast<uint16_t>(version | (instance << 4)));
    Put16(out, type);
    Put32(out, length);
}

uint16_t BlipType(TStoredKind kind) {
    switch (kind) {
        case TStoredKind::Jpeg:
            return 0xF01D;
        case TStoredKind::Png:
            return 0xF01E;
        case TStoredKind::Metafile:
            return 0xF01B;
        case TStoredKind::Emf:
            return 0xF01A;
        case TStoredKind::Pict:
            return 0xF01C;
        case TStoredKind::Dib:
            return 0xF01F;
    }
    return 0;
}

uint16_t BlipInstance(const TStoredPicture& p) {
    static constexpr uint16_t kBase[] = {0x46A, 0x6E0, 0x216, 0x3D4, 0x542, 0x7A8};
    return static_cast<uint16_t>(kBase[static_cast<int>(p.Kind)] + (p.TwoUids ? 1 : 0));
}

bool MetafileKind(TStoredKind kind) {
    return kind == TStoredKind::Metafile || kind == TStoredKind::Emf || kind == TStoredKind::Pict;
}

std::vector<uint8_t> BlipBody(const TStoredPicture& p) {
    // Room for everything up front: g++ -O3 misreads the copy a vector makes as it grows.
    std::vector<uint8_t> body;
    body.reserve(64 + 2 * p.Bytes.size() + 16);
    Fill(body, p.TwoUids ? 32 : 16, 0x5A);  // the identifiers
    if (!MetafileKind(p.Kind)) {
        Put8(body, 0xFF);  // tag
        Append(body, p.Bytes);
        return body;
    }
    const std::vector<uint8_t> data = p.CompressMetafile ? ZlibStored(p.Bytes) : p.Bytes;
    Put32(body, static_cast<uint32_t>(p.Bytes.size()));
    for (int32_t v : p.Bounds)
        Put32(body, static_cast<uint32_t>(v));
    Put32(body, 914400);  // the size in EMUs: one inch by one inch
    Put32(body, 914400);
    Put32(body, static_cast<uint32_t>(data.size()));
    Put8(body, p.CompressMetafile ? 0x00 : 0xFE);
    Put8(body, 0xFE);  // filter: none
    Append(body, data);
    return body;
}

std::vector<uint8_t> StoreEntry(const TStoredPicture& p, const std::vector<uint8_t>& blip) {
    std::vector<uint8_t> name;
    name.reserve(2 * p.StoreName.size() + 2);
    for (char c : p.StoreName)
        Put16(name, static_cast<uint8_t>(c));
    if (!p.StoreName.empty()) Put16(name, 0);
    std::vector<uint8_t> body;
    body.reserve(36 + name.size() + blip.size());
    // The store entry's kind (MSOBLIPTYPE): JPEG 5, PNG 6, WMF 3, EMF 2, PICT 4, DIB 7.
    static constexpr uint8_t kBlipKinds[] = {5, 6, 3, 2, 4, 7};
    const uint8_t blipKind = kBlipKinds[static_cast<int>(p.Kind)];
    Put8(body, blipKind);
    Put8(body, blipKind);
    Fill(body, 16, 0x5A);                             // the identifier
    Put16(body, 0xFF);                                // tag
    Put32(body, static_cast<uint32_t>(blip.size()));  // size of the picture record
    Put32(body, 1);                                   // references
    Put32(body, 0);                                   // foDelay
    Put8(body, 0);
    Put8(body, static_cast<uint8_t>(name.size()));
    Put8(body, 0);
    Put8(body, 0);
    Append(body, name);
    Append(body, blip);
    std::vector<uint8_t> record;
    record.reserve(8 + body.size());
    Header(record, 2, blipKind, 0xF007, static_cast<uint32_t>(body.size()));
    Append(record, body);
    return record;
}

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PngChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    PutBE32(png, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed;
    typed.reserve(4 + data.size());
    typed.assign(type, type + 4);
    Append(typed, data);
    Append(png, typed);
    PutBE32(png, Crc32(typed.data(), typed.size()));
}

}  // namespace

std::vector<uint8_t> StorePicture(const TStoredPicture& p) {
    std::vector<uint8_t> blip;
    blip.reserve(8 + 96 + 2 * p.Bytes.size() + 16);
    const std::vector<uint8_t> body = BlipBody(p);
    Header(blip, 0, BlipInstance(p), BlipType(p.Kind), static_cast<uint32_t>(body.size()));
    Append(blip, body);

    std::vector<uint8_t> records;
    records.reserve(128 + blip.size() + 2 * p.StoreName.size());
    Header(records, 0xF, 0, 0xF004, 8 + 8 + 8);  // shape container: shape and empty options
    Header(records, 2, 0x4B, 0xF00A, 8);
    Put32(records, 1025);
    Put32(records, 0xA00);
    Header(records, 3, 0, 0xF00B, 0);
    Append(records, p.StoreEntry ? StoreEntry(p, blip) : blip);

    // The picture header: lcb, cbHeader, mm, then dxaGoal, dyaGoal, mx and my at offset 28.
    constexpr size_t kPicfBytes = 68;
    std::vector<uint8_t> picf;
    picf.reserve(kPicfBytes + records.size());
    Put32(picf, static_cast<uint32_t>(kPicfBytes + records.size()));
    Put16(picf, static_cast<uint16_t>(kPicfBytes));
    Put16(picf, p.Mm);
    Fill(picf, 28 - picf.size(), 0);
    for (uint16_t v : {p.DxaGoal, p.DyaGoal, p.Mx, p.My})
        Put16(picf, v);
    Fill(picf, kPicfBytes - picf.size(), 0);
    Append(picf, records);
    return picf;
}

std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
    constexpr size_t kBlock = 65535;
    std::vector<uint8_t> out;
    out.reserve(raw.size() + 5 * (raw.size() / kBlock + 1) + 6);
    out.push_back(0x78);
    out.push_back(0x01);
    size_t pos = 0;
    do {
        const size_t n = std::min(kBlock, raw.size() - pos);
        const bool last = pos + n == raw.size();
        Put8(out, last ? 1 : 0);
        Put16(out, static_cast<uint16_t>(n));
        Put16(out, static_cast<uint16_t>(~n));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                   raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBE32(out, (b << 16) | a);
    return out;
}

std::vector<uint8_t> MakePng(uint32_t width, uint32_t height, const std::vector<uint32_t>& rgb) {
    std::vector<uint8_t> png;
    png.reserve(64 + rgb.size() * 3 + height * 6 + 16);
    png.assign({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
    std::vector<uint8_t> ihdr;
    ihdr.reserve(13);
    PutBE32(ihdr, width);
    PutBE32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    PngChunk(png, "IHDR", ihdr);
    std::vector<uint8_t> rows;
    rows.reserve(size_t{height} * (1 + 3 * size_t{width}));
    for (uint32_t y = 0; y < height; ++y) {
        rows.push_back(0);  // filter: none
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t c = rgb.at(size_t{y} * width + x);
            rows.insert(rows.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                     static_cast<uint8_t>(c)});
        }
    }
    PngChunk(png, "IDAT", ZlibStored(rows));
    PngChunk(png, "IEND", {});
    return png;
}

}  // namespace qm
