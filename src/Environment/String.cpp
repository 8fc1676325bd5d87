#include "Environment/String.h"

#include "Environment/Memory.h"
#include "Environment/UTF8Steps.h"
#include "GSRoot/CH.hpp"
#include "GSRoot/UniString.hpp"
#include "IO/Name.hpp"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

namespace zelvane {

namespace {

constexpr unsigned int npos = String::npos;

using detail::advance;
using detail::nextChar;

// Bytes of the whole characters of text that lie within len bytes and before its NUL. Text that
// is terminated past len shows whether a lead byte near len begins a character cut there or is a
// stray byte that stands alone; otherwise nothing past len is read.
unsigned int wholeBytes(const char* text, unsigned int len, bool terminated = false) {
    if (len == npos) {
        return unsigned(std::strlen(text));
    }
    const char* p = text;
    unsigned int left = len;
    while (left > 0) {
        auto b = static_cast<unsigned char>(*p);
        if (b != 0 && b < 0x80) {
            ++p;
            --left;
            continue;
        }
        Int32 n = CHGetByteSizeOfChar(p, GSSize(left), CC_UTF8);
        if (terminated && n > 0 && unsigned(n) > left) {
            n = CHGetByteSizeOfChar(p, CC_UTF8);
        }
        if (n <= 0 || unsigned(n) > left) {
            break;
        }
        p += n;
        left -= unsigned(n);
    }
    return unsigned(p - text);
}

// Byte length of the first len characters of pattern (npos: all of it).
std::size_t patternBytes(const char* pattern, unsigned int len) {
    if (pattern == nullptr) {
        return 0;
    }
    return len == npos ? std::strlen(pattern) : std::size_t(advance(pattern, len) - pattern);
}

// The first occurrence of the m bytes of pattern at a character boundary, from the character at
// start (character index startIndex) to end, at index pos or later.
unsigned int findFrom(const char* start, unsigned int startIndex, const char* end, const char* pattern,
                      std::size_t m, unsigned int pos, const char** at = nullptr) {
    if (m == 0) {
        return npos;
    }
    const char* p = start;
    unsigned int i = startIndex;
    while (i < pos && *p != 0) {
        p = nextChar(p);
        ++i;
    }
    if (i < pos) {
        return npos;
    }
    for (; *p != 0 && std::size_t(end - p) >= m; p = nextChar(p), ++i) {
        if (*p == *pattern && std::memcmp(p, pattern, m) == 0) {
            if (at != nullptr) {
                *at = p;
            }
            return i;
        }
    }
    return npos;
}

// The characters of a set: one-byte characters in a table, longer ones compared by their bytes.
class CharSet {
public:
    explicit CharSet(const char* set) {
        for (const char* p = set; p != nullptr && *p != 0;) {
            const char* q = nextChar(p);
            if (q - p == 1) {
                m_single[static_cast<unsigned char>(*p)] = true;
            } else {
                m_multi.emplace_back(p, std::size_t(q - p));
            }
            m_empty = false;
            p = q;
        }
    }

    bool empty() const { return m_empty; }

    bool contains(const char* p, std::size_t n) const {
        if (n == 1) {
            return m_single[static_cast<unsigned char>(*p)];
        }
        for (auto const& c : m_multi) {
            if (c.second == n && std::memcmp(c.first, p, n) == 0) {
                return true;
            }
        }
        return false;
    }

private:
    bool m_single[256] = {};
    std::vector<std::pair<const char*, std::size_t>> m_multi;
    bool m_empty = true;
};

unsigned int findFirst(const char* text, const char* set, unsigned int pos, bool member) {
    CharSet chars(set);
    if (chars.empty() || *text == 0) {
        return npos;
    }
    const char* p = advance(text, pos);
    for (unsigned int i = pos; *p != 0; ++i) {
        const char* q = nextChar(p);
        if (chars.contains(p, std::size_t(q - p)) == member) {
            return i;
        }
        p = q;
    }
    return npos;
}

unsigned int findLast(const char* text, const char* set, unsigned int pos, bool member) {
    CharSet chars(set);
    if (chars.empty() || *text == 0) {
        return npos;
    }
    unsigned int found = npos;
    const char* p = text;
    unsigned int i = 0;
    for (; *p != 0 && (pos == npos || i <= pos); ++i) {
        const char* q = nextChar(p);
        if (chars.contains(p, std::size_t(q - p)) == member) {
            found = i;
        }
        p = q;
    }
    // A pos at or beyond the end finds nothing, as opposed to npos (the last character).
    return (pos != npos && i <= pos) ? npos : found;
}

// Whether test holds for each of the len characters from pos (npos: to the end); false when there
// are none.
template <typename Test>
bool everyChar(const char* text, unsigned int pos, unsigned int len, Test test) {
    const char* p = advance(text, pos);
    if (*p == 0 || len == 0) {
        return false;
    }
    for (unsigned int i = 0; *p != 0 && (len == npos || i < len); ++i, p = nextChar(p)) {
        if (!test(p)) {
            return false;
        }
    }
    return true;
}

bool isWordChar(const char* p) {
    return *p == '_' || CHIsAlphaNumeric(p, CC_UTF8);
}

bool isWhiteSpaceByte(char c) {
    return c != 0 && std::strchr(String::whiteSpace, c) != nullptr;
}

using CaseFunction = GSSize (*)(const char*, GSSize, char*, GSSize, GSCharCode);

// Appends n bytes of text converted by the host's case conversion; unchanged if it fails.
void appendCase(std::string& out, const char* text, std::size_t n, CaseFunction fn) {
    if (n == 0) {
        return;
    }
    std::size_t start = out.size();
    out.resize(start + n + 8);
    GSSize got = fn(text, GSSize(n), &out[start], GSSize(out.size() - start), CC_UTF8);
    if (got > GSSize(out.size() - start)) {
        out.resize(start + std::size_t(got) + 1);
        got = fn(text, GSSize(n), &out[start], GSSize(out.size() - start), CC_UTF8);
    }
    if (got < 0 || got > GSSize(out.size() - start)) {
        out.resize(start);
        out.append(text, n);
        return;
    }
    out.resize(start + std::size_t(got));
}

String fromBytes(const char* p, std::size_t n) {
    String result;
    if (n > 0) {
        result.append(p, unsigned(n));
    }
    return result;
}

} // namespace

String::String(char const* text, unsigned int len) {
    assign(text, len);
}

String::String(unsigned int n, char c) {
    resize(n, c);
}

String::String(String const& other, unsigned int pos, unsigned int len) {
    const char* p = advance(other.data(), pos);
    if (len != 0 && *p != 0) {
        assign(p, len);
    }
}

String::String(String&& other) noexcept
    : m_data(other.m_data), m_capacity(other.m_capacity), m_terminator(other.m_terminator) {
    other.m_data = nullptr;
    other.m_capacity = 0;
    other.m_terminator = 0;
}

String::String(GS::UniString const& text, unsigned int pos, unsigned int len) {
    if (len != 0 && pos < text.GetLength()) {
        assign(text.ToUTF8(pos, len).c_str(), npos);
    }
}

String::String(IO::Name const& name) {
    assign(name.ToUTF8().c_str(), npos);
}

String::String(unsigned short const* text, unsigned int bytes) {
    if (text != nullptr && bytes != 0) {
        // Up to the first 0 unit within the count, found before converting: fixed fields are
        // mostly zeros.
        GS::USize units = 0;
        bool ascii = true;
        if (bytes == npos) {
            units = GS::MaxUSize;
            ascii = false;
        } else {
            while (units < bytes / 2 && text[units] != 0) {
                ascii = ascii && text[units] < 0x80;
                ++units;
            }
        }
        if (!ascii) {
            assign(GS::UniString(text, units).ToUTF8().c_str(), npos);
        } else if (units > 0) {
            // ASCII text is its own UTF-8: copied unit by unit, with no conversion on the way.
            resize(unsigned(units));
            for (GS::USize i = 0; i < units; ++i) {
                m_data[i] = char(text[i]);
            }
        }
    }
}

String::~String() {
    disposePtr(&m_data);
}

String& String::operator=(String const& other) {
    if (this != &other) {
        assign(other.data(), npos);
    }
    return *this;
}

String& String::operator=(char const* text) {
    return assign(text, npos);
}

String& String::operator=(GS::UniString const& text) {
    return assign(text.ToUTF8().c_str(), npos);
}

String::operator GS::UniString() const {
    return GS::UniString(data());
}

String::operator IO::Name() const {
    return IO::Name(data());
}

char* String::copyTo(char* buffer, unsigned int size) const {
    if (buffer == nullptr || size == 0) {
        return buffer;
    }
    const char* text = data();
    std::size_t n = size == npos ? std::strlen(text) : wholeBytes(text, size - 1, true);
    std::memcpy(buffer, text, n);
    buffer[n] = 0;
    return buffer;
}

GS::UniString& String::copyTo(GS::UniString& text, unsigned int len) const {
    const char* p = data();
    text = GS::UniString(p, wholeBytes(p, len, true));
    return text;
}

unsigned short* String::copyTo(unsigned short* buffer, unsigned int size) const {
    if (buffer == nullptr || size < 2) {
        return buffer;
    }
    // Room for the 0 unit is kept back from the start.
    std::size_t room = size == npos ? SIZE_MAX : size / 2 - 1;
    std::size_t used = 0;
    for (const char* p = data(); *p != 0; p = nextChar(p)) {
        UInt32 cp = CHGetCodePoint(p, CC_UTF8);
        std::size_t need = cp >= 0x10000 ? 2 : 1;
        if (room - used < need) {
            break;
        }
        if (need == 2) {
            buffer[used++] = static_cast<unsigned short>(0xD800 + ((cp - 0x10000) >> 10));
            buffer[used++] = static_cast<unsigned short>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            buffer[used++] = static_cast<unsigned short>(cp);
        }
    }
    buffer[used] = 0;
    return buffer;
}

String* String::clone() const {
    return new String(*this);
}

void String::resize(unsigned int n) {
    if (m_data == nullptr && n == 0) {
        return;
    }
    reserve(n);
    m_data[n] = 0;
    m_terminator = n;
}

void String::resize(unsigned int n, char c) {
    unsigned int old = dataLength();
    resize(n);
    if (n > old) {
        std::memset(m_data + old, c, n - old);
    }
}

String& String::assign(char const* text, unsigned int len) {
    if (text != nullptr && text == m_data) {
        return *this;
    }
    if (text == nullptr) {
        text = emptyString;
    }
    unsigned int n = wholeBytes(text, len);
    auto at = reinterpret_cast<std::uintptr_t>(text);
    auto start = reinterpret_cast<std::uintptr_t>(m_data);
    if (m_data != nullptr && at > start && at <= start + capacity()) {
        // The source lies in our own buffer, which resize may free or move: copy it first.
        std::string copy(text, n);
        resize(n);
        std::memcpy(m_data, copy.data(), n);
        return *this;
    }
    resize(n);
    if (n > 0) {
        std::memcpy(m_data, text, n);
    }
    return *this;
}

String& String::append(char const* text, unsigned int len) {
    if (text == nullptr || len == 0) {
        return *this;
    }
    auto at = reinterpret_cast<std::uintptr_t>(text);
    auto start = reinterpret_cast<std::uintptr_t>(m_data);
    if (m_data != nullptr && at >= start && at <= start + capacity()) {
        // The source lies in our own buffer, which resize may free or move: copy it first,
        // reading no further than the end of the block.
        std::size_t available = start + capacity() + 1 - at;
        std::size_t n = len == npos ? std::strlen(text) : (len < available ? len : available);
        std::string copy(text, n);
        return append(copy.data(), unsigned(n));
    }
    std::size_t add = len == npos ? std::strlen(text) : len;
    if (add == 0) {
        return *this;
    }
    unsigned int old = m_data == nullptr ? 0 : unsigned(std::strlen(m_data));
    if (add >= std::size_t(INT_MAX) - old) {
        throw std::bad_alloc();
    }
    resize(old + unsigned(add));
    std::memcpy(m_data + old, text, add);
    return *this;
}

void String::reserve(unsigned int n) {
    if (n == 0) {
        return;
    }
    if (n >= unsigned(INT_MAX)) {
        throw std::bad_alloc();
    }
    if (m_data == nullptr) {
        m_data = allocatePtr(int(n) + 1);
        m_data[0] = 0;
        m_capacity = n;
        m_terminator = 0;
    } else if (m_capacity < n) {
        reallocPtr(m_data, int(n) + 1);
        m_capacity = n;
    }
}

unsigned int String::capacity() const {
    return m_capacity;
}

unsigned int String::dataLength(unsigned int n) const {
    const char* text = data();
    if (n == npos) {
        return unsigned(std::strlen(text));
    }
    return unsigned(advance(text, n) - text);
}

unsigned int String::terminatorOffset() const {
    if (m_terminator == npos) {
        m_terminator = unsigned(std::strlen(data()));
    }
    return m_terminator;
}

void String::clear() {
    if (m_data != nullptr) {
        m_data[0] = 0;
        m_terminator = 0;
    }
}

unsigned int String::size(unsigned int limit) const {
    const char* text = data();
    unsigned int count = 0;
    for (const char* p = text; *p != 0 && (limit == npos || unsigned(p - text) <= limit); p = nextChar(p)) {
        ++count;
    }
    return count;
}

char& String::operator[](unsigned int pos) {
    if (pos == npos || m_data == nullptr) {
        throw std::out_of_range("");
    }
    char* p = m_data + (advance(m_data, pos) - m_data);
    if (*p == 0) {
        throw std::out_of_range("");
    }
    m_terminator = npos;
    return *p;
}

char const& String::operator[](unsigned int pos) const {
    const char* p = advance(data(), pos);
    if (pos == npos || *p == 0) {
        throw std::out_of_range("");
    }
    return *p;
}

String& String::append(String const& text) {
    return append(text.data(), npos);
}

String& String::operator+=(char c) {
    return append(&c, 1);
}

String& String::insert(unsigned int pos, String const& text, unsigned int subpos, unsigned int sublen) {
    return replace(pos, 0, text, subpos, sublen);
}

String& String::erase(unsigned int pos, unsigned int len) {
    return replace(pos, len, String(), 0, npos);
}

String& String::replace(unsigned int pos, unsigned int len, String const& text, unsigned int subpos,
                        unsigned int sublen) {
    String piece = text.substr(subpos, sublen);
    unsigned int n = size();
    if (pos == npos || pos > n) {
        return append(piece);
    }
    if (len == npos || len > n - pos) {
        len = n - pos;
    }
    piece.append(substr(pos + len));
    unsigned int keep = dataLength(pos);
    // Make room before cutting, so a failed allocation leaves the text as it was.
    reserve(keep + piece.dataLength());
    resize(keep);
    return append(piece);
}

String String::substr(unsigned int pos, unsigned int len) const {
    if (pos == npos) {
        return String();
    }
    const char* p = advance(data(), pos);
    if (*p == 0) {
        return String();
    }
    const char* q = len == npos ? p + std::strlen(p) : advance(p, len);
    return fromBytes(p, std::size_t(q - p));
}

String& String::reverse() {
    const char* text = data();
    std::size_t n = std::strlen(text);
    if (n < 2) {
        return *this;
    }
    std::string reversed(n, '\0');
    std::size_t end = n;
    for (const char* p = text; *p != 0;) {
        const char* q = nextChar(p);
        end -= std::size_t(q - p);
        std::memcpy(&reversed[end], p, std::size_t(q - p));
        p = q;
    }
    return assign(reversed.c_str(), npos);
}

int String::compare(String const& other) const {
    return compareText(other.data());
}

int String::compareText(char const* text) const {
    if (text == nullptr) {
        text = emptyString;
    }
    bool mine = empty();
    bool theirs = *text == 0;
    if (mine || theirs) {
        return mine == theirs ? 0 : (mine ? -1 : 1);
    }
    return int(CHCompareTexts(m_data, GSSize(std::strlen(m_data)), text, GSSize(std::strlen(text)),
                              CHCaseSensitive, CC_UTF8));
}

unsigned int String::find(String const& pattern, unsigned int pos) const {
    return find(pattern.data(), pos, npos);
}

unsigned int String::find(char const* pattern, unsigned int pos, unsigned int len) const {
    const char* text = data();
    return findFrom(text, 0, text + std::strlen(text), pattern, patternBytes(pattern, len), pos);
}

unsigned int String::find(char c, unsigned int pos) const {
    char pattern[2] = {c, 0};
    return find(pattern, pos, npos);
}

unsigned int String::rfind(String const& pattern, unsigned int pos) const {
    return rfind(pattern.data(), pos, npos);
}

unsigned int String::rfind(char const* pattern, unsigned int pos, unsigned int len) const {
    std::size_t m = patternBytes(pattern, len);
    const char* text = data();
    const char* end = text + std::strlen(text);
    unsigned int found = npos;
    const char* p = text;
    for (unsigned int i = 0; m > 0 && *p != 0 && std::size_t(end - p) >= m && i <= pos; ++i) {
        if (*p == *pattern && std::memcmp(p, pattern, m) == 0) {
            found = i;
        }
        p = nextChar(p);
    }
    return found;
}

unsigned int String::findFirstOf(String const& set, unsigned int pos) const {
    return findFirst(data(), set.data(), pos, true);
}

unsigned int String::findFirstOf(char const* set, unsigned int pos) const {
    return findFirst(data(), set, pos, true);
}

unsigned int String::findFirstNotOf(String const& set, unsigned int pos) const {
    return findFirst(data(), set.data(), pos, false);
}

unsigned int String::findFirstNotOf(char const* set, unsigned int pos) const {
    return findFirst(data(), set, pos, false);
}

unsigned int String::findLastOf(String const& set, unsigned int pos) const {
    return findLast(data(), set.data(), pos, true);
}

unsigned int String::findLastOf(char const* set, unsigned int pos) const {
    return findLast(data(), set, pos, true);
}

unsigned int String::findLastNotOf(String const& set, unsigned int pos) const {
    return findLast(data(), set.data(), pos, false);
}

unsigned int String::findLastNotOf(char const* set, unsigned int pos) const {
    return findLast(data(), set, pos, false);
}

unsigned int String::findWord(String const& pattern, unsigned int pos, unsigned int len) const {
    return findWord(pattern.data(), pos, len);
}

unsigned int String::findWord(char const* pattern, unsigned int pos, unsigned int len) const {
    std::size_t m = patternBytes(pattern, len);
    const char* text = data();
    const char* end = text + std::strlen(text);
    const char* at = nullptr;
    unsigned int i = findFrom(text, 0, end, pattern, m, pos, &at);
    while (i != npos) {
        bool freeBefore = at == text || !isWordChar(CHGetPrevCharPtr(text, at, CC_UTF8));
        bool freeAfter = at + m == end || !isWordChar(at + m);
        if (freeBefore && freeAfter) {
            return i;
        }
        i = findFrom(nextChar(at), i + 1, end, pattern, m, i + 1, &at);
    }
    return npos;
}

bool String::isAlpha(unsigned int pos, unsigned int len) const {
    return everyChar(data(), pos, len, [](const char* p) { return CHIsLetter(p, CC_UTF8); });
}

bool String::isNumeric(unsigned int pos, unsigned int len) const {
    return everyChar(data(), pos, len, [](const char* p) { return CHIsDigit(p, CC_UTF8); });
}

bool String::isAlphaNumeric(unsigned int pos, unsigned int len) const {
    bool letter = false;
    bool digit = false;
    bool other = false;
    bool all = everyChar(data(), pos, len, [&](const char* p) {
        if (!CHIsAlphaNumeric(p, CC_UTF8)) {
            return false;
        }
        if (CHIsLetter(p, CC_UTF8)) {
            letter = true;
        } else if (CHIsDigit(p, CC_UTF8)) {
            digit = true;
        } else {
            other = true;
        }
        return true;
    });
    return all && ((letter && digit) || other);
}

String String::toUppercase() const {
    std::string out;
    appendCase(out, data(), std::strlen(data()), CHToUpper);
    return fromBytes(out.data(), out.size());
}

String String::toLowercase() const {
    const char* text = data();
    const std::size_t n = std::strlen(text);
    std::string out;
    if (std::all_of(text, text + n, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        // ASCII text, as names mostly are, lowers its capitals alone: the host's conversion would
        // give the same bytes.
        out.assign(text, n);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z') {
                c = char(c - 'A' + 'a');
            }
        }
    } else {
        appendCase(out, text, n, CHToLower);
    }
    return fromBytes(out.data(), out.size());
}

String String::toSentenceCase() const {
    std::string out;
    bool capitalise = true;
    const char* p = data();
    while (*p != 0) {
        const char* q = nextChar(p);
        if (isWhiteSpaceByte(*p)) {
            out.append(p, std::size_t(q - p));
            capitalise = true;
            p = q;
            continue;
        }
        if (*p == '.' || *p == '?' || *p == '!') {
            out.append(p, std::size_t(q - p));
            p = q;
            continue;
        }
        if (capitalise) {
            appendCase(out, p, std::size_t(q - p), CHToUpper);
            capitalise = false;
        } else {
            out.append(p, std::size_t(q - p));
        }
        // The sentence runs to the next stop; these are ASCII, never inside a longer character.
        std::size_t rest = std::strcspn(q, ".?!");
        appendCase(out, q, rest, CHToLower);
        p = q + rest;
    }
    return fromBytes(out.data(), out.size());
}

String String::toTitleCase() const {
    std::string out;
    const char* p = data();
    while (*p != 0) {
        const char* q = nextChar(p);
        if (isWhiteSpaceByte(*p)) {
            out.append(p, std::size_t(q - p));
            p = q;
            continue;
        }
        appendCase(out, p, std::size_t(q - p), CHToUpper);
        std::size_t rest = std::strcspn(q, whiteSpace);
        appendCase(out, q, rest, CHToLower);
        p = q + rest;
    }
    return fromBytes(out.data(), out.size());
}

void String::split(String const& separator, std::vector<String>& pieces, bool keepEmpty) const {
    pieces.clear();
    const char* text = data();
    const char* end = text + std::strlen(text);
    const char* sep = separator.data();
    std::size_t m = std::strlen(sep);
    const char* start = text;
    const char* at = nullptr;
    while (*start != 0 && findFrom(start, 0, end, sep, m, 0, &at) != npos) {
        if (at > start || keepEmpty) {
            pieces.push_back(fromBytes(start, std::size_t(at - start)));
        }
        start = at + m;
    }
    if (start < end || keepEmpty) {
        pieces.push_back(fromBytes(start, std::size_t(end - start)));
    }
}

std::ostream& operator<<(std::ostream& out, String const& text) {
    return out.write(text.data(), std::streamsize(text.dataLength()));
}

} // namespace zelvane
