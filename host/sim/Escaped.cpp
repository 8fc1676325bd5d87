#include "sim/Escaped.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

namespace sim {

std::size_t controlLength(std::string_view text, std::size_t at) {
    auto byte = [&text](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0; };
    const unsigned char c = byte(at);
    if (c < 0x20 || c == 0x7F) {
        return 1;
    }
    if (c == 0xC2 && byte(at + 1) >= 0x80 && byte(at + 1) <= 0x9F) {
        return 2;
    }
    if (c == 0xE2 && byte(at + 1) == 0x80 && (byte(at + 2) == 0xA8 || byte(at + 2) == 0xA9)) {
        return 3;
    }
    return 0;
}

namespace {

// The text escaped; a line of content keeps its quotes and TABs and is written without quotes.
std::string escapedText(std::string_view value, bool content) {
    std::ostringstream out;
    out << std::hex << std::setfill('0');
    for (std::size_t i = 0; i < value.size();) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        const std::size_t control = controlLength(value, i);
        if (c == '\n') {
            out << "\\n";
        } else if (content && (c == '\t' || c == '"')) {
            out << c;
        } else if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (control == 1) {
            out << "\\x" << std::setw(2) << int(c);
        } else if (control > 1) {
            // A character of two or three bytes, by its code point.
            unsigned point = c & (control == 2 ? 0x1F : 0x0F);
            for (std::size_t k = 1; k < control; ++k) {
                point = (point << 6) | (static_cast<unsigned char>(value[i + k]) & 0x3F);
            }
            out << "\\u" << std::setw(4) << point;
        } else {
            out << c;
        }
        i += std::max<std::size_t>(control, 1);
    }
    return out.str();
}

} // namespace

std::string escaped(std::string_view value) {
    return '"' + escapedText(value, false) + '"';
}

std::string escapedLine(std::string_view line) {
    return escapedText(line, true);
}

} // namespace sim
