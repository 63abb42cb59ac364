// libjpeg's error handling rerouted: its default handler prints and calls exit().
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace qm {

// An error manager whose errors, and whose warnings that mean lost picture data (premature end
// of file or of a data segment, bad entropy codes), jump to Jump; nothing is printed.
//
// setjmp/longjmp skip C++ destructors. Callers therefore call setjmp(Jump) in a function whose
// frame, like every frame between it and the libjpeg call that fails, holds only trivially
// destructible objects; owners of memory live in the frames above it.
struct JpegErrors {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
};

// Prepares errors and returns the manager to store in a libjpeg struct's err field.
jpeg_error_mgr* InitJpegErrors(JpegErrors& errors);

// Reports a failure of our own through libjpeg's error path (jumps to the handler).
[[noreturn]] void FailJpeg(j_common_ptr info, int messageCode);

}  // namespace qm
