#include "IFC/IFCDataList.h"

#include "IFC/IFCAttribute.h"
#include "IFC/IFCClassificationReference.h"
#include "IFC/IFCProperty.h"
#include "IFC/MakeIFCData.h"

#include <algorithm>

namespace zelvane {

namespace {

bool isProperty(const IFCData* item) {
    return item != nullptr && item->getType() >= 0;
}

bool matches(const IFCProperty& property, const String& name, const String& setName) {
    return property.getName() == name && (setName.empty() || property.getSetName() == setName);
}

} // namespace

IFCDataList::~IFCDataList() {
    m_propertyNames.reset();
    m_attributeNames.reset();
    m_classificationNames.reset();
}

IFCProperty* IFCDataList::getProperty(const String& name, const String& setName) const {
    for (IFCData* item : *this) {
        if (isProperty(item) && matches(*static_cast<IFCProperty*>(item), name, setName)) {
            return static_cast<IFCProperty*>(item);
        }
    }
    return nullptr;
}

IFCAttribute* IFCDataList::getAttribute(const String& name) const {
    for (IFCData* item : *this) {
        if (item != nullptr && item->getType() == IFCData::attributeKind && item->getName() == name) {
            return static_cast<IFCAttribute*>(item);
        }
    }
    return nullptr;
}

IFCClassificationReference* IFCDataList::getClassificationReference(const String& name) const {
    for (IFCData* item : *this) {
        if (item != nullptr && item->getType() == IFCData::classificationKind && item->getName() == name) {
            return static_cast<IFCClassificationReference*>(item);
        }
    }
    return nullptr;
}

void IFCDataList::setProperty(IFCProperty* property) {
    if (property == nullptr) {
        return;
    }
    if (std::find(begin(), end(), property) != end()) {
        // Changed in place and given back: it stays where it is and replaces the ones of its name
        // and set before it, so that lookups find it.
        String name = property->getName();
        String setName = property->getSetName();
        for (auto it = begin(); *it != property;) {
            if (isProperty(*it) && (*it)->getName() == name &&
                static_cast<const IFCProperty*>(*it)->getSetName() == setName) {
                removeName(m_propertyNames.get(), setName, name);
                it = erase(it);
            } else {
                ++it;
            }
        }
        return;
    }
    std::unique_ptr<IFCProperty> taken(property);
    deleteProperty(property);
    push_back(taken.release());
    if (m_propertyNames != nullptr) {
        (*m_propertyNames)[property->getSetName()].push_back(property->getName());
    }
}

void IFCDataList::setAttribute(IFCAttribute* attribute) {
    if (attribute == nullptr) {
        return;
    }
    if (std::find(begin(), end(), attribute) != end()) {
        // Given back: as for properties, it replaces the ones of its name before it.
        String name = attribute->getName();
        for (auto it = begin(); *it != attribute;) {
            if (*it != nullptr && (*it)->getType() == IFCData::attributeKind && (*it)->getName() == name) {
                removeName(m_attributeNames.get(), String(), name);
                it = erase(it);
            } else {
                ++it;
            }
        }
        return;
    }
    std::unique_ptr<IFCAttribute> taken(attribute);
    deleteAttribute(attribute);
    push_back(taken.release());
    if (m_attributeNames != nullptr) {
        (*m_attributeNames)[String()].push_back(attribute->getName());
    }
}

void IFCDataList::removeName(NameMap* map, const String& key, const String& name) {
    if (map == nullptr) {
        return;
    }
    auto it = map->find(key);
    if (it == map->end()) {
        return;
    }
    auto found = std::find(it->second.begin(), it->second.end(), name);
    if (found != it->second.end()) {
        it->second.erase(found);
    }
    if (it->second.empty()) {
        map->erase(it);
    }
}

void IFCDataList::deleteProperty(const IFCProperty* property) {
    if (property == nullptr) {
        return;
    }
    // Copies: the property may be the one deleted.
    String name = property->getName();
    String setName = property->getSetName();
    for (auto it = begin(); it != end(); ++it) {
        if (isProperty(*it)) {
            const auto* held = static_cast<const IFCProperty*>(*it);
            if (held->getName() == name && held->getSetName() == setName) {
                removeName(m_propertyNames.get(), setName, name);
                erase(it);
                return;
            }
        }
    }
}

void IFCDataList::deleteAttribute(const IFCAttribute* attribute) {
    if (attribute == nullptr) {
        return;
    }
    String name = attribute->getName();
    for (auto it = begin(); it != end(); ++it) {
        if (*it != nullptr && (*it)->getType() == IFCData::attributeKind && (*it)->getName() == name) {
            removeName(m_attributeNames.get(), String(), name);
            erase(it);
            return;
        }
    }
}

const IFCDataList::NameMap& IFCDataList::getPropertyNameMap() const {
    if (m_propertyNames == nullptr) {
        auto map = std::make_unique<NameMap>();
        for (const IFCData* item : *this) {
            if (isProperty(item)) {
                (*map)[static_cast<const IFCProperty*>(item)->getSetName()].push_back(item->getName());
            }
        }
        m_propertyNames = std::move(map);
    }
    return *m_propertyNames;
}

const IFCDataList::NameMap& IFCDataList::getAttributeNameMap() const {
    if (m_attributeNames == nullptr) {
        auto map = std::make_unique<NameMap>();
        for (const IFCData* item : *this) {
            if (item != nullptr && item->getType() == IFCData::attributeKind) {
                (*map)[String()].push_back(item->getName());
            }
        }
        m_attributeNames = std::move(map);
    }
    return *m_attributeNames;
}

const IFCDataList::NameMap& IFCDataList::getClassificationNameMap() const {
    if (m_classificationNames == nullptr) {
        auto map = std::make_unique<NameMap>();
        for (const IFCData* item : *this) {
            if (item != nullptr && item->getType() == IFCData::classificationKind) {
                (*map)[String()].push_back(item->getName());
            }
        }
        m_classificationNames = std::move(map);
    }
    return *m_classificationNames;
}

template <typename Record>
bool IFCDataList::unpackAll(const GS::Array<Record>& records) {
    bool all = true;
    MakeIFCData make;
    for (const Record& record : records) {
        IFCData* item = make(record);
        if (item != nullptr) {
            push_back(item);
        } else {
            all = false;
        }
    }
    return all;
}

bool IFCDataList::unpack(const GS::Array<API_IFCProperty>& records) {
    return unpackAll(records);
}

bool IFCDataList::unpack(const GS::Array<API_IFCAttribute>& records) {
    return unpackAll(records);
}

bool IFCDataList::unpack(const GS::Array<API_IFCClassificationReference>& records) {
    return unpackAll(records);
}

} // namespace zelvane
