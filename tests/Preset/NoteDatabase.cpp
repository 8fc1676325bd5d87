#include "NoteDatabase.h"

#include "Preset/UserDatabaseCollection.h"
#include "Preset/UserDatabaseMembers.h"

namespace zelvane {
template class UserDatabase<testing_preset::NoteRecord, testing_preset::NoteDatabase, UserDatabaseCollection,
                            Guid>;
}

namespace testing_preset {

int NoteDatabase::live = 0;
EventSpec const NoteDatabase::ID(MakeGSType("NOTE"), MakeGSType("NOTD"));

Shipping* NoteRecord::getShipping(std::size_t index, bool attributes) {
    if (index != 3) {
        return UserDataRecord::getShipping(index, attributes);
    }
    return attributes ? nullptr : new XMLTypeProxy<String>(m_text, "text");
}

Shipping* NoteRecord::getShipping(String const& tag, String const& nameSpace) {
    return tag == "text" ? getShipping(3, false) : UserDataRecord::getShipping(tag, nameSpace);
}

void NoteRecord::setDefault() {
    UserDataRecord::setDefault();
    m_text.clear();
}

void NoteDatabase::initialiseStorage(UserDatabaseCollection& collection, bool independent,
                                     FilterList const& filters) {
    collection.setTag("notes");
    NoteDatabase* database = independent ? cloneIndependent(std::shared_ptr<Filter>()) : this;
    collection.addPackage(new FilteredProxy(*database, filters), database, independent);
}

bool NoteDatabase::mergeStorage(UserDatabaseCollection& collection) {
    return collection.applyToProject();
}

NoteRecord* NoteDatabase::newRecordFor(String const& tag) const {
    return tag == NoteRecord::tag ? new NoteRecord : nullptr;
}

NoteRecord* NoteDatabase::newMergeRecord(NoteRecord const&) const {
    ++mergeRecords;
    return new NoteRecord;
}

} // namespace testing_preset
