#include "raster/jpeg_errors.h"

#include <jerror.h>

namespace qm {

namespace {

// Warnings after which libjpeg goes on with invented data (grey blocks, zeroed coefficients):
// the picture would be shown damaged, so it is refused instead.
bool MeansLostData(int messageCode) {
    switch (messageCode) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_MUST_RESYNC:
        case JWRN_BOGUS_PROGRESSION:
            return true;
        default:
            return false;
    }
}

[[noreturn]] void JumpOnError(j_common_ptr info) {
    // The manager is the first member of JpegErrors, which is standard-layout.
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    std::longjmp(errors->Jump, 1);
}

void EmitMessage(j_common_ptr info, int level) {
    // level -1 is a warning; higher levels are trace output.
    if (level < 0 && MeansLostData(info->err->msg_code)) JumpOnError(info);
}

void OutputNothing(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InitJpegErrors(JpegErrors& errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors.Manager);
    manager->error_exit = JumpOnError;
    manager->emit_message = EmitMessage;
    manager->output_message = OutputNothing;
    return manager;
}

void FailJpeg(j_common_ptr info, int messageCode) {
    info->err->msg_code = messageCode;
    JumpOnError(info);
}

}  // namespace qm
