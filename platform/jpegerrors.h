// libjpeg's fatal errors turned into a jump back to the caller, who gives the picture up: libjpeg
// requires that its error_exit never returns. Shared by the JPEG reader and writer.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

struct JpegErrorJump {
    jpeg_error_mgr error {};
    // Set by the caller with setjmp before any libjpeg call that may fail.
    std::jmp_buf jump {};
};

[[noreturn]] inline void JpegFail(j_common_ptr pInfo)
{
    std::longjmp(static_cast<JpegErrorJump*>(pInfo->client_data)->jump, 1);
}

// Makes the compressor or decompressor jump to errors.jump on a fatal error and keep its warnings to
// itself; call before jpeg_create_compress or jpeg_create_decompress.
inline void UseJpegErrorJump(j_common_ptr pInfo, JpegErrorJump& errors)
{
    pInfo->err = jpeg_std_error(&errors.error);
    errors.error.error_exit = JpegFail;
    errors.error.emit_message = [](j_common_ptr, int) {};
    pInfo->client_data = &errors;
}
