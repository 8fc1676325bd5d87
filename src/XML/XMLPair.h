// One map entry: a key object and a data object, both owned, written as one element whose fields
// are the key's followed by the data's.
#pragma once

#include "XML/XMLAssembly.h"

namespace zelvane {

class XMLPair : public XMLAssembly {
public:
    // Takes ownership of both objects; either may be null.
    XMLPair(XMLShipping* key, XMLShipping* data, char const* tag = nullptr, char const* nameSpace = nullptr);
    // Two pairs never own the same objects.
    XMLPair(XMLPair const&) = delete;
    XMLPair& operator=(XMLPair const&) = delete;
    ~XMLPair() override;

    virtual XMLShipping* getKey() const { return m_key; }
    virtual XMLShipping* getData() const { return m_data; }
    void setTag(char const* tag) override { m_tag = tag; }
    bool validate() override;
    // Hand the object to the caller and forget it.
    virtual XMLShipping* releaseKey();
    virtual XMLShipping* releaseData();

    char const* getTag() const override;
    char const* getNameSpace() const override;
    bool hasAttributes() const override { return true; }
    std::size_t shippingSize() const override { return m_keySize + m_dataSize; }
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    Shipping* getAttribute(String const& tag, String const& nameSpace) override;
    void setDefault() override;
    // What the data keeps.
    KeptMarkup* getKept() override;

private:
    char const* m_tag;
    char const* m_nameSpace;
    XMLShipping* m_key;
    XMLShipping* m_data;
    // The same objects as shippings, found once.
    Shipping* m_keyShipping;
    Shipping* m_dataShipping;
    std::size_t m_keySize;
    std::size_t m_dataSize;
};

} // namespace zelvane
