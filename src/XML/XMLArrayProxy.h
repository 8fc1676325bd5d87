// Wraps, without owning, an array under another tag and namespace.
#pragma once

#include "XML/XMLArray.h"

namespace zelvane {

class XMLArrayProxy : public XMLArray {
public:
    // A null tag or namespace means the wrapped array's own.
    explicit XMLArrayProxy(XMLArray& object, char const* tag = nullptr, char const* nameSpace = nullptr)
        : m_object(&object), m_tag(tag), m_nameSpace(nameSpace) {}

    char const* getTag() const override { return m_tag != nullptr ? m_tag : m_object->getTag(); }
    char const* getNameSpace() const override {
        return m_nameSpace != nullptr ? m_nameSpace : m_object->getNameSpace();
    }
    void setTag(char const* tag) override { m_tag = tag; }

    std::size_t shippingSize() const override { return m_object->shippingSize(); }
    Shipping* getShipping(std::size_t index, bool attributes) override {
        return m_object->getShipping(index, attributes);
    }
    using XMLArray::addShipping;
    Shipping* addShipping(String const& tag, String const& nameSpace) override {
        return m_object->addShipping(tag, nameSpace);
    }
    Shipping* addAttribute(String const& tag, String const& nameSpace) override {
        return m_object->addAttribute(tag, nameSpace);
    }
    void setDefault() override { m_object->setDefault(); }
    bool validate() override { return m_object->validate(); }
    bool read(String const& text) override { return m_object->read(text); }
    KeptMarkup* getKept() override { return m_object->getKept(); }

    XMLArray& getObject() const { return *m_object; }

private:
    XMLArray* m_object;
    char const* m_tag;
    char const* m_nameSpace;
};

} // namespace zelvane
