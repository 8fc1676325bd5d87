#include "IFC/IFCMemo.h"

#include "Element/Element.h"
#include "IFC/IFCAttribute.h"
#include "IFC/IFCClassificationReference.h"
#include "IFC/IFCProperty.h"

#include <vector>

namespace zelvane {

IFCMemo::IFCMemo(const IFCMemo& other)
    : m_data(other.m_data != nullptr ? new IFCDataList(*other.m_data) : nullptr),
      m_isAllLoaded(other.m_isAllLoaded) {}

IFCMemo& IFCMemo::operator=(const IFCMemo& other) {
    if (this != &other) {
        m_data.reset(other.m_data != nullptr ? new IFCDataList(*other.m_data) : nullptr);
        m_isAllLoaded = other.m_isAllLoaded;
    }
    return *this;
}

const Element* IFCMemo::element() const {
    return dynamic_cast<const Element*>(this);
}

void IFCMemo::retrieveData() const {
    if (m_data != nullptr) {
        return;
    }
    m_data = std::make_unique<IFCDataList>();
    const Element* owner = element();
    if (owner == nullptr || !bool(owner->getUniqueID())) {
        return;
    }
    API_Guid guid = owner->getUniqueID();
    bool storedOnly = !m_isAllLoaded;
    GS::Array<API_IFCProperty> properties;
    if (ACAPI_Element_GetIFCProperties(guid, storedOnly, &properties) == NoError) {
        m_data->unpack(properties);
    }
    GS::Array<API_IFCAttribute> attributes;
    if (ACAPI_Element_GetIFCAttributes(guid, storedOnly, &attributes) == NoError) {
        m_data->unpack(attributes);
    }
    GS::Array<API_IFCClassificationReference> references;
    if (ACAPI_Element_GetIFCClassificationReferences(guid, storedOnly, &references) == NoError) {
        m_data->unpack(references);
    }
}

IFCProperty* IFCMemo::getProperty(const String& name, const String& setName) const {
    retrieveData();
    return m_data->getProperty(name, setName);
}

IFCAttribute* IFCMemo::getAttribute(const String& name) const {
    retrieveData();
    return m_data->getAttribute(name);
}

IFCClassificationReference* IFCMemo::getClassificationReference(const String& name) const {
    retrieveData();
    return m_data->getClassificationReference(name);
}

bool IFCMemo::setProperty(IFCProperty* property) {
    retrieveData();
    const Element* owner = element();
    if (owner == nullptr || property == nullptr) {
        return false;
    }
    API_IFCProperty record;
    if (!property->pack(record)) {
        return false;
    }
    m_data->setProperty(property);
    ACAPI_Element_SetIFCProperty(owner->getUniqueID(), record);
    return true;
}

bool IFCMemo::setAttribute(IFCAttribute* attribute) {
    retrieveData();
    const Element* owner = element();
    if (owner == nullptr || attribute == nullptr) {
        return false;
    }
    API_IFCAttribute record;
    if (!attribute->pack(record)) {
        return false;
    }
    m_data->setAttribute(attribute);
    ACAPI_Element_SetIFCAttribute(owner->getUniqueID(), record);
    return true;
}

void IFCMemo::deleteProperty(const String& name, const String& setName) {
    IFCProperty* property = getProperty(name, setName);
    const Element* owner = element();
    API_IFCProperty record;
    if (owner == nullptr || property == nullptr || !property->pack(record)) {
        return;
    }
    m_data->deleteProperty(property);
    ACAPI_Element_RemoveIFCProperty(owner->getUniqueID(), record);
}

void IFCMemo::deletePropertySet(const String& setName) {
    const IFCDataList::NameMap& names = getPropertyNameMap();
    auto it = names.find(setName);
    if (it == names.end()) {
        return;
    }
    std::vector<String> copy = it->second;
    for (const String& name : copy) {
        deleteProperty(name, setName);
    }
}

String IFCMemo::getIFCGuid() const {
    const IFCAttribute* id = getAttribute("GlobalId");
    return id != nullptr ? id->getText() : String();
}

const IFCDataList::NameMap& IFCMemo::getPropertyNameMap() const {
    retrieveData();
    return m_data->getPropertyNameMap();
}

const IFCDataList::NameMap& IFCMemo::getAttributeNameMap() const {
    retrieveData();
    return m_data->getAttributeNameMap();
}

const IFCDataList::NameMap& IFCMemo::getClassificationNameMap() const {
    retrieveData();
    return m_data->getClassificationNameMap();
}

void IFCMemo::setAllIFCDataLoaded(bool all) {
    if (all == m_isAllLoaded) {
        return;
    }
    if (!m_isAllLoaded) {
        m_data.reset();
    }
    m_isAllLoaded = all;
}

void IFCMemo::applyDelta(const Element& edited, const Element& reference) {
    const auto* changed = dynamic_cast<const IFCMemo*>(&edited);
    const auto* base = dynamic_cast<const IFCMemo*>(&reference);
    if (changed == nullptr || base == nullptr) {
        return;
    }
    changed->retrieveData();
    base->retrieveData();
    if (!changed->m_data->empty() && !base->m_data->empty()) {
        retrieveData();
    }
}

} // namespace zelvane
