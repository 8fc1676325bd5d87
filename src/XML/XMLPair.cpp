#include "XML/XMLPair.h"

#include "Environment/String.h"
#include "XML/XMLArray.h"
#include "XML/XMLUnit.h"
#include "XML/XMLUnitProxy.h"

namespace zelvane {

namespace {

std::size_t fieldCount(Shipping* object, std::size_t absent) {
    if (object == nullptr) {
        return absent;
    }
    if (ShippingContainer* container = object->asContainer()) {
        return container->shippingSize();
    }
    return 1;
}

Shipping* fieldOf(Shipping* object, std::size_t index, bool attributes) {
    if (object == nullptr) {
        return nullptr;
    }
    if (ShippingContainer* container = object->asContainer()) {
        return container->getShipping(index, attributes);
    }
    if (XMLUnit* unit = object->asUnit()) {
        return new XMLUnitProxy(*unit);
    }
    return nullptr;
}

Shipping* fieldByTag(XMLShipping* named, Shipping* object, String const& tag, String const& nameSpace,
                     bool attribute) {
    if (object == nullptr) {
        return nullptr;
    }
    if (XMLUnit* unit = object->asUnit()) {
        char const* unitTag = unit->getTag();
        char const* unitNameSpace = unit->getNameSpace();
        if (unitTag != nullptr && tag == unitTag &&
            (unitNameSpace == nullptr || nameSpace == unitNameSpace)) {
            return new XMLUnitProxy(*unit);
        }
        return nullptr;
    }
    if (auto* assembly = dynamic_cast<XMLAssembly*>(named)) {
        return attribute ? assembly->getAttribute(tag, nameSpace) : assembly->getShipping(tag, nameSpace);
    }
    if (auto* array = dynamic_cast<XMLArray*>(named)) {
        return attribute ? array->addAttribute(tag, nameSpace) : array->addShipping(tag, nameSpace);
    }
    return nullptr;
}

} // namespace

XMLPair::XMLPair(XMLShipping* key, XMLShipping* data, char const* tag, char const* nameSpace)
    : m_tag(tag), m_nameSpace(nameSpace), m_key(key), m_data(data),
      m_keyShipping(dynamic_cast<Shipping*>(key)), m_dataShipping(dynamic_cast<Shipping*>(data)),
      m_keySize(fieldCount(m_keyShipping, 0)), m_dataSize(fieldCount(m_dataShipping, 1)) {}

XMLPair::~XMLPair() {
    delete m_key;
    delete m_data;
}

XMLShipping* XMLPair::releaseKey() {
    XMLShipping* key = m_key;
    m_key = nullptr;
    m_keyShipping = nullptr;
    return key;
}

XMLShipping* XMLPair::releaseData() {
    XMLShipping* data = m_data;
    m_data = nullptr;
    m_dataShipping = nullptr;
    return data;
}

char const* XMLPair::getTag() const {
    if (m_tag != nullptr || m_data == nullptr) {
        return m_tag;
    }
    return m_data->getTag();
}

char const* XMLPair::getNameSpace() const {
    if (m_nameSpace != nullptr || m_data == nullptr) {
        return m_nameSpace;
    }
    return m_data->getNameSpace();
}

Shipping* XMLPair::getShipping(std::size_t index, bool attributes) {
    if (index < m_keySize) {
        return fieldOf(m_keyShipping, index, attributes);
    }
    return fieldOf(m_dataShipping, index - m_keySize, attributes);
}

Shipping* XMLPair::getShipping(String const& tag, String const& nameSpace) {
    if (Shipping* field = fieldByTag(m_key, m_keyShipping, tag, nameSpace, false)) {
        return field;
    }
    return fieldByTag(m_data, m_dataShipping, tag, nameSpace, false);
}

Shipping* XMLPair::getAttribute(String const& tag, String const& nameSpace) {
    if (Shipping* field = fieldByTag(m_key, m_keyShipping, tag, nameSpace, true)) {
        return field;
    }
    return fieldByTag(m_data, m_dataShipping, tag, nameSpace, true);
}

KeptMarkup* XMLPair::getKept() {
    ShippingContainer* data = m_dataShipping != nullptr ? m_dataShipping->asContainer() : nullptr;
    return data != nullptr ? data->getKept() : nullptr;
}

void XMLPair::setDefault() {
    if (m_keyShipping != nullptr) {
        m_keyShipping->setDefault();
    }
    if (m_dataShipping != nullptr) {
        m_dataShipping->setDefault();
    }
}

bool XMLPair::validate() {
    bool valid = true;
    if (m_keyShipping != nullptr) {
        valid = m_keyShipping->validate();
    }
    if (m_dataShipping != nullptr) {
        valid = m_dataShipping->validate() && valid;
    }
    return valid;
}

} // namespace zelvane
