#include "formats/PngReader.h"

#include <png.h>

#include <cctype>
#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "formats/AlphaOverWhite.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"

namespace dg {

namespace {

// libpng reports errors through a callback that must not return; it jumps back to the decode
// function. What must survive the jump lives here.
struct PngContext {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;
    std::string message;
    RgbImage picture;
    std::vector<std::uint8_t> pixels;  // blue, green, red, alpha rows when there is transparency
    std::vector<png_bytep> rows;
    bool pixelsDone = false;
};

void readBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* context = static_cast<PngContext*>(png_get_io_ptr(png));
    if (length > context->size - context->at) png_error(png, "the file is cut short");
    std::memcpy(out, context->data + context->at, length);
    context->at += length;
}

// libpng puts the chunk's name in front of a chunk's error, as "IDAT: " or, for a name that
// is not text, as "[18][DA][5C][2D]: "; the user hears only which part of the file it was.
std::string plainReason(const std::string& text) {
    std::size_t at = 0;
    std::string name;
    bool printable = true;
    for (int letter = 0; letter < 4; ++letter) {
        if (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at]))) {
            name += text[at++];
        } else if (at + 3 < text.size() && text[at] == '[' && text[at + 3] == ']') {
            printable = false;
            at += 4;
        } else {
            return text;
        }
    }
    if (text.compare(at, 2, ": ") != 0) return text;
    const std::string rest = text.substr(at + 2);
    return printable ? rest + " (in its " + name + " chunk)" : rest;
}

[[noreturn]] void onError(png_structp png, png_const_charp text) {
    auto* context = static_cast<PngContext*>(png_get_error_ptr(png));
    context->message = plainReason(text);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Holds no objects with destructors: a decoder error jumps straight out of it.
void decodeInto(PngContext& context, png_structp png, png_infop info) {
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colorType, nullptr, nullptr, nullptr);
    checkPictureSize(width, height);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    const bool transparent =
        (colorType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_scale_16(png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const auto w = static_cast<std::int32_t>(width);
    const auto h = static_cast<std::int32_t>(height);
    context.picture.reset(w, h);
    RgbImage& picture = context.picture;
    context.rows.resize(height);
    if (!transparent) {
        for (std::int32_t y = 0; y < h; ++y) context.rows[static_cast<std::size_t>(y)] = picture.row(y);
        png_read_image(png, context.rows.data());
    } else if (png_get_interlace_type(png, info) == PNG_INTERLACE_NONE) {
        // One row at a time keeps the extra memory to a single row.
        context.pixels.resize(static_cast<std::size_t>(width) * 4);
        for (std::int32_t y = 0; y < h; ++y) {
            png_read_row(png, context.pixels.data(), nullptr);
            bgraRowOverWhite(context.pixels.data(), picture.row(y), w);
        }
    } else {
        // Interlaced passes fill every row several times: hold the whole picture.
        const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
        context.pixels.resize(rowBytes * height);
        for (std::size_t y = 0; y < height; ++y) context.rows[y] = context.pixels.data() + rowBytes * y;
        png_read_image(png, context.rows.data());
        for (std::int32_t y = 0; y < h; ++y) {
            bgraRowOverWhite(context.rows[static_cast<std::size_t>(y)], picture.row(y), w);
        }
    }
    context.pixelsDone = true;
    png_read_end(png, nullptr);
}

}  // namespace

RgbImage decodePng(const std::uint8_t* data, std::size_t size) {
    if (size == 0) throw Failure("The PNG file is empty.");
    PngContext context;
    context.data = data;
    context.size = size;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, onError, onWarning);
    if (png == nullptr) throw Failure("Out of memory.");
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        throw Failure("Out of memory.");
    }
    png_set_read_fn(png, &context, readBytes);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        // Damage after the last pixel (a missing end chunk) costs the picture nothing.
        if (context.pixelsDone) return std::move(context.picture);
        throw Failure("The PNG file cannot be read: " + context.message + ".");
    }
    try {
        decodeInto(context, png, info);
    } catch (...) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return std::move(context.picture);
}

}  // namespace dg
