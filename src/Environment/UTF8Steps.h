// Stepping through NUL-terminated UTF-8 text by whole characters.
#pragma once

#include "GSRoot/CH.hpp"

namespace zelvane {
namespace detail {

// The character after p (p itself at the terminator). ASCII characters are one byte; everything
// else asks the host.
inline const char* nextChar(const char* p) {
    unsigned char b = static_cast<unsigned char>(*p);
    if (b != 0 && b < 0x80) {
        return p + 1;
    }
    return CHGetNextCharPtr(p, CC_UTF8);
}

// The character pos characters after p, or the terminator when the text is shorter.
inline const char* advance(const char* p, unsigned int pos) {
    while (pos > 0 && *p != 0) {
        p = nextChar(p);
        --pos;
    }
    return p;
}

} // namespace detail
} // namespace zelvane
