// The register of deleted records, the project package 'DLDB': one deleted record per record
// removed from another user database, under that record's key, naming the database it left. A
// deprecated deleted record stands for a record that came back.
#pragma once

#include "Addon/EventSpec.h"
#include "Environment/Guid.h"
#include "Preset/DeletedRecord.h"
#include "Preset/UserDatabase.h"

namespace zelvane {

class UserDatabaseCollection;

class DeletedDatabase : public UserDatabase<DeletedRecord, DeletedDatabase, UserDatabaseCollection, Guid> {
public:
    // The package code, then the second code of the database.
    static EventSpec const ID;
    static constexpr char const* xmlTag = "deletedDatabase";
    // The root element of a file of deleted records.
    static constexpr char const* rootTag = "deletedRecords";

    DeletedDatabase() = default;
    DeletedDatabase(DeletedDatabase const& other) = default;

    bool isExported() const override { return true; }
    bool isClearOptional() const override { return true; }

    // The records deleted from the database of that code, in name order.
    std::shared_ptr<NameList> findAllFrom(unsigned int databaseID) const;
    // Remembers that the record of `key` was deleted from the database of code `databaseID`: its
    // deleted record is made when missing, names that database and is current. Null when no
    // record could be made.
    RecordPtr recordDeletion(Guid const& key, unsigned int databaseID);

    // The root tag "deletedRecords" and a view of this database (or of an independent copy, which
    // the collection then owns) through the filters.
    void initialiseStorage(UserDatabaseCollection& collection, bool independent,
                           FilterList const& filters) override;
    // Hands what the collection read to the project.
    bool mergeStorage(UserDatabaseCollection& collection) override;

protected:
    DeletedRecord* newRecordFor(String const& tag) const override;
    DeletedRecord* newEmptyRecord() const override { return new DeletedRecord(true); }
    // Every new deleted record is named by the localised default name, made unique.
    String requestedName(String const& name) const override;
};

extern template class UserDatabase<DeletedRecord, DeletedDatabase, UserDatabaseCollection, Guid>;

} // namespace zelvane
