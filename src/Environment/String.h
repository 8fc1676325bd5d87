// The framework's text type: NUL-terminated UTF-8 in a host memory block.
//
// Positions and lengths count characters (UTF-8 code points), except where a parameter says it
// counts bytes: the constructor and assign from a byte pointer with a byte limit, append from a
// byte pointer, and resize. Character boundaries come from the host's character services, which
// treat a byte that begins no well-formed sequence as a character of its own.
//
// Every change of the text goes through the virtual operations (resize, assign, clear, replace),
// so a subclass that overrides them sees each one.
#pragma once

#include <iosfwd>
#include <vector>

namespace GS {
class UniString;
}
namespace IO {
class Name;
}

namespace zelvane {

class String {
public:
    // No position, or up to the end.
    static constexpr unsigned int npos = 0xFFFFFFFF;
    static constexpr char emptyString[] = "";
    static constexpr char lineEnding[] = "\r\n";
    static constexpr char lineEnd[] = "\r";
    static constexpr char whiteSpace[] = " \t\r\n";
    static constexpr char digits[] = "0123456789";
    static constexpr char numeric[] = "0123456789.-";

    String() = default;
    // The whole characters of text that lie within len bytes and before its NUL.
    String(char const* text, unsigned int len = npos);
    // n bytes, each c.
    String(unsigned int n, char c);
    // The other's text from character pos, at most len bytes of it (whole characters).
    String(String const& other, unsigned int pos = 0, unsigned int len = npos);
    String(String&& other) noexcept;
    // UTF-16 units pos to pos + len of the host string.
    String(GS::UniString const& text, unsigned int pos = 0, unsigned int len = npos);
    String(IO::Name const& name);
    // UTF-16 text of bytes bytes (bytes / 2 units), stopping at a 0 unit; npos: up to a 0 unit.
    String(unsigned short const* text, unsigned int bytes);
    virtual ~String();

    String& operator=(String const& other);
    String& operator=(char const* text);
    String& operator=(GS::UniString const& text);

    operator GS::UniString() const;
    operator IO::Name() const;

    // Whole characters that fit in size - 1 bytes, then a NUL (npos: all); size 0 writes nothing.
    char* copyTo(char* buffer, unsigned int size) const;
    // The text cut to whole characters within len bytes.
    GS::UniString& copyTo(GS::UniString& text, unsigned int len = npos) const;
    // UTF-16 into a buffer of size bytes (npos: no limit): whole characters that leave room for
    // the 0 unit, a surrogate pair never split; a size below 2 writes nothing.
    unsigned short* copyTo(unsigned short* buffer, unsigned int size) const;

    virtual String* clone() const;

    // Byte-level operations.
    // Makes room for n bytes and writes the terminator at byte n.
    virtual void resize(unsigned int n);
    // resize(n), then fills the bytes from the old byte length up to n with c.
    void resize(unsigned int n, char c);
    // The whole characters of text within len bytes and before its NUL (npos: up to the NUL).
    virtual String& assign(char const* text, unsigned int len = npos);
    // npos: the whole text to its NUL; otherwise exactly len bytes.
    String& append(char const* text, unsigned int len = npos);
    // Room for n bytes besides the terminator; never shrinks.
    void reserve(unsigned int n);
    unsigned int capacity() const;
    char const* data() const { return m_data == nullptr ? emptyString : m_data; }
    // Byte length of the first n characters (npos: the whole text).
    unsigned int dataLength(unsigned int n = npos) const;
    // Byte offset of the terminator, in constant time: where the string's own operations last
    // wrote it, or where it is after a character was handed out for writing through operator[].
    // It is the byte length unless bytes written into the buffer hold a NUL before it; writers
    // that append in place (text streams) follow it.
    unsigned int terminatorOffset() const;
    // Empties the text and keeps the buffer.
    virtual void clear();
    bool empty() const { return m_data == nullptr || m_data[0] == 0; }
    // Number of characters; with a limit, those that begin within the first limit + 1 bytes.
    unsigned int size(unsigned int limit = npos) const;

    // Character-level operations.
    // The first byte of character pos; std::out_of_range when pos is not below size(). The text
    // is measured again afterwards, for the caller may have written its end.
    char& operator[](unsigned int pos);
    char const& operator[](unsigned int pos) const;
    String& append(String const& text);
    String& operator+=(String const& text) { return append(text); }
    String& operator+=(char const* text) { return append(text, npos); }
    String& operator+=(char c);
    String& insert(unsigned int pos, String const& text, unsigned int subpos = 0, unsigned int sublen = npos);
    String& erase(unsigned int pos, unsigned int len = npos);
    // Replaces len characters from pos by sublen characters of text from subpos; a pos beyond
    // the end appends.
    virtual String& replace(unsigned int pos, unsigned int len, String const& text, unsigned int subpos = 0,
                            unsigned int sublen = npos);
    String substr(unsigned int pos, unsigned int len = npos) const;
    // Reverses the order of the characters.
    String& reverse();

    // Negative, zero or positive; an empty text is less than any other.
    int compare(String const& other) const;
    bool operator==(String const& other) const { return compare(other) == 0; }
    bool operator!=(String const& other) const { return compare(other) != 0; }
    bool operator<(String const& other) const { return compare(other) < 0; }
    bool operator>(String const& other) const { return compare(other) > 0; }
    // The same as comparing with a String of text, without making one.
    bool operator==(char const* text) const { return compareText(text) == 0; }
    bool operator!=(char const* text) const { return compareText(text) != 0; }

    // Searches answer character positions, npos when nothing is found.
    unsigned int find(String const& pattern, unsigned int pos = 0) const;
    // The first len characters of pattern (npos: all of it).
    unsigned int find(char const* pattern, unsigned int pos = 0, unsigned int len = npos) const;
    unsigned int find(char c, unsigned int pos = 0) const;
    // The last occurrence that starts at or before pos.
    unsigned int rfind(String const& pattern, unsigned int pos = npos) const;
    unsigned int rfind(char const* pattern, unsigned int pos = npos, unsigned int len = npos) const;
    unsigned int findFirstOf(String const& set, unsigned int pos = 0) const;
    unsigned int findFirstOf(char const* set, unsigned int pos = 0) const;
    unsigned int findFirstNotOf(String const& set, unsigned int pos = 0) const;
    unsigned int findFirstNotOf(char const* set, unsigned int pos = 0) const;
    unsigned int findLastOf(String const& set, unsigned int pos = npos) const;
    unsigned int findLastOf(char const* set, unsigned int pos = npos) const;
    unsigned int findLastNotOf(String const& set, unsigned int pos = npos) const;
    unsigned int findLastNotOf(char const* set, unsigned int pos = npos) const;
    // An occurrence with no letter, digit or "_" right before or after it.
    unsigned int findWord(String const& pattern, unsigned int pos = 0, unsigned int len = npos) const;
    unsigned int findWord(char const* pattern, unsigned int pos = 0, unsigned int len = npos) const;

    // Classification of the len characters from pos (npos: to the end); false for an empty range.
    bool isAlpha(unsigned int pos = 0, unsigned int len = npos) const;
    bool isNumeric(unsigned int pos = 0, unsigned int len = npos) const;
    // All alphanumeric, and not letters only nor digits only.
    bool isAlphaNumeric(unsigned int pos = 0, unsigned int len = npos) const;

    String toUppercase() const;
    String toLowercase() const;
    // "hello WORLD. foo" -> "Hello world. Foo"
    String toSentenceCase() const;
    // "hello WORLD" -> "Hello World"
    String toTitleCase() const;

    // Cuts the text at each occurrence of separator; empty pieces only when keepEmpty.
    void split(String const& separator, std::vector<String>& pieces, bool keepEmpty = false) const;

private:
    int compareText(char const* text) const;

    char* m_data = nullptr;
    // The block's size less the terminator's byte, kept so that growing asks the host nothing.
    unsigned int m_capacity = 0;
    // Where the terminator is; npos when it must be looked for.
    mutable unsigned int m_terminator = 0;
};

std::ostream& operator<<(std::ostream& out, String const& text);

} // namespace zelvane
