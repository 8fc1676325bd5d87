// The image file types every host session knows by fixed numbers, with their MIME texts. The image
// library (GX) reads and writes data of these types.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace FTM {

// A file type known by a number that stays the same in every session; 0 is no known type.
using GeneralID = Int32;

constexpr GeneralID UnknownImageType = 0;
constexpr GeneralID PNGImageType = 1;
constexpr GeneralID BMPImageType = 2;
// Read and written through libjpeg-turbo.
constexpr GeneralID JPEGImageType = 3;

// The image type of a MIME text such as "image/png" (ASCII case ignored); UnknownImageType when
// no image type has that MIME text.
GeneralID FindImageTypeByMime(const char* mime);
// The MIME text of an image type; null for an unknown type.
const char* GetImageTypeMime(GeneralID type);
// The file-name extension of an image type, without the dot; null for an unknown type.
const char* GetImageTypeExtension(GeneralID type);

} // namespace FTM
