// Gives a bindable object its XML name: a tag and an optional namespace.
#pragma once

namespace zelvane {

class XMLShipping {
public:
    XMLShipping() = default;
    XMLShipping(XMLShipping const&) = default;
    XMLShipping& operator=(XMLShipping const&) = default;
    virtual ~XMLShipping() = default;

    // NUL-terminated UTF-8.
    virtual char const* getTag() const = 0;
    // Null means no namespace.
    virtual char const* getNameSpace() const { return nullptr; }
    virtual void setTag(char const*) {}
};

} // namespace zelvane
