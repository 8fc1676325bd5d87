// What a preset definition does to an element's parameters: the status code of each instance
// decides between restoring a stored record, storing the cells as a record, customising and
// unlocking; then the menu of preset names is refreshed.
#include "Environment/Host.h"
#include "Environment/IDSetting.h"
#include "Library/IntegerParameter.h"
#include "Library/ParameterList.h"
#include "Library/StringParameter.h"
#include "Preset/Preset.h"
#include "Preset/PresetDatabase.h"
#include "Preset/PresetFieldType.h"
#include "Preset/PresetFilter.h"
#include "Preset/PresetKeyFilter.h"
#include "Preset/ZelvaneLibrary.h"

#include <algorithm>
#include <memory>

namespace zelvane {

namespace {

using GuidField = PresetFieldType<IDSetting, Guid>;

// The localised name of a new record without a name.
constexpr short recordNames = 32703;
constexpr short newRecordName = 2;

// One cell of an instance: its parameter, of the kind asked for, and its row; empty when the
// parameter is missing, of another kind, or too short.
template <typename P>
struct Cell {
    P* parameter = nullptr;
    std::size_t row = 0;

    Cell(ParameterList& element, PresetParameter const& address, std::uint64_t instance) {
        auto* found = dynamic_cast<P*>(element.getParameter(address.getName()));
        if (found != nullptr && address.rowOf(instance, row) && row < found->getRowCount()) {
            parameter = found;
        }
    }
    explicit operator bool() const { return parameter != nullptr; }
    auto get() const { return parameter->getValue(row, 0); }
    // True when the cell changed.
    template <typename V>
    bool set(V const& value) {
        if (parameter->getValue(row, 0) == value) {
            return false;
        }
        parameter->setValue(value, row, 0);
        return true;
    }
};

using TextCell = Cell<StringParameter>;
using StatusCell = Cell<IntegerParameter>;

bool onPath(std::vector<PresetRecord const*> const& path, PresetRecord const* record) {
    return std::find(path.begin(), path.end(), record) != path.end();
}

// The first record, in key order, of that name among the records of the type: a name another
// type also bears still finds the record of this one (a look-up among every record would find the
// other type's first and give up).
Guid findRecordOfType(PresetDatabase const& database, String const& name, String const& type) {
    for (auto const& entry : database) {
        if (entry.second != nullptr && entry.second->getName() == name &&
            entry.second->getTypeName() == type) {
            return entry.first;
        }
    }
    return Guid();
}

} // namespace

bool Preset::applyTo(ParameterList& element, PresetDatabase& database, ZelvaneLibrary const* library) const {
    auto* status = dynamic_cast<IntegerParameter*>(element.getParameter(m_statusParameter.getName()));
    if (status == nullptr) {
        return false;
    }
    bool changed = false;
    for (std::uint64_t offset = 0; m_indexRange.holds(offset); ++offset) {
        std::uint64_t instance = m_indexRange.getRow() + offset;
        StatusCell cell(element, m_statusParameter, instance);
        if (!cell) {
            break;
        }
        switch (cell.get()) {
        case inForce:
        case inForceToo:
            changed = (database.isTypeFound(m_type) ? restore(element, instance, database, library)
                                                    : unlock(element, instance)) ||
                      changed;
            break;
        case storeRequest:
            extract(element, instance, database, library);
            if (StatusCell after{element, m_statusParameter, instance}) {
                changed = after.set(short(inForce)) || changed;
            }
            break;
        case customiseRequest:
        case customising:
            changed = customise(element, instance, database, library) || changed;
            break;
        default:
            break;
        }
    }
    Parameter* menu = element.getParameter(m_menuName);
    if (dynamic_cast<StringParameter*>(menu) != nullptr) {
        std::unique_ptr<PresetKeyFilter> filter(m_filter != nullptr ? m_filter->getFilter(element, database)
                                                                    : nullptr);
        changed = database.populate(*menu, m_type, filter.get()) || changed;
    }
    return changed;
}

bool Preset::restore(ParameterList& element, std::uint64_t instance, PresetDatabase& database,
                     ZelvaneLibrary const* library) const {
    TextCell name(element, m_nameParameter, instance);
    TextCell echo(element, m_echoParameter, instance);
    TextCell key(element, m_keyParameter, instance);
    if (!name || !echo || !key) {
        return false;
    }
    Guid guid;
    PresetDatabase::RecordPtr record;
    String nameText = name.get();
    if (nameText != echo.get() && !nameText.empty()) {
        guid = findRecordOfType(database, nameText, m_type);
        record = database.findRecord(guid, false);
        if (record == nullptr) {
            guid.clear();
            record.reset();
        }
    }
    if (!guid) {
        guid = Guid(key.get());
        record = database.findRecord(guid, false);
        if (record == nullptr || record->getTypeName() != m_type) {
            guid = database.getDefaultRecord();
            if (record == nullptr) {
                record = database.findRecord(guid, false);
            }
        }
    }
    if (record == nullptr || record->isDeprecated() || record->getTypeName() != m_type) {
        return unlock(element, instance);
    }
    return restoreRecord(guid, *record, element, instance, database, library);
}

bool Preset::unlock(ParameterList& element, std::uint64_t instance) const {
    StatusCell status(element, m_statusParameter, instance);
    return status && status.set(short(unlocked));
}

void Preset::extract(ParameterList& element, std::uint64_t instance, PresetDatabase& database,
                     ZelvaneLibrary const* library) const {
    TextCell name(element, m_nameParameter, instance);
    TextCell echo(element, m_echoParameter, instance);
    TextCell key(element, m_keyParameter, instance);
    if (!name || !echo || !key) {
        return;
    }
    String nameText = name.get();
    Guid guid(key.get());
    PresetDatabase::RecordPtr record = database.findRecord(guid, false);
    if (record == nullptr) {
        // A type without a template would store the values under whatever type is active.
        if (!PresetDatabase::setDefaultTemplate(m_type, true)) {
            return;
        }
        guid = database.createRecord(Guid(), nameText, Guid()).first;
        record = database.findRecord(guid, false);
        if (record == nullptr) {
            return;
        }
    }
    if (nameText.empty()) {
        nameText = record->getName();
    }
    if (nameText.empty()) {
        nameText = host.getLocalString(recordNames, newRecordName);
    }
    if (nameText != record->getName()) {
        PresetDatabase::RecordPtr holder;
        String unique = database.getUniqueVariant(nameText, record->getTypeName(), &holder);
        if (holder != nullptr && holder != record && holder->isDeprecated()) {
            PresetDatabase::renameHolder(*holder, unique);
        } else {
            nameText = unique;
        }
    }
    record->setName(nameText);
    record->setDeprecated(false);
    name.set(record->getName());
    echo.set(record->getName());
    key.set(guid.toString());
    extractRecord(*record, element, instance, database, library);
}

bool Preset::customise(ParameterList& element, std::uint64_t instance, PresetDatabase& database,
                       ZelvaneLibrary const* library) const {
    TextCell name(element, m_nameParameter, instance);
    TextCell echo(element, m_echoParameter, instance);
    TextCell key(element, m_keyParameter, instance);
    StatusCell status(element, m_statusParameter, instance);
    if (!name || !echo || !key || !status) {
        return false;
    }
    bool changed = echo.set(String());
    if (!key.get().empty()) {
        database.setDefaultRecord(Guid(key.get()));
        changed = key.set(String()) || changed;
    }
    if (status.get() == customising) {
        String nameText = name.get();
        if (!nameText.empty()) {
            Guid guid = findRecordOfType(database, nameText, m_type);
            PresetDatabase::RecordPtr record = database.getRecord(guid, false);
            if (record != nullptr) {
                key.set(guid.toString());
                changed = restore(element, instance, database, library) || changed;
            }
        }
        return changed;
    }
    name.set(String());
    status.set(short(customising));
    return true;
}

bool Preset::restoreRecord(Guid const& key, PresetRecord const& record, ParameterList& element,
                           std::uint64_t instance, PresetDatabase& database,
                           ZelvaneLibrary const* library) const {
    Path path;
    return restoreRecord(key, record, element, instance, database, library, path);
}

PresetRecord const* Preset::childOf(PresetRecord const& record, std::size_t index,
                                    PresetDatabase const& database, bool ignoredToo, Guid& key,
                                    String& parameter) const {
    String slot = record.getChildKeyName(index);
    parameter = findParameterForField(slot).getName();
    if (slot.empty() || parameter.empty()) {
        return nullptr;
    }
    auto const* link = dynamic_cast<GuidField const*>(record.getField(slot));
    if (link == nullptr || (!ignoredToo && link->isIgnored())) {
        return nullptr;
    }
    key = link->getValue(0);
    if (PresetDatabase::RecordPtr stored = database.findRecord(key, false)) {
        return stored.get();
    }
    key.clear();
    return record.getChildRecord(index);
}

bool Preset::forEachChild(PresetRecord const& record, PresetDatabase const& database,
                          ZelvaneLibrary const& library, bool ignoredToo, Path& path,
                          ChildVisit const& visit) const {
    path.push_back(&record);
    bool stopped = false;
    for (std::size_t c = 0; c < record.getChildCount() && !stopped; ++c) {
        Guid childKey;
        String parameter;
        PresetRecord const* child = childOf(record, c, database, ignoredToo, childKey, parameter);
        if (child == nullptr || onPath(path, child)) {
            continue;
        }
        Preset const* preset = library.findPresetByKey(child->getTypeName(), parameter);
        stopped = preset != nullptr && visit(*preset, *child, childKey);
    }
    path.pop_back();
    return stopped;
}

bool Preset::restoreRecord(Guid const& key, PresetRecord const& record, ParameterList& element,
                           std::uint64_t instance, PresetDatabase& database, ZelvaneLibrary const* library,
                           Path& path) const {
    TextCell name(element, m_nameParameter, instance);
    TextCell echo(element, m_echoParameter, instance);
    TextCell keyCell(element, m_keyParameter, instance);
    StatusCell status(element, m_statusParameter, instance);
    if (!name || !echo || !keyCell || !status) {
        return false;
    }
    bool changed = name.set(record.getName());
    changed = echo.set(record.getName()) || changed;
    if (Guid(keyCell.get()) != key) {
        keyCell.parameter->setValue(key.toString(), keyCell.row, 0);
        changed = true;
    }
    changed = status.set(short(inForce)) || changed;
    changed = m_settingList.applyTo(element, instance, record) || changed;
    if (library == nullptr) {
        return changed;
    }
    forEachChild(record, database, *library, false, path,
                 [&](Preset const& preset, PresetRecord const& child, Guid const& childKey) {
                     changed =
                         preset.restoreRecord(childKey, child, element, instance, database, library, path) ||
                         changed;
                     return false;
                 });
    return changed;
}

void Preset::extractRecord(PresetRecord& record, ParameterList& element, std::uint64_t instance,
                           PresetDatabase& database, ZelvaneLibrary const* library) const {
    Path path;
    extractRecord(record, element, instance, database, library, path);
}

void Preset::extractRecord(PresetRecord& record, ParameterList& element, std::uint64_t instance,
                           PresetDatabase& database, ZelvaneLibrary const* library, Path& path) const {
    m_settingList.extractFrom(element, instance, record);
    if (library == nullptr) {
        return;
    }
    path.push_back(&record);
    for (std::size_t c = 0; c < record.getChildCount(); ++c) {
        String slot = record.getChildKeyName(c);
        String parameter = findParameterForField(slot).getName();
        auto* link = dynamic_cast<GuidField*>(record.getField(slot));
        if (slot.empty() || parameter.empty() || link == nullptr) {
            continue;
        }
        if (database.findRecord(link->getValue(0), false) != nullptr) {
            continue;
        }
        link->setValue(Guid(), 0);
        PresetRecord* child = record.getChildRecord(c);
        if (child == nullptr || onPath(path, child)) {
            continue;
        }
        if (Preset const* preset = library->findPresetByKey(child->getTypeName(), parameter)) {
            preset->extractRecord(*child, element, instance, database, library, path);
        }
    }
    path.pop_back();
}

bool Preset::importLegacyParameterTo(PresetRecord& record, String const& name, Setting const& setting,
                                     std::size_t column, PresetDatabase& database,
                                     ZelvaneLibrary const* library) const {
    Path path;
    return importLegacyParameterTo(record, name, setting, column, database, library, path);
}

bool Preset::importLegacyParameterTo(PresetRecord& record, String const& name, Setting const& setting,
                                     std::size_t column, PresetDatabase& database,
                                     ZelvaneLibrary const* library, Path& path) const {
    PresetParameter field = findFieldForParameter(name);
    if (!field.getName().empty()) {
        // The column is bounded by the field's own limit; a sum past it finds no column.
        std::uint64_t target = column + field.getColumn();
        return target >= column && target < PresetField::maxColumns &&
               record.setSetting(field.getName(), setting, static_cast<std::size_t>(target));
    }
    if (library == nullptr) {
        return false;
    }
    return forEachChild(record, database, *library, true, path,
                        [&](Preset const& preset, PresetRecord const& child, Guid const&) {
                            return preset.importLegacyParameterTo(const_cast<PresetRecord&>(child), name,
                                                                  setting, column, database, library, path);
                        });
}

bool Preset::isParameterInHierarchy(String const& name, PresetRecord const& record,
                                    PresetDatabase const& database, ZelvaneLibrary const* library) const {
    Path path;
    return isParameterInHierarchy(name, record, database, library, path);
}

bool Preset::isParameterInHierarchy(String const& name, PresetRecord const& record,
                                    PresetDatabase const& database, ZelvaneLibrary const* library,
                                    Path& path) const {
    if (!findFieldForParameter(name).getName().empty()) {
        return true;
    }
    if (library == nullptr) {
        return false;
    }
    return forEachChild(record, database, *library, true, path,
                        [&](Preset const& preset, PresetRecord const& child, Guid const&) {
                            return preset.isParameterInHierarchy(name, child, database, library, path);
                        });
}

} // namespace zelvane
