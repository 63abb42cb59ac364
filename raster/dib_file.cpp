// Loading and saving bitmaps as files and memory buffers.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <new>

#include "raster/dib.h"
#include "raster/dib_codecs.h"

namespace qm {

namespace {

// Larger picture files are refused unread: a JPEG of kMaxPixels at the highest quality stays
// well below this.
constexpr int64_t kMaxImageFileBytes = int64_t{1} << 30;

constexpr int kSaveQuality = 90;

bool StartsWith(std::span<const uint8_t> bytes, std::initializer_list<uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// Quirk: documents sometimes file a picture under the other format; the signature decides
// between the two formats we read.
int FormatBySignature(std::span<const uint8_t> bytes, int format) {
    if (StartsWith(bytes, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return kFormatPng;
    if (StartsWith(bytes, {0xFF, 0xD8, 0xFF})) return kFormatJpeg;
    return format;
}

bool ReadWholeFile(const std::string& fileName, std::vector<uint8_t>& bytes) {
    std::ifstream file(fileName, std::ios::binary | std::ios::ate);
    if (!file) return false;
    const std::streamoff size = file.tellg();
    if (size <= 0 || size > kMaxImageFileBytes) return false;
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    file.seekg(0);
    file.read(reinterpret_cast<char*>(bytes.data()), size);
    return file.gcount() == size;
}

bool WriteWholeFile(const std::string& fileName, const std::vector<uint8_t>& bytes) {
    {
        std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
        if (file) {
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
            file.close();
            if (file) return true;
        }
    }
    std::remove(fileName.c_str());  // no half-written picture stays behind
    return false;
}

}  // namespace

bool OpenDib(TDib& dib, const std::string& fileName, int format) {
    deldib(dib);
    if (format != kFormatJpeg && format != kFormatPng) return false;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(fileName, bytes)) return false;
    return OpenDibMemory(dib, bytes, format);
}

bool OpenDibMemory(TDib& dib, std::span<const uint8_t> bytes, int format) {
    deldib(dib);
    if (format != kFormatJpeg && format != kFormatPng) return false;
    if (FormatBySignature(bytes, format) == kFormatPng) return DecodePng(bytes, dib);
    return DecodeJpeg(bytes, dib);
}

int SaveDib(const TDib& dib, const std::string& fileName, int format, int /*reserved*/) {
    std::vector<uint8_t> bytes;
    if (!SaveDibMemory(dib, format, bytes)) return 0;
    return WriteWholeFile(fileName, bytes) ? 1 : 0;
}

bool SaveDibMemory(const TDib& dib, int format, std::vector<uint8_t>& out) {
    out.clear();
    if (format != kFormatJpeg) return false;
    return EncodeJpeg(dib, kSaveQuality, out);
}

}  // namespace qm
