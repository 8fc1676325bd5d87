#include "sim/Escaped.h"

#include <iomanip>
#include <sstream>

namespace sim {
namespace {

unsigned char byteAt(std::string_view text, std::size_t at) {
    return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
}

// The length in bytes of the well-formed UTF-8 character that starts at `at`; 0 when the byte
// there starts none. The range of the second byte leaves out overlong forms, surrogates and
// code points beyond U+10FFFF.
std::size_t characterLength(std::string_view text, std::size_t at) {
    const unsigned char c = byteAt(text, at);
    if (c < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (byteAt(text, at + 1) < low || byteAt(text, at + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byteAt(text, at + k) < 0x80 || byteAt(text, at + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// The text escaped; a line of content keeps its quotes and TABs and is written without quotes.
std::string escapedText(std::string_view value, bool content) {
    std::ostringstream out;
    out << std::hex << std::setfill('0');
    for (std::size_t i = 0; i < value.size();) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        const std::size_t length = characterLength(value, i);
        const std::size_t control = controlLength(value, i);
        if (content && (c == '\t' || c == '"')) {
            out << c;
        } else if (c == '\n') {
            out << "\\n";
        } else if (length == 0 || control == 1) {
            // A byte of no character, or a C0 control or DEL: the byte itself.
            out << "\\x" << std::setw(2) << int(c);
        } else if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (control > 1) {
            // A character of two or three bytes, by its code point.
            unsigned point = c & (control == 2 ? 0x1F : 0x0F);
            for (std::size_t k = 1; k < control; ++k) {
                point = (point << 6) | (static_cast<unsigned char>(value[i + k]) & 0x3F);
            }
            out << "\\u" << std::setw(4) << point;
        } else {
            out.write(value.data() + i, std::streamsize(length));
        }
        i += length == 0 ? 1 : length;
    }
    return out.str();
}

} // namespace

std::size_t controlLength(std::string_view text, std::size_t at) {
    const unsigned char c = byteAt(text, at);
    if (c < 0x20 || c == 0x7F) {
        return 1;
    }
    if (c == 0xC2 && byteAt(text, at + 1) >= 0x80 && byteAt(text, at + 1) <= 0x9F) {
        return 2;
    }
    if (c == 0xE2 && byteAt(text, at + 1) == 0x80 &&
        (byteAt(text, at + 2) == 0xA8 || byteAt(text, at + 2) == 0xA9)) {
        return 3;
    }
    return 0;
}

std::string escaped(std::string_view value) {
    return '"' + escapedText(value, false) + '"';
}

std::string escapedLine(std::string_view line) {
    return escapedText(line, true);
}

std::string escapedMember(std::string_view name) {
    // Each escape is longer than what it stands for: a text of the same length is unchanged.
    std::string quoted = escaped(name);
    return quoted.size() == name.size() + 2 ? std::string(name) : quoted;
}

} // namespace sim
