#include "GSRoot/IV.hpp"

#include <algorithm>
#include <cstring>

namespace {

constexpr bool machineIsBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;

// 1: swap, 0: keep, -1: unknown sign.
int needsSwap(GSPlatformSign from) {
    switch (from) {
    case BigEndianPlatformSign:
        return machineIsBigEndian ? 0 : 1;
    case LittleEndianPlatformSign:
    case WindowsPlatformSign:
        return machineIsBigEndian ? 1 : 0;
    default:
        return -1;
    }
}

template <typename T>
GSErrCode convert(GSPlatformSign from, T* value) {
    int swap = needsSwap(from);
    if (value == nullptr || swap < 0) {
        return ErrParam;
    }
    if (swap == 1) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, value, sizeof(T));
        std::reverse(bytes, bytes + sizeof(T));
        std::memcpy(value, bytes, sizeof(T));
    }
    return NoError;
}

} // namespace

GSPlatformSign GSGetMachinePlatformSign() {
    return machineIsBigEndian ? BigEndianPlatformSign : LittleEndianPlatformSign;
}

GSErrCode IVShort(GSPlatformSign from, Int16* value) {
    return convert(from, value);
}

GSErrCode IVUShort(GSPlatformSign from, UInt16* value) {
    return convert(from, value);
}

GSErrCode IVLong(GSPlatformSign from, Int32* value) {
    return convert(from, value);
}

GSErrCode IVULong(GSPlatformSign from, UInt32* value) {
    return convert(from, value);
}

GSErrCode IVDouble(GSPlatformSign from, double* value) {
    return convert(from, value);
}
