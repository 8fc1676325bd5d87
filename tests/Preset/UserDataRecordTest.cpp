#include "Preset/DeletedRecord.h"

#include "PresetFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

constexpr unsigned int pset = 0x50534554;

struct RecordCase {
    char const* label;
    int utcOffset;
    bool deprecated;
    bool nullTime;
    unsigned int databaseID;
    std::string xml;
};

TEST_F(PresetTest, RecordsAreWrittenExactlyAndReadBackEqual) {
    std::vector<RecordCase> const cases = {
        {"current, east of UTC", 60, false, false, 0,
         R"(<deletedRecord edit="2024-03-05T10:04:00+01:00"><name>Door</name></deletedRecord>)"},
        {"deprecated", 60, true, false, 0,
         R"(<deletedRecord cut="1" edit="2024-03-05T10:04:00+01:00"><name>Door</name></deletedRecord>)"},
        {"at UTC", 0, false, false, 0,
         R"(<deletedRecord edit="2024-03-05T09:04:00Z"><name>Door</name></deletedRecord>)"},
        {"west of UTC by hours and minutes", -330, false, false, 0,
         R"(<deletedRecord edit="2024-03-05T03:34:00-05:30"><name>Door</name></deletedRecord>)"},
        {"with a database", 60, false, false, pset,
         R"(<deletedRecord edit="2024-03-05T10:04:00+01:00" databaseID="1347634516"><name>Door</name></deletedRecord>)"},
        {"never edited", 60, false, true, 0,
         R"(<deletedRecord edit="0000-01-01T00:00:00Z"><name>Door</name></deletedRecord>)"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        sim::setUTCOffset(c.utcOffset);
        DeletedRecord record;
        record.setName("Door");
        record.setDeprecated(c.deprecated);
        record.setDatabaseID(c.databaseID);
        if (c.nullTime) {
            record.setEditTime(Time());
        }
        EXPECT_EQ(xmlOf(record), c.xml);

        DeletedRecord back;
        ASSERT_TRUE(readXML(back, c.xml));
        EXPECT_TRUE(back == record);
        EXPECT_EQ(back.getEditTime().getUTCOffset(), record.getEditTime().getUTCOffset());
        EXPECT_EQ(back.isDeprecated(), c.deprecated);
        EXPECT_EQ(back.getDatabaseID(), c.databaseID);
        EXPECT_EQ(back.getEditTime().isNull(), c.nullTime);
    }
}

TEST_F(PresetTest, RecordChangesStampTheEditTime) {
    DeletedRecord record(false);
    EXPECT_EQ(record.getName(), "Deleted record");
    Time made = record.getEditTime();
    EXPECT_FALSE(made.isNull());
    EXPECT_EQ(record.getDatabaseID(), 0u);

    sim::advanceClock(1500000);
    record.setName("Deleted record");
    record.setDeprecated(false);
    EXPECT_TRUE(record.getEditTime() == made) << "nothing changed, nothing stamped";
    record.setName("Other");
    EXPECT_TRUE(made < record.getEditTime());
    EXPECT_EQ(record.getEditTime().getMicroseconds(), 0u) << "kept to the second, as it is stored";
    Time renamed = record.getEditTime();
    sim::advanceClock(1000000);
    record.setDeprecated(true);
    EXPECT_TRUE(renamed < record.getEditTime());
    Time given(2020, 1, 2, 3, 4, 5);
    record.setEditTime(given);
    EXPECT_TRUE(record.getEditTime() == given);

    DeletedRecord unnamed;
    EXPECT_TRUE(unnamed.getName().empty());
    EXPECT_TRUE(unnamed.getEditTime().isNull());
}

TEST_F(PresetTest, RecordReferencesNeverGoBelowZero) {
    DeletedRecord record;
    EXPECT_FALSE(record.isUsed());
    record.addReference();
    record.addReference();
    EXPECT_TRUE(record.isUsed());
    EXPECT_EQ(record.removeReference(), 1u);
    EXPECT_EQ(record.removeReference(), 0u);
    EXPECT_EQ(record.removeReference(), 0u);
    record.addReference();
    record.resetReference();
    EXPECT_FALSE(record.isUsed());
}

struct OrderCase {
    char const* label;
    char const* nameA;
    int secondA;
    bool deprecatedA;
    char const* nameB;
    int secondB;
    bool deprecatedB;
    bool less; // a < b
    bool equal;
};

TEST_F(PresetTest, RecordsOrderByNameThenTimeThenDeprecation) {
    std::vector<OrderCase> const cases = {
        {"names decide", "A", 9, false, "B", 1, false, true, false},
        {"names decide the other way", "B", 1, false, "A", 9, false, false, false},
        {"then the edit time", "A", 1, false, "A", 2, false, true, false},
        {"then deprecated first", "A", 1, true, "A", 1, false, true, false},
        {"a current one is not before a deprecated one", "A", 1, false, "A", 1, true, false, false},
        {"equal", "A", 1, false, "A", 1, false, false, true},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        DeletedRecord a, b;
        a.setName(c.nameA);
        a.setDeprecated(c.deprecatedA);
        a.setEditTime(Time(2024, 1, 1, 0, 0, unsigned(c.secondA)));
        b.setName(c.nameB);
        b.setDeprecated(c.deprecatedB);
        b.setEditTime(Time(2024, 1, 1, 0, 0, unsigned(c.secondB)));
        EXPECT_EQ(a < b, c.less);
        EXPECT_EQ(a == b, c.equal);
        EXPECT_EQ(a != b, !c.equal);
        EXPECT_EQ(a.isOlderThan(b), c.secondA < c.secondB);
    }
}

} // namespace
