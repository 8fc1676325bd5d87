#include "GX/ImageCodecs.hpp"

#include <cstdio>
#include <jpeglib.h>

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

} // namespace codec
} // namespace GX
