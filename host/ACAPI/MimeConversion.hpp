// Converting encoded pictures between MIME types (goodies 'CMPI').
#pragma once

#include "ACAPI/Goodies.hpp"

// The input handle holds a NUL-terminated MIME type text followed by the encoded bytes; the output
// is a new handle of the picture encoded as the wanted MIME type, which the caller disposes.
struct API_MimePicConversion {
    GSHandle inputHdl;
    char outputMime[128];
    Int32 conversionFlags;
    Int32 bitDepth;
    GSHandle outputHdl;
};

// par1: API_MimePicConversion*. APIERR_BADPARS for an input that is no encoded picture of a type
// the host reads, or an unknown wanted type.
constexpr API_GoodiesID APIAny_ConvertMimePictureID = MakeGSType("CMPI");
