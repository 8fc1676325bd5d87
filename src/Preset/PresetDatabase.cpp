#include "Preset/PresetDatabase.h"

#include "Addon/Addon.h"
#include "Environment/StringSetting.h"
#include "Library/Parameter.h"
#include "Preset/PresetEditor.h"
#include "Preset/PresetUpdater.h"
#include "Preset/UserDatabaseCollection.h"
#include "Preset/UserDatabaseMembers.h"

#include <algorithm>
#include <new>
#include <vector>

namespace zelvane {

template class UserDatabase<PresetRecord, PresetDatabase, UserDatabaseCollection, Guid>;

EventSpec const PresetDatabase::ID(MakeGSType("PSET"), MakeGSType("EPDB"));

PresetDatabase::PresetMap* PresetDatabase::m_template = nullptr;
PresetRecord* PresetDatabase::m_activeTemplate = nullptr;
std::map<String, String> PresetDatabase::m_name;
std::map<String, String> PresetDatabase::m_legacyName;
PresetEditor* PresetDatabase::m_editor = nullptr;
PresetUpdater* PresetDatabase::m_updater = nullptr;

namespace {

// A new copy of a template, owned by the caller.
PresetRecord* copyOf(PresetRecord const* record) {
    return record != nullptr ? record->cloneIndependent() : nullptr;
}

} // namespace

void PresetDatabase::addTemplate(PresetRecord* record, String const& displayName, String const& legacyName,
                                 Uniqueness uniqueness) {
    if (record == nullptr || displayName.empty()) {
        return;
    }
    String type = record->getTypeName();
    if (m_template != nullptr && m_template->contains(type)) {
        return;
    }
    if (m_template == nullptr) {
        m_template = new PresetMap;
    }
    m_template->set(type, new TemplateRecord(record, uniqueness));
    m_name[type] = displayName;
    if (!legacyName.empty()) {
        m_legacyName[legacyName] = type;
    }
    if (addon == nullptr || addon->isPreferenceRegistered(ID.getFamily(), Addon::project)) {
        return;
    }
    addon->addPreference(PresetDatabase(), Addon::project);
    if (m_editor == nullptr) {
        m_editor = new PresetEditor;
    }
    if (m_updater == nullptr) {
        m_updater = new PresetUpdater;
    }
    addon->addSubscriber(m_editor);
    addon->addSubscriber(m_updater);
}

PresetRecord* PresetDatabase::getTemplateFor(String const& type, Uniqueness* uniqueness) {
    if (m_template == nullptr) {
        return nullptr;
    }
    if (type.empty()) {
        return getDefaultTemplate(uniqueness);
    }
    auto entry = m_template->find(type);
    if (entry == m_template->end()) {
        return nullptr;
    }
    if (uniqueness != nullptr) {
        *uniqueness = entry->second->getUniqueness();
    }
    return copyOf(entry->second->getRecord());
}

PresetRecord* PresetDatabase::getDefaultTemplate(Uniqueness* uniqueness) {
    if (m_template == nullptr || m_template->empty()) {
        return nullptr;
    }
    if (m_activeTemplate == nullptr) {
        m_activeTemplate = m_template->begin()->second->getRecord();
    }
    if (uniqueness != nullptr) {
        *uniqueness = getTemplateUniquenessFor(m_activeTemplate->getTypeName());
    }
    return copyOf(m_activeTemplate);
}

PresetDatabase::Uniqueness PresetDatabase::getTemplateUniquenessFor(String const& type) {
    if (m_template == nullptr || m_template->empty()) {
        return notUnique;
    }
    if (type.empty()) {
        if (m_activeTemplate == nullptr) {
            m_activeTemplate = m_template->begin()->second->getRecord();
        }
        return getTemplateUniquenessFor(m_activeTemplate->getTypeName());
    }
    auto entry = m_template->find(type);
    return entry != m_template->end() ? entry->second->getUniqueness() : notUnique;
}

bool PresetDatabase::setDefaultTemplate(String const& name, bool isTypeName) {
    if (m_template == nullptr) {
        return false;
    }
    String type;
    if (isTypeName) {
        type = name;
    } else {
        for (auto const& entry : m_name) {
            if (entry.second == name) {
                type = entry.first;
                break;
            }
        }
    }
    if (type.empty()) {
        return false;
    }
    auto entry = m_template->find(type);
    if (entry == m_template->end()) {
        return false;
    }
    m_activeTemplate = entry->second->getRecord();
    return true;
}

String PresetDatabase::getDisplayName(String const& type) {
    auto entry = m_name.find(type);
    return entry != m_name.end() ? entry->second : String();
}

String PresetDatabase::getTypeForLegacyName(String const& legacyName) {
    auto entry = m_legacyName.find(legacyName);
    return entry != m_legacyName.end() ? entry->second : String();
}

void PresetDatabase::shutdownModule() {
    delete m_template;
    m_template = nullptr;
    m_activeTemplate = nullptr;
    m_name.clear();
    m_legacyName.clear();
    // The add-on is normally gone by now; one that still runs must not keep them.
    if (addon != nullptr) {
        for (Subscriber* subscriber :
             {static_cast<Subscriber*>(m_editor), static_cast<Subscriber*>(m_updater)}) {
            if (subscriber != nullptr) {
                addon->removeSubscriber(subscriber);
            }
        }
    }
    delete m_editor;
    m_editor = nullptr;
    delete m_updater;
    m_updater = nullptr;
}

bool PresetDatabase::isTypeFound(String const& type) const {
    return std::any_of(begin(), end(), [&type](auto const& entry) {
        return entry.second != nullptr && entry.second->getTypeName() == type;
    });
}

bool PresetDatabase::populate(Parameter& menu, String const& type, Filter const* filter) const {
    if (!menu.isArray()) {
        return false;
    }
    std::vector<String> names;
    for (auto const& entry : *this) {
        if (entry.second == nullptr || entry.second->isDeprecated() || entry.second->getTypeName() != type ||
            (filter != nullptr && !filter->isAccepted(entry))) {
            continue;
        }
        names.push_back(entry.second->getName());
    }
    if (names.empty()) {
        if (menu.getRowCount() < 2 && menu.getValueText(0, 0).empty()) {
            return false;
        }
        menu.setRowCount(0);
        menu.setSetting(StringSetting(String()), 0, 0);
        return true;
    }
    bool changed = false;
    if (menu.getRowCount() != names.size()) {
        menu.setRowCount(names.size());
        changed = true;
    }
    std::sort(names.begin(), names.end());
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (menu.getValueText(k, 0) != names[k]) {
            menu.setSetting(StringSetting(names[k]), k, 0);
            changed = true;
        }
    }
    return changed;
}

String PresetDatabase::getUniqueVariant(String const& name, String const& type, RecordPtr* holder) const {
    Uniqueness rule = getTemplateUniquenessFor(type);
    if (rule == uniqueInDatabase) {
        UserDataUniqueString<UserDatabase> unique(*this);
        const_iterator position = end();
        String generated = unique.generateFor(name, 2, &position);
        if (holder != nullptr) {
            *holder = position != end() ? position->second : nullptr;
        }
        return generated;
    }
    if (rule == uniqueInType) {
        NameList sameType;
        for (auto const& entry : *this) {
            if (entry.second != nullptr && entry.second->getTypeName() == type) {
                sameType.push_back(entry);
            }
        }
        UserDataUniqueString<NameList> unique(sameType);
        NameList::const_iterator position = sameType.end();
        String generated = unique.generateFor(name, 2, &position);
        if (holder != nullptr) {
            *holder = position != sameType.end() ? position->second : nullptr;
        }
        return generated;
    }
    if (holder != nullptr) {
        *holder = nullptr;
    }
    return name;
}

void PresetDatabase::getUniqueName(RecordPtr const& record) const {
    if (record == nullptr) {
        return;
    }
    RecordPtr holder;
    String requested = record->getName();
    String generated = getUniqueVariant(requested, record->getTypeName(), &holder);
    // A deprecated holder gives the name up and the record keeps it; the holder may be the record
    // itself, which then ends with the generated name.
    if (holder != nullptr && holder->isDeprecated()) {
        renameHolder(*holder, generated);
    } else {
        record->setName(generated);
    }
}

void PresetDatabase::initialiseStorage(UserDatabaseCollection& collection, bool independent,
                                       FilterList const& filters) {
    collection.setTag(rootTag);
    std::unique_ptr<PresetDatabase> copy(independent ? cloneIndependent(std::shared_ptr<Filter>()) : nullptr);
    PresetDatabase* database = independent ? copy.get() : this;
    auto view = std::make_unique<FilteredProxy>(*database, filters);
    collection.addPackage(view.release(), independent ? copy.release() : this, independent);
}

bool PresetDatabase::mergeStorage(UserDatabaseCollection& collection) {
    return collection.applyToProject();
}

PresetRecord* PresetDatabase::newRecordFor(String const& tag) const {
    return tag.empty() ? nullptr : getTemplateFor(tag);
}

PresetRecord* PresetDatabase::newEmptyRecord() const {
    PresetRecord* record = getDefaultTemplate();
    if (record == nullptr) {
        throw std::bad_alloc();
    }
    return record;
}

PresetRecord* PresetDatabase::newMergeRecord(PresetRecord const& incoming) const {
    PresetRecord* record = getTemplateFor(incoming.getTypeName());
    return record != nullptr ? record : newEmptyRecord();
}

} // namespace zelvane
