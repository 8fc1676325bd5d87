#include "Remap/ObjectMap.h"

#include "Environment/Host.h"
#include "Environment/StringUtilities.h"
#include "Interface/PopupMenu.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/PartTypeProxy.h"
#include "Remap/SpecificationList.h"
#include "XML/XMLArrayProxy.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zelvane::remap {

namespace {

// The source menu's command texts, and its first source row.
constexpr short menuStrings = 32521;
constexpr Int16 firstSource = 4;

constexpr char const* typeNames[ObjectMap::typeCount] = {"IFC", "DWG", "GSM", "missing", "legacy"};

} // namespace

ObjectMap::RemappingList::RemappingList() = default;
ObjectMap::RemappingList::RemappingList(RemappingList const& other) = default;
ObjectMap::RemappingList& ObjectMap::RemappingList::operator=(RemappingList const& other) = default;
ObjectMap::RemappingList::~RemappingList() = default;

SpecificationList* ObjectMap::RemappingList::getSpecificationList(String const& name, Type type) const {
    for (SpecificationList* list : *this) {
        if (list->getType() == type && list->getSourceName() == name) {
            return list;
        }
    }
    return nullptr;
}

bool ObjectMap::RemappingList::isSpecificationFor(Type type) const {
    for (SpecificationList const* list : *this) {
        if (list->getType() == type) {
            return true;
        }
    }
    return false;
}

bool ObjectMap::RemappingList::deleteSpecificationList(String const& name, Type type) {
    for (auto it = begin(); it != end(); ++it) {
        if ((*it)->getType() == type && (*it)->getSourceName() == name) {
            erase(it);
            return true;
        }
    }
    return false;
}

ObjectMap::ObjectMap() = default;

ObjectMap::ObjectMap(ObjectMap const& other) = default;

ObjectMap& ObjectMap::operator=(ObjectMap const& other) {
    if (this != &other) {
        m_lists = other.m_lists;
        m_kept = other.m_kept;
        m_complete = other.m_complete;
    }
    return *this;
}

ObjectMap::~ObjectMap() = default;

char const* ObjectMap::typeName(Type type) {
    return type >= IFC && static_cast<std::size_t>(type) < typeCount ? typeNames[type] : nullptr;
}

ObjectMap::Type ObjectMap::typeOf(String const& name) {
    for (std::size_t index = 0; index < typeCount; ++index) {
        if (name == typeNames[index]) {
            return static_cast<Type>(index);
        }
    }
    return none;
}

String ObjectMap::defaultSourceName() {
    return host.getLocalString(32525, 1);
}

Shipping* ObjectMap::getShipping(std::size_t index, bool attributes) {
    if (attributes || index >= m_lists.size()) {
        return nullptr;
    }
    return new XMLArrayProxy(*m_lists[index]);
}

Shipping* ObjectMap::addShipping(String const& tag, String const&) {
    if (tag != "specificationList") {
        return nullptr;
    }
    m_lists.push_back(new SpecificationList);
    return new XMLArrayProxy(*m_lists.back());
}

void ObjectMap::setDefault() {
    m_lists.clear();
    m_kept.clearInside();
    m_complete = false;
}

bool ObjectMap::validate() {
    checkMappingRepresentation();
    m_complete = true;
    return true;
}

bool ObjectMap::isWritable() const {
    for (SpecificationList const* list : m_lists) {
        if (typeName(list->getType()) == nullptr) {
            return false;
        }
        for (ObjectSpecification const* rule : *list) {
            if (PartTypeProxy::nameOf(rule->getMappedType()) == nullptr) {
                return false;
            }
        }
    }
    return true;
}

void ObjectMap::initialise() {
    setDefault();
    m_kept.clear();
    checkMappingRepresentation();
}

void ObjectMap::checkMappingRepresentation() {
    for (std::size_t index = 0; index < typeCount; ++index) {
        auto type = static_cast<Type>(index);
        if (!m_lists.isSpecificationFor(type)) {
            addSource(defaultSourceName(), type);
        }
    }
}

void ObjectMap::addSource(String const& name, Type type) {
    m_lists.push_back(new SpecificationList(name, type));
}

bool ObjectMap::renameSource(String const& oldName, String const& newName, Type type) {
    SpecificationList* list = m_lists.getSpecificationList(oldName, type);
    if (list == nullptr) {
        return false;
    }
    list->setSourceName(newName);
    return true;
}

bool ObjectMap::deleteSource(String const& name, Type type) {
    return m_lists.deleteSpecificationList(name, type);
}

bool ObjectMap::importSource(ObjectMap const& other, String const& name, Type type) {
    SpecificationList const* source = other.m_lists.getSpecificationList(name, type);
    if (source == nullptr) {
        return false;
    }
    if (SpecificationList* target = m_lists.getSpecificationList(name, type)) {
        if (target != source) {
            *target = *source;
        }
        return true;
    }
    m_lists.push_back(source->clone());
    return true;
}

ObjectSpecification* ObjectMap::getSpecification(Key const& key, String& sourceName, Type type, bool create,
                                                 bool automatic) {
    // The key lower-cased once for every list searched.
    std::string const indexed = SpecificationList::indexKey(key.first, key.second.toLowercase());
    if (SpecificationList* list = m_lists.getSpecificationList(sourceName, type)) {
        if (ObjectSpecification* rule = list->findByIndexKey(indexed)) {
            return rule;
        }
        if (create) {
            auto rule = std::make_unique<ObjectSpecification>();
            rule->setMappedType(key.first);
            rule->setOriginalName(key.second);
            rule->setAutomatic(automatic);
            // The list owns the rule from here, and deletes it should it fail to store it.
            ObjectSpecification* made = rule.release();
            list->push_back(made);
            return made;
        }
    }
    // Callers learn that a rule is another source's by its list's name: lists named like the chosen
    // one (the chosen list, searched above, and lists of other kinds that share its name) are left
    // out, so that a rule found here never passes for the chosen source's.
    for (SpecificationList* list : m_lists) {
        if (list->getSourceName() == sourceName) {
            continue;
        }
        if (ObjectSpecification* rule = list->findByIndexKey(indexed)) {
            sourceName = list->getSourceName();
            return rule;
        }
    }
    return nullptr;
}

bool ObjectMap::setSpecification(ObjectSpecification const& rule, String const& sourceName, Type type) {
    SpecificationList* list = m_lists.getSpecificationList(sourceName, type);
    if (list == nullptr) {
        return false;
    }
    std::unique_ptr<ObjectSpecification> copy(rule.clone());
    copy->getMappedLink();
    list->push_back(copy.release());
    return true;
}

bool ObjectMap::deleteSpecification(Key const& key, String const& sourceName, Type type) {
    SpecificationList* list = m_lists.getSpecificationList(sourceName, type);
    if (list == nullptr) {
        return false;
    }
    ObjectSpecification* rule = list->find(key);
    if (rule == nullptr) {
        return false;
    }
    list->erase(std::find(list->cbegin(), list->cend(), rule));
    return true;
}

String ObjectMap::populateMenu(PopupMenu& popup, String const& currentName, Type type) const {
    // Sorted by their lower-cased texts, computed once; equal ones keep the map's order.
    std::vector<std::pair<String, String>> names;
    for (SpecificationList const* list : m_lists) {
        if (list->getType() == type) {
            names.emplace_back(list->getSourceName().toLowercase(), list->getSourceName());
        }
    }
    std::stable_sort(names.begin(), names.end(),
                     [](auto const& a, auto const& b) { return a.first < b.first; });
    String quoted(" \"");
    quoted += currentName;
    quoted += "\"";
    String rename = host.getLocalString(menuStrings, 2);
    replaceAll(rename, String("$1"), quoted);
    String remove = host.getLocalString(menuStrings, 3);
    replaceAll(remove, String("$1"), quoted);

    popup.setTableSize(0, 1);
    popup.addRow(host.getLocalString(menuStrings, 1));
    popup.addRow(rename);
    popup.addRow(remove);
    popup.insertSeparator(-1);
    for (auto const& name : names) {
        popup.addRow(name.second);
    }
    return popup.setSelected(currentName.empty() ? popup.getLabel(firstSource) : currentName, firstSource);
}

} // namespace zelvane::remap

namespace zelvane {

template <>
bool XMLTypeProxy<remap::ObjectMap::Type>::write(String& text) {
    char const* name = remap::ObjectMap::typeName(*getValue());
    if (name == nullptr) {
        return false;
    }
    text = name;
    return true;
}

template <>
bool XMLTypeProxy<remap::ObjectMap::Type>::read(String const& text) {
    remap::ObjectMap::Type type = remap::ObjectMap::typeOf(text);
    if (type == remap::ObjectMap::none) {
        return false;
    }
    setValue(type);
    return true;
}

template <>
void XMLTypeProxy<remap::ObjectMap::Type>::setDefault() {
    setValue(remap::ObjectMap::IFC);
}

} // namespace zelvane
