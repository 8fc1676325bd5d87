#include "GSRoot/UniString.hpp"

#include "GSRoot/CH.hpp"

#include <cstring>

namespace GS {

namespace {

constexpr UInt32 replacementChar = 0xFFFD;

void appendUTF16(std::vector<UniChar>& units, UInt32 cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        units.push_back(UniChar(0xD800 + (cp >> 10)));
        units.push_back(UniChar(0xDC00 + (cp & 0x3FF)));
    } else {
        units.push_back(UniChar(cp));
    }
}

void appendUTF8(std::string& out, UInt32 cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

void decodeUTF8(std::vector<UniChar>& units, const char* text, std::size_t bytes) {
    units.reserve(units.size() + bytes + 1); // and the terminating unit
    const char* p = text;
    const char* end = text + bytes;
    while (p < end) {
        if (static_cast<unsigned char>(*p) < 0x80) {
            // A unit of its own, as most text is (an embedded NUL within the byte count too).
            units.push_back(UniChar(static_cast<unsigned char>(*p)));
            ++p;
            continue;
        }
        int n = CHGetByteSizeOfChar(p, end - p, CC_UTF8);
        if (n > end - p) {
            n = 1; // a sequence cut off by the byte count
        }
        UInt32 cp = replacementChar;
        if (n > 1 || static_cast<unsigned char>(*p) < 0x80) {
            cp = CHGetCodePoint(p, CC_UTF8);
        }
        appendUTF16(units, cp);
        p += n;
    }
}

} // namespace

UniString::UniString() : m_units(1, 0) {}

UniString::UniString(const UniChar* units) : UniString(units, MaxUSize) {}

UniString::UniString(const UniChar* units, USize count) : m_units() {
    if (units != nullptr) {
        if (count == MaxUSize) {
            count = 0;
            while (units[count] != 0) {
                ++count;
            }
        }
        m_units.reserve(std::size_t(count) + 1);
        m_units.assign(units, units + count);
    }
    m_units.push_back(0);
}

UniString::UniString(const char* utf8) : UniString(utf8, utf8 == nullptr ? 0 : USize(std::strlen(utf8))) {}

UniString::UniString(const char* utf8, USize bytes) : m_units() {
    if (utf8 != nullptr) {
        decodeUTF8(m_units, utf8, bytes);
    }
    m_units.push_back(0);
}

void UniString::Clear() {
    m_units.assign(1, 0);
}

std::string UniString::ToUTF8() const {
    return ToUTF8(0, GetLength());
}

std::string UniString::ToUTF8(USize from, USize length) const {
    std::string out;
    USize total = GetLength();
    if (from >= total) {
        return out;
    }
    USize end = length > total - from ? total : from + length;
    out.reserve(end - from);
    for (USize i = from; i < end; ++i) {
        UInt32 u = m_units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < end && m_units[i + 1] >= 0xDC00 &&
            m_units[i + 1] <= 0xDFFF) {
            u = 0x10000 + ((u - 0xD800) << 10) + (m_units[i + 1] - 0xDC00);
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            u = replacementChar;
        }
        appendUTF8(out, u);
    }
    return out;
}

UniString UniString::GetSubstring(USize from, USize length) const {
    USize total = GetLength();
    if (from >= total) {
        return UniString();
    }
    USize count = length > total - from ? total - from : length;
    return UniString(m_units.data() + from, count);
}

UniString& UniString::Append(const UniString& other) {
    if (&other == this) {
        UniString copy(other);
        return Append(copy);
    }
    m_units.pop_back();
    m_units.insert(m_units.end(), other.m_units.begin(), other.m_units.end());
    return *this;
}

UniString& UniString::Append(UniChar unit) {
    m_units.back() = unit;
    m_units.push_back(0);
    return *this;
}

} // namespace GS
