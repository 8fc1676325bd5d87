#include "Preset/DeletedDatabase.h"

#include "NoteDatabase.h"
#include "PresetFixture.h"
#include "PresetTypesTest.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

// The database every merge starts from: Alpha (1) and Beta (2) current, Gamma (3) deprecated, all
// edited at the clock's time.
void fill(NoteDatabase& database) {
    database.createRecord(Guid(), "Alpha", key(1)).second->m_text = "old";
    database.createRecord(Guid(), "Beta", key(2));
    database.createRecord(Guid(), "Gamma", key(3));
    database.setDeprecated(key(3), true);
    database.findRecord(key(3), false)->setEditTime(Time(2024, 3, 5, 9, 4, 0));
}

std::map<std::string, std::string> namesOf(NoteDatabase const& database) {
    std::map<std::string, std::string> names;
    for (auto const& entry : database) {
        names[entry.first.toString().data()] =
            entry.second != nullptr ? entry.second->getName().data() : "(null)";
    }
    return names;
}

enum class Age { older, same, newer };

struct MergeCase {
    char const* label;
    unsigned int key;
    char const* name;
    Age age;
    bool taken;                                               // the incoming record is the one under its key
    char const* endName;                                      // the incoming record's name afterwards
    std::vector<std::pair<unsigned int, char const*>> others; // names of other records afterwards
};

TEST_F(PresetTest, MergingARecordFollowsItsEditTimeAndKeepsNamesUnique) {
    std::vector<MergeCase> const cases = {
        {"same key, older", 1, "Alpha", Age::older, false, "Alpha", {{1, "Alpha"}}},
        {"same key, same time", 1, "Alpha", Age::same, false, "Alpha", {{1, "Alpha"}}},
        {"same key, newer", 1, "Alpha", Age::newer, true, "Alpha", {{2, "Beta"}}},
        {"same key, newer, renamed to a free name", 1, "Omega", Age::newer, true, "Omega", {{2, "Beta"}}},
        {"same key, newer, named as another current record",
         1,
         "Beta",
         Age::newer,
         true,
         "Beta1",
         {{2, "Beta"}}},
        {"same key, newer, named as a deprecated record",
         1,
         "Gamma",
         Age::newer,
         true,
         "Gamma",
         {{3, "Gamma1"}}},
        {"new key, free name", 9, "Delta", Age::older, true, "Delta", {{1, "Alpha"}, {2, "Beta"}}},
        {"new key, name of a current record", 9, "Beta", Age::same, true, "Beta1", {{2, "Beta"}}},
        {"new key, name of a deprecated record", 9, "Gamma", Age::newer, true, "Gamma", {{3, "Gamma1"}}},
    };
    Time const times[] = {Time(2024, 3, 5, 9, 3, 0), Time(2024, 3, 5, 9, 4, 0), Time(2024, 3, 5, 9, 5, 0)};
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        NoteDatabase database;
        fill(database);
        std::size_t before = database.size();
        auto incoming = std::make_shared<NoteRecord>(c.name, "new");
        incoming->setEditTime(times[int(c.age)]);
        database.merge(NoteDatabase::Pair(key(c.key), incoming));

        auto present = database.findRecord(key(c.key), false);
        ASSERT_NE(present, nullptr);
        EXPECT_EQ(present == incoming, c.taken);
        EXPECT_EQ(database.size(), before + (c.key == 9 ? 1 : 0));
        if (c.taken) {
            EXPECT_EQ(incoming->getName(), c.endName);
            EXPECT_EQ(present->m_text, "new") << "the incoming record keeps its contents";
        } else {
            EXPECT_EQ(present->m_text, "old");
        }
        for (auto const& other : c.others) {
            EXPECT_EQ(database.findRecord(key(other.first), false)->getName(), other.second);
        }
        EXPECT_EQ(database.mergeRecords, c.key == 9 ? 1 : 0) << "a fresh record only for a new key";
    }
}

TEST_F(PresetTest, MergingNothingChangesNothing) {
    NoteDatabase database;
    fill(database);
    auto names = namesOf(database);
    database.merge(NoteDatabase::Pair(Guid(), std::make_shared<NoteRecord>("Null key")));
    database.merge(NoteDatabase::Pair(key(5), nullptr));
    EXPECT_EQ(namesOf(database), names);
}

TEST_F(PresetTest, MergingOverAnEmptyEntryAddsTheRecord) {
    NoteDatabase database;
    fill(database);
    database.getRecordList().edit()[key(4)] = nullptr;
    auto incoming = std::make_shared<NoteRecord>("Beta");
    database.merge(NoteDatabase::Pair(key(4), incoming));
    EXPECT_EQ(database.findRecord(key(4), false), incoming);
    EXPECT_EQ(incoming->getName(), "Beta1");
    EXPECT_EQ(database.size(), 4u);
}

TEST_F(PresetTest, PlaceholdersGiveWayToAnyRealRecord) {
    NoteDatabase database;
    auto placeholder = database.getRecord(key(7), true);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->getName(), "Missing record");
    EXPECT_TRUE(placeholder->isDeprecated());
    EXPECT_TRUE(placeholder->getEditTime().isNull());
    EXPECT_EQ(database.getRecord(key(7), true), placeholder) << "made once";
    EXPECT_EQ(database.getRecord(key(8), false), nullptr);
    EXPECT_EQ(database.getRecord(Guid(), true), nullptr);

    auto real = std::make_shared<NoteRecord>("Missing record");
    real->setEditTime(Time(1990, 1, 1, 0, 0, 0));
    database.merge(NoteDatabase::Pair(key(7), real));
    EXPECT_EQ(database.findRecord(key(7), false), real);
    EXPECT_EQ(real->getName(), "Missing record") << "the placeholder does not hold its name against it";
}

// Two placeholders: making the second renames the first, which still gives way to a real record
// edited before the clock's day.
template <typename D>
void placeholdersRenamedGiveWay(D& database, typename D::RecordPtr const& real) {
    auto first = database.getRecord(key(1), true);
    auto second = database.getRecord(key(2), true);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->getName(), "Missing record1") << "the deprecated holder gave its name up";
    EXPECT_TRUE(first->getEditTime().isNull()) << "a renamed placeholder was never edited";
    real->setEditTime(Time(2024, 1, 1, 0, 0, 0));
    database.merge(typename D::Pair(key(1), real));
    EXPECT_EQ(database.findRecord(key(1), false), real);
}

TEST_F(PresetTest, RenamedPlaceholdersStillGiveWay) {
    NoteDatabase database;
    placeholdersRenamedGiveWay(database, std::make_shared<NoteRecord>("Ash"));
}

TEST_F(PresetTypesTest, RenamedPresetPlaceholdersStillGiveWay) {
    for (char const* type : {"wall", "finish"}) { // names unique in the database, and in the type
        SCOPED_TRACE(type);
        PresetDatabase::setDefaultTemplate(type, true);
        PresetDatabase database;
        std::shared_ptr<PresetRecord> real(PresetDatabase::getTemplateFor(type));
        real->setName("Ash");
        placeholdersRenamedGiveWay(database, real);
    }
}

TEST_F(PresetTest, MergingADatabaseMergesEachEntry) {
    NoteDatabase database;
    fill(database);
    NoteDatabase other;
    other.createRecord(Guid(), "Alpha", key(1));
    other.findRecord(key(1), false)->setEditTime(Time(2025, 1, 1, 0, 0, 0));
    other.createRecord(Guid(), "Beta", key(8));
    database.merge(static_cast<Package const&>(other));
    EXPECT_EQ(database.findRecord(key(1), false), other.findRecord(key(1), false));
    EXPECT_EQ(database.findRecord(key(8), false)->getName(), "Beta1");

    auto names = namesOf(database);
    database.merge(static_cast<Package const&>(database));
    EXPECT_EQ(namesOf(database), names) << "merging a database into itself changes nothing";

    DeletedDatabase deleted;
    deleted.createRecord(Guid(), String(), key(9));
    std::size_t size = database.size();
    database.merge(static_cast<Package const&>(deleted));
    EXPECT_EQ(database.size(), size) << "a database of another kind is not merged";
}

} // namespace
