#include "ACAPI/MimeConversion.hpp"

#include "FTM/ImageTypes.hpp"
#include "GSRoot/BM.hpp"
#include "GX/ImageCodecs.hpp"
#include "sim/Goodies.h"

#include <cstring>

namespace {

GSErrCode convert(void* par1, void*, void*, void*) {
    auto* conversion = static_cast<API_MimePicConversion*>(par1);
    if (conversion == nullptr || conversion->inputHdl == nullptr) {
        return APIERR_BADPARS;
    }
    conversion->outputHdl = nullptr;
    GSSize size = BMGetHandleSize(conversion->inputHdl);
    const char* bytes = *conversion->inputHdl;
    const void* end = size > 0 ? std::memchr(bytes, 0, std::size_t(size)) : nullptr;
    if (end == nullptr) {
        return APIERR_BADPARS; // no MIME type text
    }
    std::size_t textSize = std::size_t(static_cast<const char*>(end) - bytes) + 1;
    FTM::GeneralID from = FTM::FindImageTypeByMime(bytes);
    char wanted[sizeof conversion->outputMime + 1] = {};
    std::memcpy(wanted, conversion->outputMime, sizeof conversion->outputMime);
    FTM::GeneralID to = FTM::FindImageTypeByMime(wanted);
    GX::codec::Picture picture;
    if (to == FTM::UnknownImageType ||
        !GX::codec::decode(from, reinterpret_cast<const UInt8*>(bytes + textSize),
                           std::size_t(size) - textSize, picture)) {
        return APIERR_BADPARS;
    }
    std::vector<UInt8> encoded;
    if (!GX::codec::encode(to, picture, conversion->bitDepth == 8 ? 32 : UInt32(picture.depth), encoded)) {
        return APIERR_BADPARS;
    }
    GSHandle output = BMAllocateHandle(GSSize(encoded.size()), 0, 0);
    if (output == nullptr) {
        return APIERR_MEMFULL;
    }
    std::memcpy(*output, encoded.data(), encoded.size());
    conversion->outputHdl = output;
    return NoError;
}

const bool registered = sim::registerGoodies(APIAny_ConvertMimePictureID, convert);

} // namespace
