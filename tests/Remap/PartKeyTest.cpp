#include "Remap/PartKey.h"

#include <gtest/gtest.h>

#include <unordered_map>

using namespace zelvane;
using zelvane::remap::PartKey;
using zelvane::remap::PartKeyHash;

// A table of parts keeps apart parts that differ in library, type or index alone, and a link
// naming a part met before finds that part's entry.
TEST(PartKey, PartsDifferingInAnyOfLibraryTypeAndIndexAreKeptApart) {
    // The libraries are only told apart by address.
    const char places[2] = {};
    const auto* first = reinterpret_cast<const Library*>(&places[0]);
    const auto* second = reinterpret_cast<const Library*>(&places[1]);
    const ComponentLink parts[] = {
        ComponentLink(7, APILib_ObjectID, first),   ComponentLink(7, APILib_ObjectID, second),
        ComponentLink(7, APILib_DoorID, first),     ComponentLink(8, APILib_ObjectID, first),
        ComponentLink(7, APILib_ObjectID, nullptr),
    };
    std::unordered_map<PartKey, int, PartKeyHash> table;
    int entry = 0;
    for (const ComponentLink& part : parts) {
        EXPECT_TRUE(table.emplace(PartKey(part), entry++).second) << entry;
    }
    entry = 0;
    for (const ComponentLink& part : parts) {
        auto found = table.find(PartKey(ComponentLink(part.getIndex(), part.getType(), part.getLibrary())));
        ASSERT_NE(found, table.end());
        EXPECT_EQ(found->second, entry++);
    }
}
