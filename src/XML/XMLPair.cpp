#include "XML/XMLPair.h"

#include "Environment/String.h"
#include "XML/XMLArray.h"
#include "XML/XMLUnitProxy.h"

namespace zelvane {

namespace {

std::size_t fieldCount(XMLShipping* object, std::size_t absent) {
    if (object == nullptr) {
        return absent;
    }
    if (auto* container = dynamic_cast<ShippingContainer*>(object)) {
        return container->shippingSize();
    }
    return 1;
}

Shipping* fieldOf(XMLShipping* object, std::size_t index, bool attributes) {
    if (object == nullptr) {
        return nullptr;
    }
    if (auto* container = dynamic_cast<ShippingContainer*>(object)) {
        return container->getShipping(index, attributes);
    }
    if (auto* unit = dynamic_cast<XMLUnit*>(object)) {
        return new XMLUnitProxy(*unit);
    }
    return nullptr;
}

Shipping* fieldByTag(XMLShipping* object, String const& tag, String const& nameSpace) {
    if (object == nullptr) {
        return nullptr;
    }
    if (auto* unit = dynamic_cast<XMLUnit*>(object)) {
        char const* unitTag = unit->getTag();
        char const* unitNameSpace = unit->getNameSpace();
        if (unitTag != nullptr && tag == unitTag &&
            (unitNameSpace == nullptr || nameSpace == unitNameSpace)) {
            return new XMLUnitProxy(*unit);
        }
        return nullptr;
    }
    if (auto* assembly = dynamic_cast<XMLAssembly*>(object)) {
        return assembly->getShipping(tag, nameSpace);
    }
    if (auto* array = dynamic_cast<XMLArray*>(object)) {
        return array->addShipping(tag, nameSpace);
    }
    return nullptr;
}

} // namespace

XMLPair::XMLPair(XMLShipping* key, XMLShipping* data, char const* tag, char const* nameSpace)
    : m_tag(tag), m_nameSpace(nameSpace), m_key(key), m_data(data), m_keySize(fieldCount(key, 0)),
      m_dataSize(fieldCount(data, 1)) {}

XMLPair::~XMLPair() {
    delete m_key;
    delete m_data;
}

XMLShipping* XMLPair::releaseKey() {
    XMLShipping* key = m_key;
    m_key = nullptr;
    return key;
}

XMLShipping* XMLPair::releaseData() {
    XMLShipping* data = m_data;
    m_data = nullptr;
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
        return fieldOf(m_key, index, attributes);
    }
    return fieldOf(m_data, index - m_keySize, attributes);
}

Shipping* XMLPair::getShipping(String const& tag, String const& nameSpace) {
    if (Shipping* field = fieldByTag(m_key, tag, nameSpace)) {
        return field;
    }
    return fieldByTag(m_data, tag, nameSpace);
}

void XMLPair::setDefault() {
    if (auto* key = dynamic_cast<Shipping*>(m_key)) {
        key->setDefault();
    }
    if (auto* data = dynamic_cast<Shipping*>(m_data)) {
        data->setDefault();
    }
}

bool XMLPair::validate() {
    bool valid = true;
    if (auto* key = dynamic_cast<Shipping*>(m_key)) {
        valid = key->validate();
    }
    if (auto* data = dynamic_cast<Shipping*>(m_data)) {
        valid = data->validate() && valid;
    }
    return valid;
}

} // namespace zelvane
