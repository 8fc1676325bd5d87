#include "Preset/UserDataUniqueString.h"

#include "NoteDatabase.h"
#include "PresetFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

struct NameCase {
    char const* label;
    std::vector<char const*> names;
    char const* asked;
    char const* result;
    int holder; // index of the record holding the asked name, -1 for none
};

TEST_F(PresetTest, UniqueNamesFromANameAndItsSource) {
    std::vector<NameCase> const cases = {
        {"clash with a numbered variant", {"Wall", "Wall2"}, "Wall", "Wall3", 0},
        {"padding kept", {"Door01"}, "Door01", "Door02", 0},
        {"padding outgrown", {"A99"}, "A99", "A100", 0},
        {"a longer rest counts as it is", {"A01", "A0150"}, "A01", "A151", 0},
        {"digits only", {"12", "5"}, "12", "13", 0},
        {"digits only, padded", {"007"}, "007", "008", 0},
        {"a blank before the number is part of the base", {"Door", "Door 2"}, "Door", "Door1", 0},
        {"a base with blanks", {"My Wall 3", "My Wall 7", "My Wallpaper"}, "My Wall 3", "My Wall 8", 0},
        {"no clash although variants exist",
         {"Name1", "Name2", "Name3", "Name4", "Name5", "Name6", "Name7", "Name8", "Name9"},
         "Name",
         "Name",
         -1},
        {"letter case is no clash", {"wall"}, "Wall", "Wall", -1},
        {"other letter case does not count", {"Wall", "WALL5"}, "Wall", "Wall1", 0},
        {"the last holder wins", {"Same", "Other", "Same"}, "Same", "Same1", 2},
        {"past 32 bits", {"X4294967295"}, "X4294967295", "X4294967296", 0},
        {"far past 64 bits", {"X99999999999999999999"}, "X99999999999999999999", "X100000000000000000000", 0},
        {"an empty name", {"", "3"}, "", "4", 0},
        {"nothing there", {}, "Wall", "Wall", -1},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        NoteDatabase::NameList source;
        unsigned int n = 0;
        for (char const* name : c.names) {
            source.emplace_back(key(++n), std::make_shared<NoteRecord>(String(name)));
        }
        source.emplace_back(key(++n), nullptr); // an entry without a record is passed over
        UserDataUniqueString<NoteDatabase::NameList> unique(source);
        auto holder = source.cend();
        EXPECT_EQ(unique.generateFor(c.asked, 2, &holder), c.result);
        EXPECT_EQ(holder == source.cend() ? -1 : int(holder - source.cbegin()), c.holder);
        EXPECT_EQ(unique.generateFor(c.asked, 2), c.result) << "the holder is optional";
    }
}

TEST_F(PresetTest, UniqueNamesOverADatabaseWalkItInKeyOrder) {
    NoteDatabase database;
    database.createRecord(Guid(), "Wall", key(2));
    database.createRecord(Guid(), "Wall", key(1));
    ASSERT_EQ(database.findRecord(key(1), false)->getName(), "Wall1");
    UserDataUniqueString<NoteDatabase> unique(database);
    NoteDatabase::const_iterator holder = database.end();
    EXPECT_EQ(unique.generateFor("Wall", 2, &holder), "Wall2");
    ASSERT_NE(holder, database.end());
    EXPECT_EQ(holder->first, key(2));
    EXPECT_EQ(unique.getValue(holder, 3), "") << "the text field of a note";
    holder->second->m_text = "x";
    EXPECT_EQ(unique.getValue(holder, 3), "x");
    EXPECT_EQ(unique.getValue(holder, 9), "") << "no such field";
}

} // namespace
