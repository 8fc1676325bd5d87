// The host's Unicode string: UTF-16 code units, always followed by a 0 unit in storage. Lengths
// and positions count code units.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <string>
#include <vector>

namespace GS {

using UniChar = unsigned short;
using USize = UInt32;

constexpr USize MaxUSize = 0xFFFFFFFF;

class UniString {
public:
    UniString();
    // Units up to the first 0 unit; a null pointer gives the empty string.
    UniString(const UniChar* units);
    // count units, or up to the first 0 unit when count is MaxUSize.
    UniString(const UniChar* units, USize count);
    // UTF-8 text up to its NUL, or bytes bytes of it. A byte that begins no well-formed sequence
    // becomes U+FFFD.
    UniString(const char* utf8);
    UniString(const char* utf8, USize bytes);

    USize GetLength() const { return USize(m_units.size() - 1); }
    bool IsEmpty() const { return m_units.size() == 1; }
    void Clear();

    UniChar operator[](USize index) const { return m_units[index]; }
    UniChar& operator[](USize index) { return m_units[index]; }
    // The units, 0-terminated; valid until the string changes.
    const UniChar* ToUStr() const { return m_units.data(); }

    // The text as UTF-8; an unpaired surrogate becomes U+FFFD.
    std::string ToUTF8() const;
    std::string ToUTF8(USize from, USize length) const;

    // length units from `from`, clipped to the string.
    UniString GetSubstring(USize from, USize length) const;
    UniString& Append(const UniString& other);
    UniString& Append(UniChar unit);
    UniString& operator+=(const UniString& other) { return Append(other); }

    bool operator==(const UniString& other) const { return m_units == other.m_units; }
    bool operator!=(const UniString& other) const { return m_units != other.m_units; }
    // Code-unit order.
    bool operator<(const UniString& other) const { return m_units < other.m_units; }

private:
    std::vector<UniChar> m_units; // the units and a 0 unit
};

} // namespace GS
