#include "Preset/DeletedDatabase.h"

#include "PresetFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

constexpr unsigned int pset = 0x50534554;

std::vector<std::string> namesOf(DeletedDatabase::NameList const& list) {
    std::vector<std::string> names;
    for (auto const& pair : list) {
        names.push_back(pair.second->getName().data());
    }
    return names;
}

TEST_F(PresetTest, DeletedRecordsAreNamedByTheDefaultNameMadeUnique) {
    DeletedDatabase database;
    EXPECT_EQ(database.getID(), MakeGSType("DLDB"));
    EXPECT_STREQ(database.getTag(), "deletedDatabase");
    EXPECT_TRUE(database.isExported());
    EXPECT_TRUE(database.isClearOptional());

    std::vector<std::string> names;
    names.push_back(database.createRecord(Guid(), String(), key(1)).second->getName().data());
    names.push_back(database.createRecord(Guid(), "Door", key(2)).second->getName().data());
    names.push_back(database.createRecord(Guid(), String(), Guid()).second->getName().data());
    EXPECT_EQ(names, (std::vector<std::string>{"Deleted record", "Deleted record1", "Deleted record2"}));
    EXPECT_EQ(database.getRecord(key(7), true)->getName(), "Deleted record3") << "placeholders too";

    DeletedDatabase outside;
    std::unique_ptr<DeletedDatabase> empty(dynamic_cast<DeletedDatabase*>(outside.cloneEmpty()));
    for (unsigned int n : {4u, 5u}) {
        auto record = std::make_shared<DeletedRecord>();
        record->setName("Window");
        empty->merge(DeletedDatabase::Pair(key(n), record));
    }
    EXPECT_EQ(namesOf(*empty->getNameList()),
              (std::vector<std::string>{"Deleted record", "Deleted record1"}));
}

TEST_F(PresetTest, DeletedRecordsAreFoundByTheirDatabase) {
    DeletedDatabase database;
    struct Entry {
        unsigned int key;
        char const* name;
        unsigned int databaseID;
    };
    for (Entry const& e :
         std::vector<Entry>{{1, "b", pset}, {2, "other", 7}, {3, "A", pset}, {4, "c", pset}}) {
        auto pair = database.createRecord(Guid(), String(), key(e.key));
        pair.second->setName(e.name);
        pair.second->setDatabaseID(e.databaseID);
    }
    EXPECT_EQ(namesOf(*database.findAllFrom(pset)), (std::vector<std::string>{"A", "b", "c"}));
    EXPECT_EQ(namesOf(*database.findAllFrom(7)), (std::vector<std::string>{"other"}));
    EXPECT_TRUE(database.findAllFrom(MakeGSType("NONE"))->empty());
}

TEST_F(PresetTest, RememberingADeletion) {
    DeletedDatabase database;
    // A record deleted for the first time is made, named, stamped and current.
    auto made = database.recordDeletion(key(1), pset);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getName(), "Deleted record");
    EXPECT_EQ(made->getDatabaseID(), pset);
    EXPECT_FALSE(made->isDeprecated());
    EXPECT_EQ(made->getEditTime(), Time(2024, 3, 5, 9, 4, 0));
    EXPECT_EQ(database.findRecord(key(1), false), made);

    // Deleted again from the same database: nothing changes.
    sim::advanceClock(60000000);
    EXPECT_EQ(database.recordDeletion(key(1), pset), made);
    EXPECT_EQ(made->getEditTime(), Time(2024, 3, 5, 9, 4, 0));

    // A record that came back (deprecated) and is deleted from another database.
    made->setDeprecated(true);
    sim::advanceClock(60000000);
    EXPECT_EQ(database.recordDeletion(key(1), 7), made);
    EXPECT_EQ(made->getDatabaseID(), 7u);
    EXPECT_FALSE(made->isDeprecated());
    EXPECT_EQ(made->getEditTime(), Time(2024, 3, 5, 9, 6, 0));

    EXPECT_EQ(database.recordDeletion(Guid(), pset), nullptr) << "nothing is remembered without a key";
    EXPECT_EQ(database.size(), 1u);
}

TEST_F(PresetTest, DeletedDatabasesAreWrittenExactly) {
    DeletedDatabase database;
    database.recordDeletion(key(1), pset);
    database.createRecord(Guid(), String(), key(2));
    std::string xml =
        "<deletedDatabase><records><deletedRecord key=\"" + keyText(1) +
        "\" edit=\"2024-03-05T10:04:00+01:00\" databaseID=\"1347634516\"><name>Deleted record</name>"
        "</deletedRecord><deletedRecord key=\"" +
        keyText(2) +
        "\" edit=\"2024-03-05T10:04:00+01:00\"><name>Deleted record1</name></deletedRecord>"
        "</records></deletedDatabase>";
    EXPECT_EQ(xmlOf(database), xml);
    DeletedDatabase back;
    ASSERT_TRUE(readXML(back, xml));
    EXPECT_EQ(xmlOf(back), xml);
    EXPECT_EQ(back.findRecord(key(1), false)->getDatabaseID(), pset);
    EXPECT_EQ(back.findRecord(key(2), false)->getDatabaseID(), 0u);
}

} // namespace
