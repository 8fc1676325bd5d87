// The index of an attribute in the host's attribute tables.
#pragma once

namespace zelvane {

// The host's signed 16-bit index, followed by an extension byte that is kept and copied with the
// index. The host only sees the 16 bits, and so do comparisons (through the conversion to short).
class attribute_index {
public:
    constexpr attribute_index() = default;
    constexpr attribute_index(short index, unsigned char extension = 0)
        : m_index(index), m_extension(extension) {}

    constexpr operator short() const { return m_index; }
    constexpr short getIndex() const { return m_index; }
    constexpr unsigned char getExtension() const { return m_extension; }
    void setIndex(short index) { m_index = index; }
    void setExtension(unsigned char extension) { m_extension = extension; }

private:
    short m_index = 0;
    unsigned char m_extension = 0;
};

} // namespace zelvane
