// JPEG decoding through libjpeg-turbo. Greyscale, YCbCr and RGB pictures are converted to
// blue-green-red by the library; CMYK and YCCK pictures are converted here.
#include <jerror.h>

#include "raster/dib_codecs.h"
#include "raster/dib_rows.h"
#include "raster/jpeg_errors.h"

namespace qm {

namespace {

// Huffman coding spends at least one bit on every 8 x 8 block of each coded component, and a
// block of a component sampled at 1 x 1 beside one at 4 x 4 covers 32 x 32 pixels: so a file
// cannot honestly describe more than 1024 pixels per bit. Larger claims are refused before
// anything is allocated.
constexpr int64_t kMaxJpegPixelsPerByte = 8 * 1024;

// Every progressive scan passes over the whole coefficient buffer, so a file of many tiny scans
// costs minutes. Encoders write about ten; successive approximation of every coefficient of
// three components stays far below this.
constexpr int kMaxJpegScans = 1000;

// Everything one decode needs. Its destructor releases libjpeg's memory; it lives above the
// frame that calls setjmp, so a jump never skips it.
struct JpegReadJob {
    jpeg_decompress_struct Info{};
    JpegErrors Errors{};
    jpeg_progress_mgr Progress{};
    std::span<const uint8_t> Bytes;
    TDib* Dib = nullptr;

    JpegReadJob(std::span<const uint8_t> bytes, TDib& dib) : Bytes(bytes), Dib(&dib) {}
    JpegReadJob(const JpegReadJob&) = delete;
    JpegReadJob& operator=(const JpegReadJob&) = delete;
    // Safe on a struct that was never created: its memory manager is still null.
    ~JpegReadJob() { jpeg_destroy_decompress(&Info); }
};

void LimitScanCount(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxJpegScans) FailJpeg(info, JERR_BAD_PROGRESSION);
}

bool IsPlausibleSize(const jpeg_decompress_struct& info, size_t byteCount) {
    const int64_t pixels = int64_t{info.image_width} * info.image_height;
    if (pixels <= 0 || pixels > kMaxPixels) return false;
    return pixels / kMaxJpegPixelsPerByte <= static_cast<int64_t>(byteCount);
}

bool IsCmyk(const jpeg_decompress_struct& info) {
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

void ReadBgrRows(jpeg_decompress_struct& info, TDib& dib) {
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = RowFromTop(dib, static_cast<int32_t>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
}

// Adobe applications write CMYK inverted (0 is full ink) and mark such files with an APP14
// marker; other writers store plain ink values.
void CmykToBgr(const JSAMPLE* cmyk, uint8_t* bgr, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned c = inverted ? cmyk[0] : 255u - cmyk[0];
        const unsigned m = inverted ? cmyk[1] : 255u - cmyk[1];
        const unsigned y = inverted ? cmyk[2] : 255u - cmyk[2];
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        // c, m, y and k now hold the amount of light let through, 255 for none of the ink.
        bgr[0] = static_cast<uint8_t>((y * k + 127) / 255);
        bgr[1] = static_cast<uint8_t>((m * k + 127) / 255);
        bgr[2] = static_cast<uint8_t>((c * k + 127) / 255);
    }
}

void ReadCmykRows(jpeg_decompress_struct& info, TDib& dib) {
    JSAMPARRAY scratch = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info),
                                                   JPOOL_IMAGE, info.output_width * 4, 1);
    const bool inverted = info.saw_Adobe_marker;
    while (info.output_scanline < info.output_height) {
        uint8_t* row = RowFromTop(dib, static_cast<int32_t>(info.output_scanline));
        jpeg_read_scanlines(&info, scratch, 1);
        CmykToBgr(scratch[0], row, info.output_width, inverted);
    }
}

// All libjpeg calls of one decode. libjpeg may jump out of any of them; only trivially
// destructible objects live here.
bool RunDecode(JpegReadJob& job) {
    jpeg_decompress_struct& info = job.Info;
    info.err = InitJpegErrors(job.Errors);
    jpeg_create_decompress(&info);
    job.Progress.progress_monitor = LimitScanCount;
    info.progress = &job.Progress;
    jpeg_mem_src(&info, job.Bytes.data(), static_cast<unsigned long>(job.Bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    if (!IsPlausibleSize(info, job.Bytes.size())) return false;
    info.out_color_space = IsCmyk(info) ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    if (!newdib(*job.Dib, static_cast<int32_t>(info.output_width),
                static_cast<int32_t>(info.output_height), 24, nullptr, 0)) {
        return false;
    }
    if (IsCmyk(info)) {
        ReadCmykRows(info, *job.Dib);
    } else {
        ReadBgrRows(info, *job.Dib);
    }
    // Reads on to the end-of-image marker, so a file cut after its last row is still refused.
    jpeg_finish_decompress(&info);
    return true;
}

bool GuardedDecode(JpegReadJob& job) {
    if (setjmp(job.Errors.Jump) != 0) return false;
    return RunDecode(job);
}

}  // namespace

bool DecodeJpeg(std::span<const uint8_t> bytes, TDib& dib) {
    deldib(dib);
    if (bytes.empty()) return false;
    bool decoded = false;
    {
        JpegReadJob job(bytes, dib);
        decoded = GuardedDecode(job);
    }
    if (!decoded) deldib(dib);
    return decoded;
}

}  // namespace qm
