#include "GSRoot/CH.hpp"

#include <unicode/ucasemap.h>
#include <unicode/uchar.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr GSSize unlimited = INT64_MAX;
constexpr UInt32 replacementChar = 0xFFFD;

// Length of the UTF-8 sequence at p, reading fewer than avail bytes: 0 at the terminator or when
// nothing is available, 1 for a byte that begins no well-formed sequence (or a truncated one),
// and the lead byte's full length when the sequence is well formed as far as avail lets us read.
int sequenceLength(const unsigned char* p, GSSize avail) {
    if (p == nullptr || avail <= 0 || p[0] == 0) {
        return 0;
    }
    unsigned char lead = p[0];
    if (lead < 0x80) {
        return 1;
    }
    int n = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0) {
            low = 0xA0; // no overlong forms
        } else if (lead == 0xED) {
            high = 0x9F; // no surrogates
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F; // nothing above U+10FFFF
        }
    } else {
        return 1;
    }
    for (int i = 1; i < n; ++i) {
        if (i >= avail) {
            return n;
        }
        unsigned char c = p[i];
        if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xBF)) {
            return 1;
        }
    }
    return n;
}

const unsigned char* bytes(const char* p) {
    return reinterpret_cast<const unsigned char*>(p);
}

int charSize(const char* p, GSSize avail, GSCharCode cc) {
    if (cc != CC_UTF8) {
        return (p == nullptr || avail <= 0 || *p == 0) ? 0 : 1;
    }
    return sequenceLength(bytes(p), avail);
}

UInt32 decode(const char* p, GSCharCode cc) {
    int n = charSize(p, unlimited, cc);
    const unsigned char* b = bytes(p);
    if (n == 0) {
        return 0;
    }
    if (cc != CC_UTF8) {
        return b[0];
    }
    switch (n) {
    case 1:
        return b[0] < 0x80 ? b[0] : replacementChar;
    case 2:
        return (UInt32(b[0] & 0x1F) << 6) | (b[1] & 0x3F);
    case 3:
        return (UInt32(b[0] & 0x0F) << 12) | (UInt32(b[1] & 0x3F) << 6) | (b[2] & 0x3F);
    default:
        return (UInt32(b[0] & 0x07) << 18) | (UInt32(b[1] & 0x3F) << 12) | (UInt32(b[2] & 0x3F) << 6) |
               (b[3] & 0x3F);
    }
}

// A byte that begins no valid sequence classifies as nothing.
bool validChar(const char* p, GSCharCode cc) {
    int n = charSize(p, unlimited, cc);
    return n > 1 || (n == 1 && (cc != CC_UTF8 || bytes(p)[0] < 0x80));
}

UCaseMap* caseMap() {
    static UCaseMap* map = [] {
        UErrorCode err = U_ZERO_ERROR;
        UCaseMap* m = ucasemap_open("", 0, &err);
        return U_FAILURE(err) ? nullptr : m;
    }();
    return map;
}

using Utf8CaseFunction = int32_t (*)(const UCaseMap*, char*, int32_t, const char*, int32_t, UErrorCode*);

GSSize asciiCase(const char* text, GSSize len, char* dest, GSSize destSize, bool upper) {
    for (GSSize i = 0; i < len && i < destSize; ++i) {
        char c = text[i];
        if (upper && c >= 'a' && c <= 'z') {
            c = char(c - 'a' + 'A');
        } else if (!upper && c >= 'A' && c <= 'Z') {
            c = char(c - 'A' + 'a');
        }
        dest[i] = c;
    }
    if (len < destSize) {
        dest[len] = 0;
    }
    return len;
}

GSSize convertCase(Utf8CaseFunction fn, const char* text, GSSize len, char* dest, GSSize destSize) {
    if (len < 0 || len > INT32_MAX || destSize < 0 || (dest == nullptr && destSize > 0) ||
        (text == nullptr && len > 0)) {
        return -1;
    }
    UCaseMap* map = caseMap();
    if (map == nullptr) {
        return -1;
    }
    UErrorCode err = U_ZERO_ERROR;
    int32_t capacity = destSize > INT32_MAX ? INT32_MAX : int32_t(destSize);
    int32_t result = fn(map, dest, capacity, text == nullptr ? "" : text, int32_t(len), &err);
    if (err == U_BUFFER_OVERFLOW_ERROR || err == U_STRING_NOT_TERMINATED_WARNING) {
        return result;
    }
    return U_FAILURE(err) ? -1 : result;
}

std::string folded(const char* text, GSSize len) {
    std::string out(std::size_t(len) + 16, '\0');
    GSSize n = convertCase(ucasemap_utf8FoldCase, text, len, out.data(), GSSize(out.size()));
    if (n > GSSize(out.size())) {
        out.assign(std::size_t(n) + 1, '\0');
        n = convertCase(ucasemap_utf8FoldCase, text, len, out.data(), GSSize(out.size()));
    }
    if (n < 0) {
        return std::string(text, std::size_t(len));
    }
    out.resize(std::size_t(n));
    return out;
}

int compareBytes(const char* a, GSSize aLen, const char* b, GSSize bLen) {
    GSSize common = aLen < bLen ? aLen : bLen;
    int c = common > 0 ? std::memcmp(a, b, std::size_t(common)) : 0;
    if (c != 0) {
        return c < 0 ? -1 : 1;
    }
    return aLen == bLen ? 0 : (aLen < bLen ? -1 : 1);
}

} // namespace

Int32 CHGetByteSizeOfChar(const char* p, GSCharCode cc) {
    return charSize(p, unlimited, cc);
}

Int32 CHGetByteSizeOfChar(const char* p, GSSize available, GSCharCode cc) {
    return charSize(p, available, cc);
}

const char* CHGetNextCharPtr(const char* p, GSCharCode cc) {
    return p == nullptr ? nullptr : p + charSize(p, unlimited, cc);
}

const char* CHGetPrevCharPtr(const char* text, const char* p, GSCharCode cc) {
    if (text == nullptr || p == nullptr || p <= text) {
        return text;
    }
    if (cc != CC_UTF8) {
        return p - 1;
    }
    // Walk back over continuation bytes to the nearest byte that starts a sequence; it is the
    // previous character only when its sequence ends exactly at p. Otherwise the byte before p
    // stands alone, as a forward walk would have found it.
    for (int k = 2; k <= 4 && p - k >= text; ++k) {
        const unsigned char* q = bytes(p - k);
        if ((bytes(p - k + 1)[0] & 0xC0) != 0x80) {
            break; // the byte after q is not a continuation byte
        }
        if ((q[0] & 0xC0) != 0x80) {
            return sequenceLength(q, k) == k ? p - k : p - 1;
        }
    }
    return p - 1;
}

const char* CHGetLastCharPtr(const char* text, GSCharCode cc) {
    if (text == nullptr) {
        return nullptr;
    }
    return CHGetPrevCharPtr(text, text + std::strlen(text), cc);
}

UInt32 CHGetCodePoint(const char* p, GSCharCode cc) {
    return decode(p, cc);
}

bool CHIsLetter(const char* p, GSCharCode cc) {
    return validChar(p, cc) && u_isalpha(UChar32(decode(p, cc)));
}

bool CHIsDigit(const char* p, GSCharCode cc) {
    return validChar(p, cc) && u_isdigit(UChar32(decode(p, cc)));
}

bool CHIsAlphaNumeric(const char* p, GSCharCode cc) {
    if (!validChar(p, cc)) {
        return false;
    }
    UChar32 c = UChar32(decode(p, cc));
    // Letters and every kind of number (digits, but also superscripts, fractions, numerals).
    return u_isalpha(c) || (U_GET_GC_MASK(c) & U_GC_N_MASK) != 0;
}

bool CHIsWhiteSpace(const char* p, GSCharCode cc) {
    return validChar(p, cc) && u_isUWhiteSpace(UChar32(decode(p, cc)));
}

GSSize CHToUpper(const char* text, GSSize len, char* dest, GSSize destSize, GSCharCode cc) {
    if (cc != CC_UTF8) {
        return (len < 0 || destSize < 0) ? -1 : asciiCase(text, len, dest, destSize, true);
    }
    return convertCase(ucasemap_utf8ToUpper, text, len, dest, destSize);
}

GSSize CHToLower(const char* text, GSSize len, char* dest, GSSize destSize, GSCharCode cc) {
    if (cc != CC_UTF8) {
        return (len < 0 || destSize < 0) ? -1 : asciiCase(text, len, dest, destSize, false);
    }
    return convertCase(ucasemap_utf8ToLower, text, len, dest, destSize);
}

Int32 CHCompareTexts(const char* a, GSSize aLen, const char* b, GSSize bLen, Int32 caseType, GSCharCode cc) {
    if (a == nullptr) {
        aLen = 0;
    }
    if (b == nullptr) {
        bLen = 0;
    }
    if (caseType == CHIgnoreCase && cc == CC_UTF8) {
        std::string fa = folded(a, aLen);
        std::string fb = folded(b, bLen);
        int c = compareBytes(fa.data(), GSSize(fa.size()), fb.data(), GSSize(fb.size()));
        if (c != 0) {
            return c;
        }
    }
    return compareBytes(a, aLen, b, bLen);
}
