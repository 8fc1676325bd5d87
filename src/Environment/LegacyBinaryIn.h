// Reader of the binary files of earlier releases: fixed-width numbers in the byte order of the
// platform that wrote them, zero-terminated byte strings, dates stored as text. Reads raw bytes
// through a DataBufferIn and turns them into values of this platform.
#pragma once

#include "Environment/Platform.h"
#include "Environment/StreamBase.h"

namespace zelvane {

class DataBufferIn;
class String;
class Time;

class LegacyBinaryIn : public virtual StreamBase {
public:
    // Platform signs of the data: 'MM' big-endian, 'mm' little-endian.
    static constexpr unsigned short bigEndianSign = 0x4D4D;
    static constexpr unsigned short littleEndianSign = 0x6D6D;

    // Endianness 2: the data is little-endian ('mm'); any other value: big-endian ('MM').
    LegacyBinaryIn(DataBufferIn* source, Platform::Endianness endianness);
    LegacyBinaryIn(LegacyBinaryIn const&) = delete;
    LegacyBinaryIn& operator=(LegacyBinaryIn const&) = delete;

    // Clears the state, then takes the source's state (failure without a source). Bytes of a file
    // source that were taken for a byte-order mark are read as data.
    void setSource(DataBufferIn* source, Platform::Endianness endianness);
    // The byte order of the values read from now on.
    void setEndianness(Platform::Endianness endianness) { m_endianness = endianness; }
    Platform::Endianness getEndianness() const { return m_endianness; }
    unsigned short getPlatformSign() const;

    // 1 without a source.
    int getLastError() const override;

    // Every read does nothing without a source or when the source has failed; otherwise this
    // reader's state becomes the source's afterwards. Bytes missing at the end of the data are
    // zero in a number.
    LegacyBinaryIn& get(char& c);
    // Bytes up to a zero byte, which is read and not kept.
    LegacyBinaryIn& operator>>(String& text);
    LegacyBinaryIn& operator>>(double& value);
    LegacyBinaryIn& operator>>(int& value);
    LegacyBinaryIn& operator>>(unsigned int& value);
    LegacyBinaryIn& operator>>(short& value);
    LegacyBinaryIn& operator>>(unsigned short& value);
    // One byte, non-zero is true.
    LegacyBinaryIn& operator>>(bool& value);
    // A zero-terminated text "day/month/year/hour/minute/second/"; the time takes that date and
    // time when every field is in range, else it keeps its value.
    LegacyBinaryIn& operator>>(Time& value);

private:
    bool ready() const;
    void takeState();
    // Reads up to size bytes into bytes (zero where none could be read).
    void readBytes(unsigned char* bytes, int size);
    // One scalar of the source's byte order, turned into the machine's by the host's convert.
    template <typename T, typename Convert>
    void readScalar(T& value, Convert convert);
    void readText(String& text);

    DataBufferIn* m_source = nullptr;
    Platform::Endianness m_endianness;
};

} // namespace zelvane
