#include "GSRoot/CharCount.hpp"

#include "GSRoot/CodePages.hpp"

namespace {

Int32 utf8Count(const unsigned char* p, GSSize available) {
    unsigned char lead = p[0];
    if (lead < 0x80) {
        return 1;
    }
    Int32 count = 0;
    unsigned char low = 0x80; // bounds of the second byte, tighter where overlong or surrogate
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 3;
        if (lead == 0xE0) {
            low = 0xA0;
        } else if (lead == 0xED) {
            high = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 4;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return 0;
    }
    if (available < count) {
        return 0;
    }
    if (p[1] < low || p[1] > high) {
        return 0;
    }
    for (Int32 i = 2; i < count; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF) {
            return 0;
        }
    }
    return count;
}

UInt32 unit16(const unsigned char* p, bool bigEndian) {
    return bigEndian ? (UInt32(p[0]) << 8) | p[1] : (UInt32(p[1]) << 8) | p[0];
}

Int32 utf16Count(const unsigned char* p, GSSize available, bool bigEndian) {
    if (available < 2) {
        return 0;
    }
    UInt32 unit = unit16(p, bigEndian);
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        return 0;
    }
    if (unit < 0xD800 || unit > 0xDBFF) {
        return 2;
    }
    if (available < 4) {
        return 0;
    }
    UInt32 trail = unit16(p + 2, bigEndian);
    return trail >= 0xDC00 && trail <= 0xDFFF ? 4 : 0;
}

Int32 utf32Count(const unsigned char* p, GSSize available, bool bigEndian) {
    if (available < 4) {
        return 0;
    }
    UInt32 value = bigEndian ? (UInt32(p[0]) << 24) | (UInt32(p[1]) << 16) | (UInt32(p[2]) << 8) | p[3]
                             : (UInt32(p[3]) << 24) | (UInt32(p[2]) << 16) | (UInt32(p[1]) << 8) | p[0];
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    return 4;
}

// Lead bytes of two-byte characters in the double-byte code pages.
bool isDoubleByteLead(UInt32 charCode, unsigned char lead) {
    switch (charCode) {
    case 32: // Shift-JIS
        return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    case 33: // Big5
    case 34: // GBK
    case 35: // Korean
        return lead >= 0x81 && lead <= 0xFE;
    default:
        return false;
    }
}

// A character of a code page is its lead byte, or lead and trail byte, when they decode to one
// character the code page defines.
Int32 codePageCount(const unsigned char* p, GSSize available, UInt32 charCode) {
    if (!CHIsKnownCharCode(charCode)) {
        return 0;
    }
    if (p[0] < 0x80) {
        return 1;
    }
    Int32 count = isDoubleByteLead(charCode, p[0]) ? 2 : 1;
    if (available < count) {
        return 0;
    }
    UInt16 units[4] = {};
    GSSize needed = 0;
    if (CHConvertToUnicode(reinterpret_cast<const char*>(p), count, charCode, units, 4, &needed) != NoError) {
        return 0;
    }
    bool single = needed == 1 || (needed == 2 && units[0] >= 0xD800 && units[0] <= 0xDBFF);
    return single && units[0] != 0xFFFD ? count : 0;
}

} // namespace

Int32 CHGetCharByteCount(const char* text, GSSize available, UInt32 charCode, bool bigEndian) {
    if (text == nullptr || available < 1) {
        return 0;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    switch (charCode) {
    case CharCodeUTF8:
        return utf8Count(p, available);
    case CharCodeUTF16:
        return utf16Count(p, available, bigEndian);
    case CharCodeUTF32:
        return utf32Count(p, available, bigEndian);
    default:
        return codePageCount(p, available, charCode);
    }
}
