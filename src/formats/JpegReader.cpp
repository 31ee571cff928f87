#include "formats/JpegReader.h"

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "formats/PictureLimits.h"
#include "imaging/Failure.h"

namespace dg {

namespace {

// libjpeg reports errors by calling error_exit, which must not return; we jump back to the
// decode function, which then throws. Everything that must survive the jump lives here, in
// memory that the jump does not touch.
struct JpegContext {
    jpeg_error_mgr error{};
    std::jmp_buf jump{};
    std::string message;
    RgbImage picture;
    std::vector<std::uint8_t> cmykRow;
};

[[noreturn]] void onError(j_common_ptr cinfo) {
    auto* context = reinterpret_cast<JpegContext*>(cinfo->client_data);
    char text[JMSG_LENGTH_MAX] = {};
    (*cinfo->err->format_message)(cinfo, text);
    context->message = text;
    std::longjmp(context->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
    // A file cut short would otherwise come out with grey rows at the bottom.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) onError(cinfo);
}

void cmykRowToBgr(const std::uint8_t* in, std::uint8_t* out, JDIMENSION width, bool inverted) {
    // Adobe's programs store CMYK inverted (0 = full ink), which is already 255 - ink.
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
        out[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        out[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
    }
}

// Holds no objects with destructors: a decoder error jumps straight out of it.
void decodeInto(JpegContext& context, jpeg_decompress_struct& cinfo, const std::uint8_t* data, std::size_t size) {
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    checkPictureSize(cinfo.image_width, cinfo.image_height);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    context.picture.reset(static_cast<std::int32_t>(cinfo.output_width),
                          static_cast<std::int32_t>(cinfo.output_height));
    RgbImage& picture = context.picture;
    if (cmyk) {
        std::vector<std::uint8_t>& row = context.cmykRow;
        row.resize(static_cast<std::size_t>(cinfo.output_width) * 4);
        JSAMPROW rows[1] = {row.data()};
        while (cinfo.output_scanline < cinfo.output_height) {
            const auto y = static_cast<std::int32_t>(cinfo.output_scanline);
            if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) break;
            cmykRowToBgr(row.data(), picture.row(y), cinfo.output_width, cinfo.saw_Adobe_marker != 0);
        }
    } else {
        JSAMPROW rows[16];
        while (cinfo.output_scanline < cinfo.output_height) {
            const auto y = static_cast<std::int32_t>(cinfo.output_scanline);
            const int batch = std::min<int>(16, static_cast<int>(cinfo.output_height - cinfo.output_scanline));
            for (int i = 0; i < batch; ++i) rows[i] = picture.row(y + i);
            if (jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(batch)) == 0) break;
        }
    }
    jpeg_finish_decompress(&cinfo);
}

}  // namespace

bool looksJpeg(const std::uint8_t* data, std::size_t size) {
    return size >= 4 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

RgbImage decodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (size == 0) throw Failure("The JPEG file is empty.");
    JpegContext context;
    jpeg_decompress_struct cinfo{};
    cinfo.err = jpeg_std_error(&context.error);
    context.error.error_exit = onError;
    context.error.emit_message = onMessage;
    cinfo.client_data = &context;
    jpeg_create_decompress(&cinfo);
    if (setjmp(context.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        throw Failure("The JPEG file cannot be read: " + context.message + ".");
    }
    try {
        decodeInto(context, cinfo, data, size);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    jpeg_destroy_decompress(&cinfo);
    return std::move(context.picture);
}

}  // namespace dg
