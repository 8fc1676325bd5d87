#include "sim/GuidTable.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

GS::Guid guidOf(UInt32 n, UInt32 high = 0) {
    const UInt8 tail[8] = {UInt8(high), UInt8(high >> 8), 0, 0, 0, 0, 0, UInt8(n % 7)};
    return GS::Guid(n, UInt16(n >> 16), 0, tail);
}

struct GuidLess {
    bool operator()(const GS::Guid& a, const GS::Guid& b) const { return a.Compare(b) < 0; }
};

} // namespace

// Entries are made, found, erased and listed as in a map of their GUIDs, whatever the order they
// come and go in, and stay where they are while the table grows and others are erased.
TEST(GuidTableTest, KeepsEntriesAsAMapOfTheirGuidsWould) {
    struct Case {
        const char* label;
        UInt32 count;
        UInt32 high; // GUIDs that differ only in some of their bytes
        UInt32 eraseEvery;
    };
    const Case cases[] = {
        {"none erased", 1000, 0, 0},
        {"every other one erased", 1000, 0, 2},
        {"every third one erased", 3000, 7, 3},
        {"all erased", 200, 1, 1},
    };
    for (const Case& c : cases) {
        sim::GuidTable<std::string> table;
        std::map<GS::Guid, std::string, GuidLess> expected;
        std::map<GS::Guid, const std::string*, GuidLess> places;
        for (UInt32 i = 0; i < c.count; ++i) {
            const GS::Guid guid = guidOf(i * 2654435761u, c.high);
            table[guid] = std::to_string(i);
            expected[guid] = std::to_string(i);
            places[guid] = table.find(guid);
        }
        auto [held, made] = table.emplace(guidOf(0, c.high), "other");
        EXPECT_FALSE(made) << c.label;
        EXPECT_EQ(*held, "0") << c.label << ": an entry it has stays";
        for (UInt32 i = 0; c.eraseEvery != 0 && i < c.count; i += c.eraseEvery) {
            const GS::Guid guid = guidOf(i * 2654435761u, c.high);
            ASSERT_NE(table.find(guid), nullptr) << c.label;
            table.erase(guid);
            EXPECT_EQ(table.find(guid), nullptr) << c.label << ": erased, though found last";
            expected.erase(guid);
            places.erase(guid);
        }
        ASSERT_EQ(table.size(), expected.size()) << c.label;
        for (const auto& [guid, value] : expected) {
            const std::string* found = table.find(guid);
            ASSERT_NE(found, nullptr) << c.label << " " << value;
            EXPECT_EQ(*found, value) << c.label;
            EXPECT_EQ(found, places[guid]) << c.label << ": moved";
        }
        std::map<GS::Guid, std::string, GuidLess> listed;
        for (const auto& [guid, value] : table) {
            EXPECT_TRUE(listed.emplace(guid, value).second) << c.label << ": listed twice";
        }
        EXPECT_EQ(listed, expected) << c.label;
        EXPECT_EQ(table.find(guidOf(5, c.high + 1)), nullptr) << c.label << ": never made";

        sim::GuidTable<std::string> moved(std::move(table));
        EXPECT_EQ(moved.size(), expected.size()) << c.label;
        for (const auto& [guid, value] : expected) {
            ASSERT_NE(moved.find(guid), nullptr) << c.label;
        }
        moved.clear();
        EXPECT_EQ(moved.size(), 0u) << c.label;
        EXPECT_EQ(moved.begin(), moved.end()) << c.label;
        if (!expected.empty()) {
            EXPECT_EQ(moved.find(expected.begin()->first), nullptr) << c.label << ": cleared";
        }
    }
}
