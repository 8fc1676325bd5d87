#include "GSRoot/Guid.hpp"

#include "sim/Guid.h"
#include "sim/Sim.h"

#include <cstring>
#include <random>

namespace {

constexpr UInt64 testSeed = 0x5A454C56414E4521ull;

struct Generator {
    UInt64 state;

    // splitmix64: a full-period sequence whose outputs pass as independent 64-bit values.
    UInt64 next() {
        UInt64 z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
};

Generator& generator() {
    static Generator* instance = [] {
        std::random_device device;
        UInt64 seed = (UInt64(device()) << 32) ^ UInt64(device());
        return new Generator{seed};
    }();
    return *instance;
}

const bool registered = sim::registerReset([] { generator().state = testSeed; });

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The 16 bytes of the value in text order: data1, data2 and data3 most significant byte first.
void toBytes(const GS::Guid& guid, UInt8 (&bytes)[16]) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = UInt8(guid.data1 >> (24 - 8 * i));
    }
    bytes[4] = UInt8(guid.data2 >> 8);
    bytes[5] = UInt8(guid.data2);
    bytes[6] = UInt8(guid.data3 >> 8);
    bytes[7] = UInt8(guid.data3);
    std::memcpy(bytes + 8, guid.data4, 8);
}

void fromBytes(const UInt8 (&bytes)[16], GS::Guid& guid) {
    guid.data1 = (UInt32(bytes[0]) << 24) | (UInt32(bytes[1]) << 16) | (UInt32(bytes[2]) << 8) | bytes[3];
    guid.data2 = UInt16((bytes[4] << 8) | bytes[5]);
    guid.data3 = UInt16((bytes[6] << 8) | bytes[7]);
    std::memcpy(guid.data4, bytes + 8, 8);
}

bool isDashPosition(int i) {
    return i == 8 || i == 13 || i == 18 || i == 23;
}

} // namespace

namespace sim {

void seedGuidGenerator(UInt64 seed) {
    generator().state = seed;
}

} // namespace sim

namespace GS {

Guid::Guid(UInt32 d1, UInt16 d2, UInt16 d3, const UInt8 (&d4)[8]) : data1(d1), data2(d2), data3(d3) {
    std::memcpy(data4, d4, 8);
}

GSErrCode Guid::ConvertFromString(const char* text) {
    if (text == nullptr) {
        return ErrParam;
    }
    UInt8 bytes[16] = {};
    int digit = 0;
    for (int i = 0; i < TextLength; ++i) {
        char c = text[i];
        if (isDashPosition(i)) {
            if (c != '-') {
                return ErrParam;
            }
            continue;
        }
        int value = hexValue(c); // also stops at a terminator that comes too early
        if (value < 0) {
            return ErrParam;
        }
        bytes[digit / 2] = UInt8((bytes[digit / 2] << 4) | value);
        ++digit;
    }
    if (text[TextLength] != '\0') {
        return ErrParam;
    }
    fromBytes(bytes, *this);
    return NoError;
}

void Guid::ConvertToString(char* buffer) const {
    static const char digits[] = "0123456789ABCDEF";
    UInt8 bytes[16];
    toBytes(*this, bytes);
    int digit = 0;
    for (int i = 0; i < TextLength; ++i) {
        if (isDashPosition(i)) {
            buffer[i] = '-';
            continue;
        }
        UInt8 byte = bytes[digit / 2];
        buffer[i] = digits[(digit % 2 == 0) ? (byte >> 4) : (byte & 0xF)];
        ++digit;
    }
    buffer[TextLength] = '\0';
}

void Guid::Generate() {
    Generator& g = generator();
    UInt64 high = g.next();
    UInt64 low = g.next();
    UInt8 bytes[16];
    for (int i = 0; i < 8; ++i) {
        bytes[i] = UInt8(high >> (56 - 8 * i));
        bytes[8 + i] = UInt8(low >> (56 - 8 * i));
    }
    bytes[6] = UInt8((bytes[6] & 0x0F) | 0x40); // version 4: random
    bytes[8] = UInt8((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    fromBytes(bytes, *this);
}

void Guid::Clear() {
    *this = Guid();
}

bool Guid::IsNull() const {
    return *this == Guid();
}

UInt32 Guid::GenerateHashValue() const {
    UInt8 bytes[16];
    toBytes(*this, bytes);
    UInt32 hash = 2166136261u; // FNV-1a
    for (UInt8 byte : bytes) {
        hash = (hash ^ byte) * 16777619u;
    }
    return hash;
}

Int32 Guid::Compare(const Guid& other) const {
    UInt8 mine[16];
    UInt8 theirs[16];
    toBytes(*this, mine);
    toBytes(other, theirs);
    int order = std::memcmp(mine, theirs, 16);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace GS
