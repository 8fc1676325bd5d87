#include "Environment/Encoding.h"

#include "Environment/String.h"
#include "GSRoot/CodePages.hpp"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace zelvane {
namespace {

constexpr bool littleEndian() {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return false;
#else
    return true;
#endif
}

// Reverses the bytes of each unit of width bytes, so big-endian text reads in the machine's order
// (and back); a trailing part unit is dropped.
std::vector<char> swapUnits(char const* bytes, std::size_t length, std::size_t width) {
    std::vector<char> swapped(bytes, bytes + (length - length % width));
    if (littleEndian()) {
        for (std::size_t i = 0; i < swapped.size(); i += width) {
            std::reverse(swapped.begin() + std::ptrdiff_t(i), swapped.begin() + std::ptrdiff_t(i + width));
        }
    }
    return swapped;
}

bool isBigEndian(Encoding::Type type) {
    return type == Encoding::utf16BigEndian || type == Encoding::utf32BigEndian;
}

std::size_t unitWidth(Encoding::Type type) {
    return (type & ~Encoding::bigEndianFlag) == Encoding::utf16 ? 2 : 4;
}

// The host's code for an encoding: big-endian forms are converted in the machine's order.
UInt32 hostCode(Encoding::Type type) {
    return isBigEndian(type) ? (type & ~Encoding::bigEndianFlag) : type;
}

// The text as UTF-16 units; false when the host cannot decode it.
bool decode(char const* bytes, std::size_t length, Encoding::Type from, std::vector<UInt16>& units) {
    std::vector<char> swapped;
    if (isBigEndian(from)) {
        swapped = swapUnits(bytes, length, unitWidth(from));
        bytes = swapped.data();
        length = swapped.size();
    }
    if (hostCode(from) == Encoding::utf16) {
        units.resize(length / 2); // the units as they stand
        std::memcpy(units.data(), bytes, units.size() * 2);
        return true;
    }
    GSSize needed = 0;
    if (CHConvertToUnicode(bytes, GSSize(length), hostCode(from), nullptr, 0, &needed) != NoError ||
        needed < 0) {
        return false;
    }
    units.resize(std::size_t(needed));
    return units.empty() || CHConvertToUnicode(bytes, GSSize(length), hostCode(from), units.data(),
                                               GSSize(units.size()), &needed) == NoError;
}

// The units encoded into to; false when the host cannot encode them.
bool encode(std::vector<UInt16> const& units, Encoding::Type to, std::vector<char>& bytes) {
    GSSize needed = 0;
    if (CHConvertFromUnicode(units.data(), GSSize(units.size()), hostCode(to), nullptr, 0, &needed) !=
            NoError ||
        needed < 0) {
        return false;
    }
    bytes.resize(std::size_t(needed));
    if (!bytes.empty() && CHConvertFromUnicode(units.data(), GSSize(units.size()), hostCode(to), bytes.data(),
                                               GSSize(bytes.size()), &needed) != NoError) {
        return false;
    }
    if (isBigEndian(to)) {
        bytes = swapUnits(bytes.data(), bytes.size(), unitWidth(to));
    }
    return true;
}

} // namespace

Encoding::Encoding(Type type) : m_type(normalise(type)) {}

String Encoding::convertString(String const& text, Type from) const {
    return convertString(text.data(), unsigned(std::strlen(text.data())), from);
}

String Encoding::convertString(char const* bytes, unsigned int length, Type from) const {
    String result;
    if (bytes == nullptr || length == 0) {
        return result;
    }
    from = normalise(from);
    if (from == m_type) {
        result.append(bytes, length);
        return result;
    }
    std::vector<UInt16> units;
    std::vector<char> encoded;
    if (!decode(bytes, length, from, units) || units.empty() || !encode(units, m_type, encoded) ||
        encoded.empty() || encoded.size() > std::numeric_limits<unsigned int>::max() - 1) {
        return result;
    }
    result.append(encoded.data(), unsigned(encoded.size()));
    return result;
}

} // namespace zelvane
