// Wraps, without owning, an assembly under another tag and namespace.
#pragma once

#include "XML/XMLAssembly.h"

namespace zelvane {

class XMLAssemblyProxy : public XMLAssembly {
public:
    // A null tag or namespace means the wrapped assembly's own.
    explicit XMLAssemblyProxy(XMLAssembly& object, char const* tag = nullptr, char const* nameSpace = nullptr)
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
    Shipping* getShipping(String const& tag, String const& nameSpace) override {
        return m_object->getShipping(tag, nameSpace);
    }
    Shipping* getAttribute(String const& tag, String const& nameSpace) override {
        return m_object->getAttribute(tag, nameSpace);
    }
    void setDefault() override { m_object->setDefault(); }
    bool validate() override { return m_object->validate(); }
    bool read(String const& text) override { return m_object->read(text); }
    KeptMarkup* getKept() override { return m_object->getKept(); }

    XMLAssembly& getObject() const { return *m_object; }

private:
    XMLAssembly* m_object;
    char const* m_tag;
    char const* m_nameSpace;
};

} // namespace zelvane
