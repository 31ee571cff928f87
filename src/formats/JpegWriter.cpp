#include "formats/JpegWriter.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "imaging/Failure.h"

namespace dg {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return; jumping back
// keeps C++ exceptions from unwinding through the C library.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->text);
    std::longjmp(manager->jump, 1);
}

void silentOutput(j_common_ptr) {}

// Everything that the jump may skip lives in plain C storage, owned outside this function.
bool compress(const RgbImage& picture, int quality, std::int32_t dotsPerInch, ErrorManager& errors,
              unsigned char** buffer, unsigned long* size) {
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.output_message = silentOutput;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = 3;
    // The rows already are blue, green, red: the encoder reads them as they lie.
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    if (dotsPerInch > 0 && dotsPerInch <= 0xFFFF) {
        info.write_JFIF_header = TRUE;
        info.density_unit = 1;  // dots per inch
        info.X_density = static_cast<UINT16>(dotsPerInch);
        info.Y_density = static_cast<UINT16>(dotsPerInch);
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(picture.row(static_cast<std::int32_t>(info.next_scanline)));
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> encodeJpeg(const RgbImage& picture, int quality, std::int32_t dotsPerInch) {
    if (picture.empty()) throw Failure("Cannot write an empty picture as JPEG.");
    ErrorManager errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool done = compress(picture, quality, dotsPerInch, errors, &buffer, &size);
    std::vector<std::uint8_t> bytes;
    if (done) bytes.assign(buffer, buffer + size);
    std::free(buffer);
    if (!done) throw Failure(std::string("JPEG encoding failed: ") + errors.text);
    return bytes;
}

}  // namespace dg
