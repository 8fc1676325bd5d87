// The host's name of one file-system entry (a file or folder name, not a path).
#pragma once

#include "GSRoot/UniString.hpp"

#include <string>

namespace IO {

class Name {
public:
    Name() = default;
    explicit Name(const GS::UniString& text);
    // From UTF-8 text up to its NUL.
    explicit Name(const char* utf8);

    const GS::UniString& ToString() const { return m_text; }
    std::string ToUTF8() const;
    bool IsEmpty() const { return m_text.IsEmpty(); }
    // The text after the last "." of the name, without the dot; ErrNotFound when the name has no
    // dot after its first character (".profile" has no extension; "a." an empty one).
    GSErrCode GetExtension(Name* extension) const;

    bool operator==(const Name& other) const { return m_text == other.m_text; }
    bool operator!=(const Name& other) const { return m_text != other.m_text; }

private:
    GS::UniString m_text;
};

} // namespace IO
