#include "GSRoot/GuidCodec.hpp"

#include "ACAPI/ErrorCodes.hpp"
#include "sim/Goodies.h"

#include <cstring>

namespace {

constexpr char alphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
constexpr int guidBytes = 16;

int letterValue(char c) {
    const char* found = c == '\0' ? nullptr : std::strchr(alphabet, c);
    return found == nullptr ? -1 : int(found - alphabet);
}

// Bit i of the 128 bits, counted from the most significant bit of byte 0.
int bitAt(const unsigned char* bytes, int i) {
    return (bytes[i / 8] >> (7 - i % 8)) & 1;
}

void setBit(unsigned char* bytes, int i) {
    bytes[i / 8] = static_cast<unsigned char>(bytes[i / 8] | (1 << (7 - i % 8)));
}

void encode(const unsigned char* bytes, char* text) {
    int bit = 0;
    for (int c = 0; c < CompactGuidLength; ++c) {
        int width = c == 0 ? 2 : 6;
        int value = 0;
        for (int k = 0; k < width; ++k) {
            value = (value << 1) | bitAt(bytes, bit++);
        }
        text[c] = alphabet[value];
    }
    text[CompactGuidLength] = '\0';
}

bool decode(const char* text, unsigned char* bytes) {
    if (std::strlen(text) != std::size_t(CompactGuidLength)) {
        return false;
    }
    unsigned char result[guidBytes] = {};
    int bit = 0;
    for (int c = 0; c < CompactGuidLength; ++c) {
        int width = c == 0 ? 2 : 6;
        int value = letterValue(text[c]);
        if (value < 0 || value >= (1 << width)) {
            return false;
        }
        for (int k = width - 1; k >= 0; --k, ++bit) {
            if (((value >> k) & 1) != 0) {
                setBit(result, bit);
            }
        }
    }
    std::memcpy(bytes, result, guidBytes);
    return true;
}

GSErrCode toCompactText(void* guid, void* text, void*, void*) {
    if (guid == nullptr || text == nullptr) {
        return APIERR_BADPARS;
    }
    encode(static_cast<const unsigned char*>(guid), static_cast<char*>(text));
    return NoError;
}

GSErrCode fromCompactText(void* text, void* guid, void*, void*) {
    if (guid == nullptr || text == nullptr) {
        return APIERR_BADPARS;
    }
    return decode(static_cast<const char*>(text), static_cast<unsigned char*>(guid)) ? NoError
                                                                                     : APIERR_BADPARS;
}

const bool registered = sim::registerGoodies(GuidToCompactTextCode, toCompactText) &&
                        sim::registerGoodies(CompactTextToGuidCode, fromCompactText);

} // namespace
