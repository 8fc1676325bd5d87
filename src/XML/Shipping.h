// Root of every object that is read from and written to XML.
#pragma once

namespace zelvane {

class String;

class Shipping {
public:
    Shipping() = default;
    Shipping(Shipping const&) = default;
    Shipping& operator=(Shipping const&) = default;
    virtual ~Shipping() = default;

    // Only essential objects are written; reading ignores the flag.
    virtual void setEssential(bool essential) { m_essential = essential; }
    virtual void clear() { setDefault(); }
    virtual void setDefault() = 0;
    // A consistency check run once the object was read; false fails the read.
    virtual bool validate() { return true; }
    virtual bool isEssential() const { return m_essential; }
    // Takes text content; false when the text cannot be taken.
    virtual bool read(String const& text) = 0;

private:
    bool m_essential = true;
};

} // namespace zelvane
