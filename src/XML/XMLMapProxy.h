// Wraps, without owning, a map under another tag and namespace.
#pragma once

#include "XML/XMLMap.h"

namespace zelvane {

class XMLMapProxy : public XMLMap {
public:
    // A null tag or namespace means the wrapped map's own.
    explicit XMLMapProxy(XMLMap& object, char const* tag = nullptr, char const* nameSpace = nullptr)
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
    bool insert(Shipping& entry) override { return m_object->insert(entry); }
    bool insert(Shipping& entry, bool& taken) override { return m_object->insert(entry, taken); }
    void setDefault() override { m_object->setDefault(); }
    bool validate() override { return m_object->validate(); }
    bool read(String const& text) override { return m_object->read(text); }
    KeptMarkup* getKept() override { return m_object->getKept(); }

    XMLMap& getObject() const { return *m_object; }

private:
    XMLMap* m_object;
    char const* m_tag;
    char const* m_nameSpace;
};

} // namespace zelvane
