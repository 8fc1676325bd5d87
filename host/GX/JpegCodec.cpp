#include "GX/ImageCodecs.hpp"

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdlib>

namespace GX {
namespace codec {
namespace {

// libjpeg reports errors by calling this, which must not return: it jumps back to the encoder.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->back, 1);
}

// More than any whole JPEG holds: a block of 8 x 8 pixels takes at least two bits.
constexpr std::size_t maxPixelsPerByte = 1024;

// Warnings (a damaged but readable stream) are not printed.
void onMessage(j_common_ptr) {}

} // namespace

bool encodeJPEG(const Picture& picture, std::vector<UInt8>& data) {
    jpeg_compress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<UInt8> row(std::size_t(picture.width) * 3);
    if (setjmp(errors.back) != 0) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(picture.width);
    info.image_height = JDIMENSION(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    info.density_unit = 1; // dots per inch
    info.X_density = UINT16(std::lround(std::min(std::max(picture.hRes, 1.0), 65535.0)));
    info.Y_density = UINT16(std::lround(std::min(std::max(picture.vRes, 1.0), 65535.0)));
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const UInt8* pixels = picture.pixels.data() + std::size_t(info.next_scanline) * picture.width * 4;
        for (Int32 x = 0; x < picture.width; ++x) {
            row[std::size_t(x) * 3] = pixels[x * 4];
            row[std::size_t(x) * 3 + 1] = pixels[x * 4 + 1];
            row[std::size_t(x) * 3 + 2] = pixels[x * 4 + 2];
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    data.assign(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return true;
}

bool decodeJPEG(const UInt8* data, std::size_t size, Picture& picture) {
    if (size < 3) {
        return false;
    }
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    // Declared before the jump point, so that a jump back never skips their destructors.
    Picture result;
    std::vector<UInt8> row;
    if (setjmp(errors.back) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    // Even a picture of one colour takes a few bits per block of 8 x 8 pixels: data claiming far
    // more pixels than that is cut short, and is not read into a picture of that size.
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width == 0 || info.image_height == 0 ||
        info.image_width > JDIMENSION(maxSide) || info.image_height > JDIMENSION(maxSide) ||
        std::size_t(info.image_width) * info.image_height > size * maxPixelsPerByte) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Grey and colour pictures alike come out as red, green and blue.
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    result.width = Int32(info.output_width);
    result.height = Int32(info.output_height);
    result.depth = 24;
    result.pixels.assign(std::size_t(result.width) * std::size_t(result.height) * 4, 255);
    row.assign(std::size_t(result.width) * 3, 0);
    while (info.output_scanline < info.output_height) {
        UInt8* target =
            result.pixels.data() + std::size_t(info.output_scanline) * std::size_t(result.width) * 4;
        JSAMPROW rows[1] = {row.data()};
        if (jpeg_read_scanlines(&info, rows, 1) != 1) {
            break; // the data ended early: the rest stays white
        }
        for (Int32 x = 0; x < result.width; ++x) {
            target[x * 4] = row[std::size_t(x) * 3];
            target[x * 4 + 1] = row[std::size_t(x) * 3 + 1];
            target[x * 4 + 2] = row[std::size_t(x) * 3 + 2];
        }
    }
    if (info.density_unit == 1 && info.X_density > 0 && info.Y_density > 0) {
        result.hRes = info.X_density;
        result.vRes = info.Y_density;
    } else if (info.density_unit == 2 && info.X_density > 0 && info.Y_density > 0) {
        result.hRes = info.X_density * 2.54;
        result.vRes = info.Y_density * 2.54;
    }
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    picture = std::move(result);
    return true;
}

} // namespace codec
} // namespace GX
