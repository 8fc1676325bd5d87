// A 128-bit globally unique identifier, laid out like the host's GUID record.
#pragma once

#include <cstdint>

namespace GS {
class Guid;
}

namespace zelvane {

class String;

class Guid {
public:
    // Characters of the text form, without the terminator.
    static constexpr unsigned int textLength = 36;

    Guid() = default;
    // The GUID of the text form "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" (digits in either case);
    // the null GUID when the text is not of that form.
    Guid(String const& text);
    Guid(GS::Guid const& guid);

    // Replaces the value by the one the text gives: null when it is not a GUID text.
    Guid& operator=(String const& text);
    operator GS::Guid() const;

    explicit operator bool() const { return m_high != 0 || m_low != 0; }
    void clear();
    // A new unique value from the host's generator.
    Guid& generate();

    // Writes the text form and a terminator: buffer holds textLength + 1 bytes.
    char* copyTo(char* buffer) const;
    String& copyTo(String& text) const;
    String toString() const;
    unsigned short getHashValue() const;

    std::uint64_t getHigh() const { return m_high; }
    std::uint64_t getLow() const { return m_low; }

    bool operator==(Guid const& other) const { return m_high == other.m_high && m_low == other.m_low; }
    bool operator!=(Guid const& other) const { return !(*this == other); }
    // The host's order of identifiers, that of their text forms (the first group outranks the
    // rest), so that a sorted column of identifiers reads as the host sorts it.
    bool operator<(Guid const& other) const;

private:
    std::uint64_t m_high = 0;
    std::uint64_t m_low = 0;
};

} // namespace zelvane
