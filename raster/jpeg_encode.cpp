// JPEG encoding through libjpeg-turbo: baseline, three 8-bit components, as PDF's DCTDecode
// filter and every viewer accept it.
#include <jerror.h>

#include <array>
#include <new>

#include "raster/dib_codecs.h"
#include "raster/dib_rows.h"
#include "raster/jpeg_errors.h"

namespace qm {

namespace {

constexpr size_t kOutputChunk = 64 * 1024;

// A destination appending to a vector. Written instead of jpeg_mem_dest, whose buffer is lost
// when an error strikes after it has grown.
struct VectorDestination {
    jpeg_destination_mgr Manager;
    std::vector<uint8_t>* Out;
    std::array<JOCTET, kOutputChunk> Chunk;
};

VectorDestination& DestinationOf(j_compress_ptr info) {
    // The manager is the first member of the standard-layout VectorDestination.
    return *reinterpret_cast<VectorDestination*>(info->dest);
}

void StartChunk(j_compress_ptr info) {
    VectorDestination& destination = DestinationOf(info);
    destination.Manager.next_output_byte = destination.Chunk.data();
    destination.Manager.free_in_buffer = destination.Chunk.size();
}

// Appends the filled part of the chunk. A failed allocation leaves the catch block before it
// is reported, so the jump out of libjpeg never crosses an active exception.
void FlushChunk(j_compress_ptr info, size_t count) {
    VectorDestination& destination = DestinationOf(info);
    bool appended = true;
    try {
        destination.Out->insert(destination.Out->end(), destination.Chunk.begin(),
                                destination.Chunk.begin() + static_cast<ptrdiff_t>(count));
    } catch (const std::bad_alloc&) {
        appended = false;
    }
    if (!appended) FailJpeg(reinterpret_cast<j_common_ptr>(info), JERR_OUT_OF_MEMORY);
}

boolean EmptyChunk(j_compress_ptr info) {
    FlushChunk(info, kOutputChunk);
    StartChunk(info);
    return TRUE;
}

void FinishChunks(j_compress_ptr info) {
    FlushChunk(info, kOutputChunk - DestinationOf(info).Manager.free_in_buffer);
}

// Everything one encode needs; it lives above the frame that calls setjmp.
struct JpegWriteJob {
    jpeg_compress_struct Info{};
    JpegErrors Errors{};
    VectorDestination Destination{};
    const TDib* Dib = nullptr;
    std::vector<uint8_t> RowBuffer;  // blue-green-red expansion of palette rows

    JpegWriteJob(const TDib& dib, std::vector<uint8_t>& out) : Dib(&dib) {
        Destination.Manager.init_destination = StartChunk;
        Destination.Manager.empty_output_buffer = EmptyChunk;
        Destination.Manager.term_destination = FinishChunks;
        Destination.Out = &out;
    }
    JpegWriteJob(const JpegWriteJob&) = delete;
    JpegWriteJob& operator=(const JpegWriteJob&) = delete;
    ~JpegWriteJob() { jpeg_destroy_compress(&Info); }
};

// The row y from the top as blue, green, red: 24-bit rows are handed over as stored, others
// are expanded through the colour table.
JSAMPROW BgrRow(JpegWriteJob& job, int32_t y) {
    const uint8_t* row = RowFromTop(*job.Dib, y);
    if (job.Dib->Header.BitCount == 24) return const_cast<JSAMPROW>(row);  // libjpeg only reads
    ExpandRowToBgr(*job.Dib, row, job.RowBuffer.data());
    return job.RowBuffer.data();
}

// All libjpeg calls of one encode; only trivially destructible objects live here.
void RunEncode(JpegWriteJob& job, int quality) {
    jpeg_compress_struct& info = job.Info;
    info.err = InitJpegErrors(job.Errors);
    jpeg_create_compress(&info);
    info.dest = &job.Destination.Manager;
    info.image_width = static_cast<JDIMENSION>(job.Dib->Header.Width);
    info.image_height = static_cast<JDIMENSION>(job.Dib->Header.Height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);  // YCbCr, chroma 2 x 2, Huffman tables of the JPEG standard
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = BgrRow(job, static_cast<int32_t>(info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
}

bool GuardedEncode(JpegWriteJob& job, int quality) {
    if (setjmp(job.Errors.Jump) != 0) return false;
    RunEncode(job, quality);
    return true;
}

}  // namespace

bool EncodeJpeg(const TDib& dib, int quality, std::vector<uint8_t>& out) {
    out.clear();
    // Baseline JPEG stores dimensions in 16 bits ([ITU T.81] B.2.2).
    if (!IsUsableDib(dib) || dib.Header.Width > 65535 || dib.Header.Height > 65535) return false;
    bool encoded = false;
    try {
        JpegWriteJob job(dib, out);
        if (dib.Header.BitCount != 24) job.RowBuffer.resize(size_t(dib.Header.Width) * 3);
        encoded = GuardedEncode(job, quality);
    } catch (const std::bad_alloc&) {
        encoded = false;
    }
    if (!encoded) out.clear();
    return encoded;
}

}  // namespace qm
