// A text encoding, named by the host's character-code number, and conversion of text between
// encodings.
#pragma once

namespace zelvane {

class String;

class Encoding {
public:
    // The host's character code: 99 UTF-8, 100 UTF-16 and 101 UTF-32 in the machine's byte order
    // (little-endian here), any other value a host code page. The big-endian forms of UTF-16 and
    // UTF-32, which only byte-order marks reveal, carry the big-endian flag. 0 (undetermined) and
    // 2 both stand for UTF-8.
    using Type = unsigned int;
    static constexpr Type undetermined = 0;
    static constexpr Type utf8 = 99;
    static constexpr Type utf16 = 100;
    static constexpr Type utf32 = 101;
    static constexpr Type bigEndianFlag = 0x10000;
    static constexpr Type utf16BigEndian = bigEndianFlag | utf16;
    static constexpr Type utf32BigEndian = bigEndianFlag | utf32;

    Encoding(Type type = utf8);
    Encoding(Encoding const& other) = default;
    Encoding& operator=(Encoding const& other) = default;

    Type getType() const { return m_type; }
    bool operator==(Encoding const& other) const { return m_type == other.m_type; }
    bool operator!=(Encoding const& other) const { return m_type != other.m_type; }

    // The bytes of text (up to its terminator), taken as text in the encoding from, converted into
    // this encoding: a copy when the two are the same; best effort otherwise (what this encoding
    // cannot hold becomes "?"). Empty when nothing could be converted.
    String convertString(String const& text, Type from) const;
    // The same for length bytes that may hold zero bytes (UTF-16 and UTF-32 text).
    String convertString(char const* bytes, unsigned int length, Type from) const;

    // 0 and 2 become UTF-8; every other value stands as it is.
    static Type normalise(Type type) { return type == undetermined || type == 2 ? utf8 : type; }

private:
    Type m_type;
};

} // namespace zelvane
