#include "Preset/PresetRecord.h"

#include "Environment/AngleSetting.h"
#include "Environment/IDSetting.h"
#include "Preset/PresetFieldProxy.h"
#include "Preset/PresetFieldType.h"
#include "XML/KeptMarkup.h"
#include "XML/XMLAssemblyProxy.h"

#include <iterator>

namespace zelvane {

namespace {

using GuidField = PresetFieldType<IDSetting, Guid>;
using AngleField = PresetFieldType<AngleSetting, double>;

constexpr double radiansPerDegree = 0.017453292519943295;

template <typename Container>
auto positionOf(Container const& items, std::size_t index) {
    return std::next(items.begin(), static_cast<std::ptrdiff_t>(index));
}

} // namespace

PresetRecord::PresetRecord(bool isChild, String const& name) : UserDataRecord(name), m_isChild(isChild) {}

PresetRecord::PresetRecord(PresetRecord const& other)
    : UserDataRecord(other), m_fields(other.m_fields),
      m_children(other.m_children != nullptr ? std::make_unique<ChildMap>(*other.m_children) : nullptr),
      m_isChild(other.m_isChild), m_isLegacy(other.m_isLegacy) {}

PresetRecord* PresetRecord::childInPlaceOf(FieldMap::const_iterator field) const {
    if (m_children == nullptr || field->second == nullptr || field->second->isIgnored()) {
        return nullptr;
    }
    auto const* link = dynamic_cast<GuidField const*>(field->second);
    if (link == nullptr || link->getValue(0)) {
        return nullptr;
    }
    auto child = m_children->find(field->first);
    return child != m_children->end() ? child->second : nullptr;
}

Shipping* PresetRecord::getShipping(std::size_t index, bool attributes) {
    if (index < 3) {
        return m_isChild ? nullptr : UserDataRecord::getShipping(index, attributes);
    }
    if (attributes || index - 3 >= m_fields.size()) {
        return nullptr;
    }
    auto field = positionOf(m_fields, index - 3);
    if (field->second == nullptr) {
        return nullptr;
    }
    if (PresetRecord* child = childInPlaceOf(field)) {
        return new XMLAssemblyProxy(*child);
    }
    return new PresetFieldProxy(*field->second, field->first.data());
}

Shipping* PresetRecord::getShipping(String const& tag, String const& nameSpace) {
    auto field = m_fields.find(tag);
    if (field != m_fields.end() && field->second != nullptr) {
        return new PresetFieldProxy(*field->second, field->first.data());
    }
    if (PresetRecord* child = nextChildRead(tag)) {
        return new XMLAssemblyProxy(*child);
    }
    return m_isChild ? nullptr : UserDataRecord::getShipping(tag, nameSpace);
}

Shipping* PresetRecord::getAttribute(String const& tag, String const& nameSpace) {
    return m_isChild ? nullptr : UserDataRecord::getShipping(tag, nameSpace);
}

// Children are written in key order, each in its slot's place under its type name. Reading the
// n-th element of a type into the n-th child of that type written in place (not into the first
// child of the type) keeps a record with two children of one type as written. An element with no
// such child left is kept as written (validate puts it after the record's elements).
PresetRecord* PresetRecord::nextChildRead(String const& tag) {
    if (m_children == nullptr) {
        return nullptr;
    }
    for (auto const& child : *m_children) {
        if (child.second == nullptr || child.second->getTypeName() != tag ||
            m_childrenRead.count(child.first) != 0) {
            continue;
        }
        auto slot = m_fields.find(child.first);
        if (slot != m_fields.end() && childInPlaceOf(slot) != nullptr) {
            m_childrenRead.insert(child.first);
            return child.second;
        }
    }
    return nullptr;
}

bool PresetRecord::validate() {
    if (KeptMarkup* kept = getKept(); kept != nullptr && m_children != nullptr) {
        for (auto const& child : *m_children) {
            if (child.second != nullptr) {
                kept->putLast(child.second->getTypeName());
            }
        }
    }
    return UserDataRecord::validate();
}

void PresetRecord::setDefault() {
    UserDataRecord::setDefault();
    m_childrenRead.clear();
}

PresetField const* PresetRecord::getField(String const& name, String const& childKey) const {
    if (childKey.empty()) {
        auto field = m_fields.find(name);
        return field != m_fields.end() ? field->second : nullptr;
    }
    if (m_children == nullptr) {
        return nullptr;
    }
    if (PresetRecord const* child = getChildRecord(childKey)) {
        if (PresetField const* field = child->getField(name)) {
            return field;
        }
    }
    for (auto const& child : *m_children) {
        if (child.second == nullptr) {
            continue;
        }
        if (PresetField const* field = child.second->getField(name, childKey)) {
            return field;
        }
    }
    return nullptr;
}

PresetField* PresetRecord::getField(String const& name, String const& childKey) {
    return const_cast<PresetField*>(static_cast<PresetRecord const&>(*this).getField(name, childKey));
}

std::size_t PresetRecord::getColumnCount(String const& name) const {
    PresetField const* field = getField(name);
    return field != nullptr ? field->getColumnCount() : 0;
}

String PresetRecord::getChildKeyName(std::size_t index) const {
    return index < getChildCount() ? positionOf(*m_children, index)->first : String();
}

PresetRecord const* PresetRecord::getChildRecord(std::size_t index) const {
    return index < getChildCount() ? positionOf(*m_children, index)->second : nullptr;
}

PresetRecord* PresetRecord::getChildRecord(std::size_t index) {
    return const_cast<PresetRecord*>(static_cast<PresetRecord const&>(*this).getChildRecord(index));
}

PresetRecord const* PresetRecord::getChildRecord(String const& key) const {
    if (m_children == nullptr) {
        return nullptr;
    }
    auto child = m_children->find(key);
    return child != m_children->end() ? child->second : nullptr;
}

PresetRecord* PresetRecord::getChildRecord(String const& key) {
    return const_cast<PresetRecord*>(static_cast<PresetRecord const&>(*this).getChildRecord(key));
}

Setting* PresetRecord::getSetting(String const& name, std::size_t column) const {
    PresetField const* field = getField(name);
    return field != nullptr ? field->getSetting(column) : nullptr;
}

void PresetRecord::addField(String const& name, PresetField* field) {
    if (field == nullptr) {
        return;
    }
    if (!m_fields.insert(name, field).second) {
        delete field;
    }
}

void PresetRecord::addChildPreset(String const& key, PresetRecord* child) {
    std::unique_ptr<PresetRecord> held(child);
    if (held == nullptr || m_fields.contains(key) || m_fields.contains(held->getTypeName()) ||
        getChildRecord(key) != nullptr) {
        return;
    }
    addField(key, new GuidField(IDSetting(Guid()), 1));
    if (m_children == nullptr) {
        m_children = std::make_unique<ChildMap>();
    }
    m_children->insert(key, held.release());
}

void PresetRecord::copyFieldsFrom(PresetRecord const& other) {
    if (&other != this) {
        m_fields = other.m_fields;
    }
}

bool PresetRecord::setColumnCount(String const& name, std::size_t count) {
    PresetField* field = getField(name);
    return field != nullptr && field->setColumnCount(count);
}

bool PresetRecord::setSetting(String const& name, Setting const& setting, std::size_t column) {
    PresetField* field = getField(name);
    if (field == nullptr) {
        return false;
    }
    if (dynamic_cast<AngleField*>(field) != nullptr) {
        double degrees = 0.0;
        setting.getValue(degrees);
        return field->setSetting(AngleSetting(degrees * radiansPerDegree), column);
    }
    return field->setSetting(setting, column);
}

} // namespace zelvane
