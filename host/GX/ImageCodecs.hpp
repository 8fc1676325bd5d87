// The image library's own encoders and decoders; not part of its interface.
#pragma once

#include "FTM/ImageTypes.hpp"
#include "GSRoot/GSRoot.hpp"

#include <cstddef>
#include <vector>

namespace GX {
namespace codec {

// Decoded pixels: four bytes each (red, green, blue, alpha), rows from the top.
struct Picture {
    Int32 width = 0;
    Int32 height = 0;
    UInt32 depth = 32; // 24: the alpha bytes are 255 and not written
    double hRes = 72.0;
    double vRes = 72.0;
    std::vector<UInt8> pixels;
};

// The largest side the decoders accept.
constexpr Int32 maxSide = 16384;

// The type the data's signature names; UnknownImageType when none.
FTM::GeneralID detect(const UInt8* data, std::size_t size);
// False for data that is not a well-formed image of that type in a form the host reads: PNG of 8-bit
// RGB or RGBA, not interlaced, with stored (uncompressed) deflate blocks; BMP of 24 or 32 bits,
// uncompressed; JPEG (any libjpeg-turbo reads, sides up to maxSide).
bool decode(FTM::GeneralID type, const UInt8* data, std::size_t size, Picture& picture);
// A JPEG picture at depth 24, its resolution from its density when it gives one; a stream that ends
// early keeps the rows it had (the rest white). False for data libjpeg cannot read.
bool decodeJPEG(const UInt8* data, std::size_t size, Picture& picture);
// The picture as a baseline JPEG of quality 90 (alpha dropped); false when the encoder fails.
bool encodeJPEG(const Picture& picture, std::vector<UInt8>& data);
// Depth 24 or 32 (JPEG: always 24); false for another depth or an unknown type.
bool encode(FTM::GeneralID type, const Picture& picture, UInt32 depth, std::vector<UInt8>& data);

} // namespace codec
} // namespace GX
