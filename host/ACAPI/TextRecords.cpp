#include "ACAPI/TextRecords.hpp"

#include "sim/Goodies.h"

#include <cmath>
#include <cstring>

namespace {

double advanceOf(unsigned char c) {
    return c == ' ' || std::strchr("ilj.,:;!'|", c) != nullptr ? 0.3 : 0.6;
}

GSErrCode lineLength(void* par1, void* par2, void*, void*) {
    auto* pars = static_cast<const API_TextLinePars*>(par1);
    auto* length = static_cast<double*>(par2);
    if (pars == nullptr || length == nullptr || pars->lineStr == nullptr || !std::isfinite(pars->size) ||
        pars->size < 0.0 || !std::isfinite(pars->slant)) {
        return APIERR_BADPARS;
    }
    double units = 0.0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(pars->lineStr); *p != 0; ++p) {
        if ((*p & 0xC0) != 0x80) { // the first byte of each character
            units += advanceOf(*p);
        }
    }
    double width = units * pars->size;
    if ((pars->faceBits & APIFace_Bold) != 0) {
        width *= 1.1;
    }
    if (units > 0.0 && (pars->faceBits & APIFace_Italic) != 0) {
        width += pars->size * std::fabs(std::tan(pars->slant));
    }
    int step = pars->font < 0 ? 0 : pars->font % 5;
    *length = width * (1.0 + 0.02 * step);
    return NoError;
}

const bool registered = sim::registerGoodies(APIAny_GetTextLineLengthID, lineLength);

} // namespace
