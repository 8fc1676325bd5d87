#include "Preset/DeletedDatabase.h"

#include "Environment/Host.h"
#include "Preset/UserDatabaseCollection.h"
#include "Preset/UserDatabaseMembers.h"

namespace zelvane {

template class UserDatabase<DeletedRecord, DeletedDatabase, UserDatabaseCollection, Guid>;

EventSpec const DeletedDatabase::ID(MakeGSType("DLDB"), MakeGSType("DDBE"));

std::shared_ptr<DeletedDatabase::NameList> DeletedDatabase::findAllFrom(unsigned int databaseID) const {
    auto list = std::make_shared<NameList>();
    for (auto const& entry : *this) {
        if (entry.second != nullptr && entry.second->getDatabaseID() == databaseID) {
            list->emplace_back(entry.first, entry.second);
        }
    }
    std::stable_sort(list->begin(), list->end(), CompareName());
    return list;
}

DeletedDatabase::RecordPtr DeletedDatabase::recordDeletion(Guid const& key, unsigned int databaseID) {
    RecordPtr record = findRecord(key, false);
    if (record == nullptr && key) {
        createRecord(Guid(), String(), key);
        record = findRecord(key, false);
    }
    if (record == nullptr) {
        return nullptr;
    }
    if (record->getDatabaseID() != databaseID) {
        record->markEditTime();
        record->setDatabaseID(databaseID);
    }
    record->setDeprecated(false);
    return record;
}

void DeletedDatabase::initialiseStorage(UserDatabaseCollection& collection, bool independent,
                                        FilterList const& filters) {
    collection.setTag(rootTag);
    std::unique_ptr<DeletedDatabase> copy(independent ? cloneIndependent(std::shared_ptr<Filter>())
                                                      : nullptr);
    DeletedDatabase* database = independent ? copy.get() : this;
    auto view = std::make_unique<FilteredProxy>(*database, filters);
    collection.addPackage(view.release(), independent ? copy.release() : this, independent);
}

bool DeletedDatabase::mergeStorage(UserDatabaseCollection& collection) {
    return collection.applyToProject();
}

DeletedRecord* DeletedDatabase::newRecordFor(String const& tag) const {
    return tag == DeletedRecord::tag ? new DeletedRecord(true) : nullptr;
}

String DeletedDatabase::requestedName(String const&) const {
    return host.getLocalString(32703, 23);
}

} // namespace zelvane
