// Root of every object that is read from and written to XML.
#pragma once

#include <cstddef>

namespace zelvane {

class ShippingContainer;
class String;
class XMLShipping;
class XMLUnit;

class Shipping {
public:
    Shipping() = default;
    Shipping(Shipping const&) = default;
    Shipping& operator=(Shipping const&) = default;
    virtual ~Shipping() = default;

    // Bindings are made and dropped for every field read or written: small ones are recycled
    // through free lists of this thread instead of the system allocator.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    // Only essential objects are written; reading ignores the flag.
    virtual void setEssential(bool essential) { m_essential = essential; }
    virtual void clear() { setDefault(); }
    virtual void setDefault() = 0;
    // A consistency check run once the object was read; false fails the read.
    virtual bool validate() { return true; }
    virtual bool isEssential() const { return m_essential; }
    // Takes text content; false when the text cannot be taken.
    virtual bool read(String const& text) = 0;

    // The forms of the object that the reader and the writer walk, found without a cast; null when
    // the object does not take that form.
    virtual ShippingContainer* asContainer() { return nullptr; }
    virtual XMLShipping* asXMLShipping() { return nullptr; }
    virtual XMLUnit* asUnit() { return nullptr; }

private:
    bool m_essential = true;
};

} // namespace zelvane
