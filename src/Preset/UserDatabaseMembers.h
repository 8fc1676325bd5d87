// The members of UserDatabase, included by the source of each concrete database only, which then
// instantiates the template once.
#pragma once

#include "Environment/Host.h"
#include "Environment/Time.h"
#include "Preset/CompareName.h"
#include "Preset/UserDataUniqueString.h"
#include "Preset/UserDatabase.h"
#include "XML/XMLMapProxy.h"
#include "XML/XMLPair.h"
#include "XML/XMLTypeProxy.h"
#include "XML/XMLUnitKey.h"

#include <algorithm>
#include <iterator>

namespace zelvane {

namespace userDatabase {

constexpr char const* defaultTag = "default";
constexpr char const* recordsTag = "records";
constexpr char const* keyTag = "key";
// The localised names of a placeholder record and of a new record without a name.
constexpr short stringList = 32703;
constexpr short placeholderName = 1;
constexpr short newRecordName = 2;

} // namespace userDatabase

template <typename R, typename D, typename C, typename Key>
typename UserDatabase<R, D, C, Key>::const_iterator
UserDatabase<R, D, C, Key>::RecordList::entryAt(std::size_t index) const {
    if (!m_cursorValid || index < m_cursorIndex) {
        m_cursor = m_items.begin();
        m_cursorIndex = 0;
        m_cursorValid = true;
    }
    m_cursor = std::next(m_cursor, static_cast<std::ptrdiff_t>(index - m_cursorIndex));
    m_cursorIndex = index;
    return m_cursor;
}

template <typename R, typename D, typename C, typename Key>
Shipping* UserDatabase<R, D, C, Key>::RecordList::getShipping(std::size_t index, bool attributes) {
    if (attributes || index >= m_items.size()) {
        return nullptr;
    }
    const_iterator entry = entryAt(index);
    if (entry->second == nullptr) {
        return nullptr;
    }
    auto key = std::make_unique<XMLUnitKey<Key>>(entry->first, userDatabase::keyTag, true);
    auto record = std::make_unique<XMLAssemblyProxy>(*entry->second);
    auto* pair = new XMLPair(key.get(), record.get());
    key.release();
    record.release();
    return pair;
}

template <typename R, typename D, typename C, typename Key>
Shipping* UserDatabase<R, D, C, Key>::RecordList::addShipping(String const& tag, String const&) {
    std::unique_ptr<R> record(m_owner->newRecordFor(tag));
    if (record == nullptr) {
        return nullptr;
    }
    record->setDefault();
    auto key = std::make_unique<XMLUnitKey<Key>>(userDatabase::keyTag, true);
    auto* pair = new XMLPair(key.get(), record.get());
    key.release();
    record.release();
    return pair;
}

template <typename R, typename D, typename C, typename Key>
bool UserDatabase<R, D, C, Key>::RecordList::insert(Shipping& entry, bool& taken) {
    taken = false;
    auto* pair = dynamic_cast<XMLPair*>(&entry);
    if (pair == nullptr) {
        return true;
    }
    auto* key = dynamic_cast<XMLUnitKey<Key>*>(pair->getKey());
    auto* record = dynamic_cast<R*>(pair->getData());
    if (key == nullptr || record == nullptr || !key->getKey() || m_items.count(key->getKey()) != 0) {
        return true;
    }
    pair->releaseData();
    RecordPtr shared(record);
    edit().emplace(key->getKey(), std::move(shared));
    taken = true;
    return true;
}

template <typename R, typename D, typename C, typename Key>
UserDatabase<R, D, C, Key>::FilteredProxy::FilteredProxy(UserDatabase& database, FilterList const& filters)
    : XMLAssemblyProxy(database), m_database(&database), m_filters(filters) {}

template <typename R, typename D, typename C, typename Key>
Shipping* UserDatabase<R, D, C, Key>::FilteredProxy::getShipping(std::size_t index, bool attributes) {
    if (index == 1) {
        return new RecordProxy(*this);
    }
    return m_database->getShipping(index, attributes);
}

template <typename R, typename D, typename C, typename Key>
Shipping* UserDatabase<R, D, C, Key>::FilteredProxy::getShipping(String const& tag, String const& nameSpace) {
    if (tag == userDatabase::recordsTag) {
        return new RecordProxy(*this);
    }
    return m_database->getShipping(tag, nameSpace);
}

template <typename R, typename D, typename C, typename Key>
bool UserDatabase<R, D, C, Key>::FilteredProxy::isAccepted(Pair const& pair) const {
    for (auto const& filter : m_filters) {
        if (filter != nullptr && !filter->isAccepted(pair)) {
            return false;
        }
    }
    return true;
}

template <typename R, typename D, typename C, typename Key>
std::size_t UserDatabase<R, D, C, Key>::FilteredProxy::RecordProxy::shippingSize() const {
    return m_owner->getDatabase().m_records.shippingSize();
}

template <typename R, typename D, typename C, typename Key>
Shipping* UserDatabase<R, D, C, Key>::FilteredProxy::RecordProxy::getShipping(std::size_t index,
                                                                              bool attributes) {
    RecordList& records = m_owner->getDatabase().m_records;
    if (attributes || index >= records.shippingSize()) {
        return nullptr;
    }
    const_iterator entry = records.entryAt(index);
    if (entry->second != nullptr && !m_owner->isAccepted(Pair(entry->first, entry->second))) {
        return nullptr;
    }
    return records.getShipping(index, false);
}

template <typename R, typename D, typename C, typename Key>
Shipping* UserDatabase<R, D, C, Key>::FilteredProxy::RecordProxy::addShipping(String const& tag,
                                                                              String const& nameSpace) {
    return m_owner->getDatabase().m_records.addShipping(tag, nameSpace);
}

template <typename R, typename D, typename C, typename Key>
bool UserDatabase<R, D, C, Key>::FilteredProxy::RecordProxy::insert(Shipping& entry) {
    auto* pair = dynamic_cast<XMLPair*>(&entry);
    if (pair == nullptr) {
        return true;
    }
    auto* key = dynamic_cast<XMLUnitKey<Key>*>(pair->getKey());
    auto* record = dynamic_cast<R*>(pair->getData());
    if (key == nullptr || record == nullptr) {
        return true;
    }
    pair->releaseData();
    Pair incoming(key->getKey(), RecordPtr(record));
    if (m_owner->isAccepted(incoming)) {
        m_owner->getDatabase().merge(incoming);
    }
    return true;
}

template <typename R, typename D, typename C, typename Key>
UserDatabase<R, D, C, Key>::UserDatabase(UserDatabase const& other)
    : Package(other), m_records(*this), m_default(other.m_default) {
    m_records.edit() = other.m_records.items();
    *m_records.getKept() = other.m_records.kept();
}

template <typename R, typename D, typename C, typename Key>
Shipping* UserDatabase<R, D, C, Key>::getShipping(std::size_t index, bool) {
    switch (index) {
    case 0:
        return m_default ? new XMLTypeProxy<Key>(m_default, userDatabase::defaultTag) : nullptr;
    case 1:
        return new XMLMapProxy(m_records);
    default:
        return nullptr;
    }
}

template <typename R, typename D, typename C, typename Key>
Shipping* UserDatabase<R, D, C, Key>::getShipping(String const& tag, String const&) {
    if (tag == userDatabase::defaultTag) {
        return new XMLTypeProxy<Key>(m_default, userDatabase::defaultTag);
    }
    if (tag == userDatabase::recordsTag) {
        return new XMLMapProxy(m_records);
    }
    return nullptr;
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::setDefault() {
    m_default = Key();
}

template <typename R, typename D, typename C, typename Key>
char const* UserDatabase<R, D, C, Key>::getTag() const {
    return D::xmlTag;
}

template <typename R, typename D, typename C, typename Key>
Package* UserDatabase<R, D, C, Key>::clone() const {
    return new D(static_cast<D const&>(*this));
}

template <typename R, typename D, typename C, typename Key>
Package* UserDatabase<R, D, C, Key>::cloneIndependent() const {
    std::unique_ptr<D> copy(cloneIndependent(std::shared_ptr<Filter>()));
    copy->m_default = m_default;
    *copy->m_records.getKept() = m_records.kept();
    return copy.release();
}

template <typename R, typename D, typename C, typename Key>
Package* UserDatabase<R, D, C, Key>::cloneEmpty() const {
    std::unique_ptr<Package> copy(clone());
    copy->clear();
    return copy.release();
}

template <typename R, typename D, typename C, typename Key>
unsigned int UserDatabase<R, D, C, Key>::getID() const {
    return D::ID.getFamily();
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::merge(Package const& other) {
    auto const* database = dynamic_cast<UserDatabase const*>(&other);
    if (database == nullptr) {
        return;
    }
    // A copy of the entries, so that merging a database into itself walks what it held.
    std::vector<Pair> incoming(database->begin(), database->end());
    for (Pair const& pair : incoming) {
        merge(pair);
    }
}

template <typename R, typename D, typename C, typename Key>
D* UserDatabase<R, D, C, Key>::cloneIndependent(std::shared_ptr<Filter> filter) const {
    std::unique_ptr<Package> empty(cloneEmpty());
    std::unique_ptr<D> copy(static_cast<D*>(empty.release()));
    Storage& items = copy->m_records.edit();
    for (auto const& entry : m_records.items()) {
        if (entry.second == nullptr ||
            (filter != nullptr && !filter->isAccepted(Pair(entry.first, entry.second)))) {
            continue;
        }
        std::unique_ptr<UserDataRecord> record(entry.second->cloneIndependent());
        R* typed = dynamic_cast<R*>(record.get());
        if (typed == nullptr) {
            continue;
        }
        // The shared pointer owns the record from here, and deletes it should its count fail.
        record.release();
        items.emplace_hint(items.end(), entry.first, RecordPtr(typed));
    }
    return copy.release();
}

template <typename R, typename D, typename C, typename Key>
typename UserDatabase<R, D, C, Key>::Pair
UserDatabase<R, D, C, Key>::createRecord(Key const& templateKey, String const& name, Key const& key) {
    RecordPtr source = findRecord(templateKey, false);
    RecordPtr record;
    if (source != nullptr) {
        std::unique_ptr<UserDataRecord> copy(source->cloneIndependent());
        if (R* typed = dynamic_cast<R*>(copy.get())) {
            copy.release();
            record.reset(typed); // deletes the copy itself should its count fail
        }
    }
    if (record == nullptr) {
        source.reset();
        record = m_records.newEmptyRecord();
    }
    return insertNew(record, source != nullptr ? source->getName() : requestedName(name), key);
}

template <typename R, typename D, typename C, typename Key>
typename UserDatabase<R, D, C, Key>::Pair UserDatabase<R, D, C, Key>::insertNew(RecordPtr const& record,
                                                                                String const& name, Key key) {
    record->setName(name);
    if (!key) {
        getUniqueIndex(key);
    }
    // Named before it is stored, so that it is compared with every record already present.
    getUniqueName(record);
    m_records.edit()[key] = record;
    return Pair(key, record);
}

template <typename R, typename D, typename C, typename Key>
bool UserDatabase<R, D, C, Key>::setDeprecated(Key const& key, bool deprecated) {
    RecordPtr record = findRecord(key, false);
    if (record == nullptr) {
        return false;
    }
    record->setDeprecated(deprecated);
    return true;
}

template <typename R, typename D, typename C, typename Key>
bool UserDatabase<R, D, C, Key>::deleteRecord(Key const& key) {
    return m_records.edit().erase(key) != 0;
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::checkIntegrity() {
    Storage& items = m_records.edit();
    for (auto entry = items.begin(); entry != items.end();) {
        entry = entry->second == nullptr ? items.erase(entry) : std::next(entry);
    }
}

template <typename R, typename D, typename C, typename Key>
std::shared_ptr<typename UserDatabase<R, D, C, Key>::NameList>
UserDatabase<R, D, C, Key>::getNameList() const {
    auto list = std::make_shared<NameList>();
    for (auto const& entry : m_records.items()) {
        if (entry.second != nullptr) {
            list->emplace_back(entry.first, entry.second);
        }
    }
    std::stable_sort(list->begin(), list->end(), CompareName());
    return list;
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::getUniqueName(RecordPtr const& record) const {
    if (record == nullptr) {
        return;
    }
    UserDataUniqueString<UserDatabase> unique(*this);
    const_iterator holder = end();
    String requested = record->getName();
    String generated = unique.generateFor(requested, 2, &holder);
    // A deprecated holder gives the name up and the record keeps it; the holder may be the record
    // itself, which then ends with the generated name.
    if (holder != end() && holder->second->isDeprecated()) {
        renameHolder(*holder->second, generated);
    } else {
        record->setName(generated);
    }
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::renameHolder(R& holder, String const& name) {
    bool placeholder = holder.getEditTime().isNull();
    holder.setName(name);
    if (placeholder) {
        holder.setEditTime(Time());
    }
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::getUniqueIndex(Key& key) const {
    key.generate();
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::merge(Pair const& pair) {
    if (!pair.first || pair.second == nullptr) {
        return;
    }
    iterator present = seekIndex(pair.first);
    if (present != end()) {
        if (present->second != nullptr) {
            if (!present->second->isOlderThan(*pair.second)) {
                return;
            }
            // The newer record takes the entry; the record it replaces does not hold its name
            // against it, but any other record does.
            RecordPtr replaced = present->second;
            present->second = nullptr;
            try {
                getUniqueName(pair.second);
            } catch (...) {
                present->second = replaced;
                throw;
            }
            mergeIndex(present, pair.first, pair.second);
            return;
        }
        removeIndex(present, pair.first);
    }
    Pair added = pair;
    mergeNewRecord(added);
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::clear() {
    m_records.setDefault();
    setDefault();
}

template <typename R, typename D, typename C, typename Key>
bool UserDatabase<R, D, C, Key>::validate() {
    checkIntegrity();
    return true;
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::mergeNewRecord(Pair& pair) {
    if (pair.second == nullptr) {
        return;
    }
    RecordPtr fresh(newMergeRecord(*pair.second));
    Pair made = insertNew(fresh, requestedName(pair.second->getName()), pair.first);
    pair.first = made.first;
    if (!made.first) {
        return;
    }
    pair.second->setName(made.second->getName());
    mergeIndex(seekIndex(made.first), made.first, pair.second);
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::removeIndex(iterator position, Key const&) {
    m_records.edit().erase(position);
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::mergeIndex(iterator position, Key const&, RecordPtr const& record) {
    if (position != end()) {
        position->second = record;
    }
}

template <typename R, typename D, typename C, typename Key>
typename UserDatabase<R, D, C, Key>::RecordPtr
UserDatabase<R, D, C, Key>::findRecord(Key const& key, bool excludeDeprecated) const {
    if (!key) {
        return nullptr;
    }
    const_iterator entry = seekIndex(key);
    if (entry == end() || entry->second == nullptr || (excludeDeprecated && entry->second->isDeprecated())) {
        return nullptr;
    }
    return entry->second;
}

template <typename R, typename D, typename C, typename Key>
Key UserDatabase<R, D, C, Key>::findRecord(String const& name, Key const& excluded) const {
    for (auto const& entry : m_records.items()) {
        if (entry.second != nullptr && entry.first != excluded && entry.second->getName() == name) {
            return entry.first;
        }
    }
    return Key();
}

template <typename R, typename D, typename C, typename Key>
typename UserDatabase<R, D, C, Key>::RecordPtr UserDatabase<R, D, C, Key>::getRecord(Key const& key,
                                                                                     bool create) {
    RecordPtr record = findRecord(key, false);
    if (record != nullptr || !key || !create) {
        return record;
    }
    Pair made = createRecord(
        Key(), host.getLocalString(userDatabase::stringList, userDatabase::placeholderName), key);
    made.second->setDeprecated(true);
    made.second->setEditTime(Time());
    return made.second;
}

template <typename R, typename D, typename C, typename Key>
void UserDatabase<R, D, C, Key>::setDefaultRecord(Key const& key) {
    if (findRecord(key, true) != nullptr) {
        m_default = key;
    }
}

template <typename R, typename D, typename C, typename Key>
Key UserDatabase<R, D, C, Key>::getDefaultRecord() {
    if (findRecord(m_default, true) != nullptr) {
        return m_default;
    }
    m_default = Key();
    for (auto const& entry : m_records.items()) {
        if (entry.second != nullptr && !entry.second->isDeprecated()) {
            m_default = entry.first;
            break;
        }
    }
    return m_default;
}

template <typename R, typename D, typename C, typename Key>
String UserDatabase<R, D, C, Key>::requestedName(String const& name) const {
    return name.empty() ? host.getLocalString(userDatabase::stringList, userDatabase::newRecordName) : name;
}

} // namespace zelvane
