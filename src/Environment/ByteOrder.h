// Reversal of the byte order of scalar values, for data written on a platform of the other order.
#pragma once

#include <algorithm>
#include <cstring>

namespace zelvane {

class String;

namespace detail {

template <typename T>
void reverseBytes(T& value) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    std::reverse(bytes, bytes + sizeof(T));
    std::memcpy(&value, bytes, sizeof(T));
}

} // namespace detail

inline void byteSwap(short& value) {
    detail::reverseBytes(value);
}

inline void byteSwap(unsigned short& value) {
    detail::reverseBytes(value);
}

inline void byteSwap(int& value) {
    detail::reverseBytes(value);
}

inline void byteSwap(unsigned int& value) {
    detail::reverseBytes(value);
}

inline void byteSwap(double& value) {
    detail::reverseBytes(value);
}

// Text is a sequence of bytes: it has no byte order.
inline void byteSwap(String&) {}

} // namespace zelvane
