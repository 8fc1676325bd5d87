#include "Environment/StringUtilities.h"

#include "Environment/ToString.h"
#include "Environment/UTF8Steps.h"
#include "GSRoot/CH.hpp"

#include <cstring>
#include <new>
#include <string>

namespace zelvane {

namespace {

constexpr unsigned int npos = String::npos;

using detail::advance;
using detail::nextChar;

String repeated(String const& piece, unsigned int times) {
    String result;
    unsigned long long bytes = (unsigned long long)piece.dataLength() * times;
    if (bytes >= 0x7FFFFFFFULL) {
        throw std::bad_alloc();
    }
    result.reserve(unsigned(bytes));
    for (unsigned int i = 0; i < times; ++i) {
        result += piece;
    }
    return result;
}

// The bytes of the character at p form one of the characters of set.
bool inSet(const char* p, std::size_t n, String const& set) {
    const char* s = set.data();
    for (const char* q = s; *q != 0; q = nextChar(q)) {
        if (std::size_t(nextChar(q) - q) == n && std::memcmp(p, q, n) == 0) {
            return true;
        }
    }
    return false;
}

struct Ending {
    unsigned int ending = npos;
    unsigned int after = npos;
    const char* afterText = nullptr; // the text at `after`
};

// Scans from p, the character at index i, for the first line ending before end. CR and LF are
// ASCII, so a pair is two single-byte characters.
Ending scanEnding(const char* p, unsigned int i, unsigned int end) {
    while (*p != 0 && i < end && *p != '\r' && *p != '\n') {
        p = nextChar(p);
        ++i;
    }
    Ending e;
    if (*p == 0 || i >= end) {
        return e;
    }
    e.ending = i;
    if (i + 1 >= end) {
        return e;
    }
    bool pair = (p[0] == '\r' && p[1] == '\n') || (p[0] == '\n' && p[1] == '\r');
    if (!pair) {
        e.after = i + 1;
        e.afterText = p + 1;
    } else if (i + 2 < end) {
        e.after = i + 2;
        e.afterText = p + 2;
    }
    // A pair that closes the range is one ending, with nothing after it.
    return e;
}

unsigned int clipEnd(String const& text, unsigned int end) {
    unsigned int n = text.size();
    return end > n ? n : end;
}

} // namespace

String& replaceEnclosing(String& text, String const& set, String const& replacement, bool leading,
                         bool trailing) {
    if (set.empty() || (!leading && !trailing) || text.empty()) {
        return text;
    }
    if (text.findFirstNotOf(set) == npos) {
        text.clear();
        return text;
    }
    unsigned int first = leading ? text.findFirstNotOf(set) : 0;
    unsigned int last = trailing ? text.findLastNotOf(set) : npos;
    unsigned int removedBefore = first;
    unsigned int removedAfter = last == npos ? 0 : text.size() - 1 - last;
    String core = last == npos ? text.substr(first) : text.substr(first, last - first + 1);
    if (replacement.empty()) {
        text = core;
        return text;
    }
    String result = repeated(replacement, removedBefore);
    result += core;
    result += repeated(replacement, removedAfter);
    text = result;
    return text;
}

String& replaceAll(String& text, String const& from, String const& to) {
    const char* pattern = from.data();
    std::size_t m = std::strlen(pattern);
    if (m == 0 || text.empty()) {
        return text;
    }
    const char* p = text.data();
    const char* end = p + std::strlen(p);
    std::string result;
    bool changed = false;
    while (*p != 0) {
        if (std::size_t(end - p) >= m && std::memcmp(p, pattern, m) == 0) {
            result += to.data();
            p += m;
            changed = true;
        } else {
            const char* q = nextChar(p);
            result.append(p, std::size_t(q - p));
            p = q;
        }
    }
    if (changed) {
        text = result.c_str();
    }
    return text;
}

String& replaceAllOf(String& text, String const& set, String const& replacement) {
    if (set.empty() || text.empty()) {
        return text;
    }
    std::string result;
    bool changed = false;
    for (const char* p = text.data(); *p != 0;) {
        const char* q = nextChar(p);
        if (inSet(p, std::size_t(q - p), set)) {
            result += replacement.data();
            changed = true;
        } else {
            result.append(p, std::size_t(q - p));
        }
        p = q;
    }
    if (changed) {
        text = result.c_str();
    }
    return text;
}

bool findQuoted(String& text, unsigned int& start, unsigned int& end, String const& quotes) {
    unsigned int open = text.findFirstOf(quotes, start);
    if (open == npos) {
        start = npos;
        return false;
    }
    String quote = text.substr(open, 1);
    start = open + 1;
    end = text.find(quote, start);
    return end != npos;
}

bool padRight(String& text, unsigned int width, String const& pad) {
    unsigned int length = text.size();
    if (length == width) {
        return true;
    }
    unsigned int padLength = pad.size();
    if (length > width || padLength == 0) {
        return false;
    }
    String result = repeated(pad, (width - length + padLength - 1) / padLength);
    result += text;
    text = result.substr(result.size() - width);
    return true;
}

bool padLeft(String& text, unsigned int width, String const& pad) {
    unsigned int length = text.size();
    if (length == width) {
        return true;
    }
    unsigned int padLength = pad.size();
    if (length > width || padLength == 0) {
        return false;
    }
    String result = text;
    result += repeated(pad, (width - length + padLength - 1) / padLength);
    text = result.substr(0, width);
    return true;
}

std::pair<unsigned int, unsigned int> findLineEnding(String const& text, unsigned int start,
                                                     unsigned int end) {
    end = clipEnd(text, end);
    if (start >= end) {
        return {npos, npos};
    }
    Ending e = scanEnding(advance(text.data(), start), start, end);
    return {e.ending, e.after};
}

unsigned int findLines(String const& text, std::vector<std::pair<unsigned int, unsigned int>>& lines,
                       unsigned int start, unsigned int end) {
    end = clipEnd(text, end);
    if (end <= start) {
        return 0;
    }
    std::size_t before = lines.size();
    const char* p = advance(text.data(), start);
    unsigned int lineStart = start;
    for (;;) {
        Ending e = scanEnding(p, lineStart, end);
        if (e.ending == npos) {
            lines.emplace_back(lineStart, end - lineStart);
            break;
        }
        lines.emplace_back(lineStart, e.ending - lineStart);
        if (e.after == npos) {
            break;
        }
        lineStart = e.after;
        p = e.afterText;
    }
    return unsigned(lines.size() - before);
}

unsigned int findTrailingNumber(String const& text, unsigned int pos, unsigned int len) {
    String part(text, pos, len);
    unsigned int last = part.findLastNotOf(String::digits);
    if (last == npos || last + 1 == part.size()) {
        return npos;
    }
    ToUInt32 number(part.substr(last + 1));
    return number.isValid() ? number.getValue() : npos;
}

} // namespace zelvane
