// A user database of the tests' own: notes, records with a text besides their name. It is made
// the way every database of the framework is, so that the template is tried on a second kind.
#pragma once

#include "Addon/EventSpec.h"
#include "Environment/Guid.h"
#include "Preset/UserDataRecord.h"
#include "Preset/UserDatabase.h"
#include "Preset/UserDatabaseCollection.h"

namespace testing_preset {

using namespace zelvane;

class NoteRecord : public UserDataRecord {
public:
    static constexpr char const* tag = "note";

    explicit NoteRecord(String const& name = String(), String const& text = String())
        : UserDataRecord(name), m_text(text) {}
    NoteRecord(NoteRecord const& other) = default;

    std::size_t shippingSize() const override { return 4; }
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    void setDefault() override;
    char const* getTag() const override { return tag; }
    NoteRecord* clone() const override { return new NoteRecord(*this); }

    String m_text;
};

class NoteDatabase : public UserDatabase<NoteRecord, NoteDatabase, UserDatabaseCollection, Guid> {
public:
    static EventSpec const ID;
    static constexpr char const* xmlTag = "noteDatabase";

    NoteDatabase() { ++live; }
    NoteDatabase(NoteDatabase const& other) : UserDatabase(other) { ++live; }
    ~NoteDatabase() override { --live; }

    // Databases of this kind alive now.
    static int live;

    void initialiseStorage(UserDatabaseCollection& collection, bool independent,
                           FilterList const& filters) override;
    bool mergeStorage(UserDatabaseCollection& collection) override;

    // How many fresh records a merge asked for.
    mutable int mergeRecords = 0;

protected:
    NoteRecord* newRecordFor(String const& tag) const override;
    NoteRecord* newEmptyRecord() const override { return new NoteRecord; }
    NoteRecord* newMergeRecord(NoteRecord const& incoming) const override;
};

// Accepts the records whose name begins with a prefix.
class PrefixFilter : public NoteDatabase::Filter {
public:
    explicit PrefixFilter(char const* prefix) : m_prefix(prefix) {}
    bool isAccepted(NoteDatabase::Pair const& pair) const override {
        return pair.second->getName().find(m_prefix) == 0;
    }

private:
    String m_prefix;
};

} // namespace testing_preset

namespace zelvane {
extern template class UserDatabase<testing_preset::NoteRecord, testing_preset::NoteDatabase,
                                   UserDatabaseCollection, Guid>;
}
