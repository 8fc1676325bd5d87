#include "Environment/Map.h"
#include "ContainerTestItem.h"
#include "Environment/ApplicationMap.h"
#include "Environment/String.h"
#include "support/AllocationWalk.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using containertest::Derived;
using containertest::Item;
using containertest::Other;

namespace {

// A Derived whose copy comes out as another kind.
class Shifty : public Derived {
public:
    using Derived::Derived;
    Item* clone() const override { return new Other(name()); }
};

} // namespace
using zelvane::ApplicationMap;
using zelvane::Map;

namespace {

class MapTest : public containertest::Fixture {};

template <typename M>
std::string contents(M const& map) {
    std::string result;
    for (auto const& entry : map) {
        result += std::to_string(entry.first) + "=" +
                  (entry.second == nullptr ? "<null>" : entry.second->name()) + ";";
    }
    return result;
}

} // namespace

TEST_F(MapTest, NoObjectIsDroppedUndeleted) {
    Map<int, Item> map;
    EXPECT_TRUE(map.insert(1, new Item("one")).second);
    map[2] = new Item("two");
    EXPECT_EQ(Item::live(), 2);

    // Overwriting deletes the object that was there.
    map[2] = new Item("deux");
    map.set(1, new Item("un"));
    EXPECT_EQ(Item::live(), 2);
    EXPECT_EQ(contents(map), "1=un;2=deux;");

    // Storing the object a slot already holds keeps it.
    Item* same = map[2];
    map[2] = same;
    EXPECT_EQ(map.at(2)->name(), "deux");

    // An insert on a present key does not take the new object: its owner still holds it.
    auto* refused = new Item("refused");
    auto result = map.insert(std::make_pair(1, refused));
    EXPECT_FALSE(result.second);
    EXPECT_EQ(result.first->second->name(), "un");
    EXPECT_EQ(Item::live(), 3);
    delete refused;

    // Reading a new key makes an empty slot.
    EXPECT_EQ(map[5].get(), nullptr);
    EXPECT_EQ(map.size(), 3u);
    map[5] = new Item("five");
    EXPECT_EQ(map[5]->name(), "five");
    EXPECT_THROW(map.at(9), std::out_of_range);
}

TEST_F(MapTest, EraseAndReleaseByKeyAndPosition) {
    Map<int, Item> map;
    for (int key = 1; key <= 5; ++key) {
        map[key] = new Item(std::to_string(key));
    }
    EXPECT_EQ(map.erase(3), 1u);
    EXPECT_EQ(map.erase(3), 0u);
    auto next = map.erase(map.find(1));
    EXPECT_EQ(next->first, 2);
    next = map.erase(map.find(2), map.find(5));
    EXPECT_EQ(next->first, 5);
    EXPECT_EQ(Item::live(), 1);

    std::unique_ptr<Item> taken(map.release(5));
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(map.release(5), nullptr);
    EXPECT_EQ(taken->name(), "5");
}

TEST_F(MapTest, CopyClonesAndCastsDown) {
    Map<unsigned int, Derived> derived;
    derived[0] = new Derived("zero");
    derived[4] = nullptr;
    derived[7] = new Derived("seven");
    Map<unsigned int, Derived> copy(derived);
    EXPECT_EQ(contents(copy), "0=zero;4=<null>;7=seven;");
    EXPECT_NE(copy.at(0), derived.at(0));
    EXPECT_EQ(Item::live(), 4);

    // A clone of another kind than the map holds is deleted and stored as null.
    ApplicationMap<Derived> runs;
    runs[3] = new Derived("run");
    runs[9] = new Shifty("shifty");
    ApplicationMap<Derived> runCopy(runs);
    EXPECT_EQ(contents(runCopy), "3=run;9=<null>;");
    EXPECT_EQ(Item::live(), 7);

    Map<unsigned int, Derived> target;
    target[1] = new Derived("target");
    Item::failAfter() = 1;
    EXPECT_THROW(target = copy, std::bad_alloc);
    EXPECT_EQ(contents(target), "1=target;");
    target = copy;
    EXPECT_EQ(contents(target), contents(copy));
}

TEST_F(MapTest, AnObjectWhoseKeyCannotBeCopiedIsDeleted) {
    // Text keys live in host memory blocks: copying one may fail.
    Map<zelvane::String, Item> map;
    map.insert(zelvane::String("one"), new Item("one"));
    map.insert(zelvane::String("two"), new Item("two"));
    testing_support::AllocationCounter counter;
    { Map<zelvane::String, Item> copy(map); }
    testing_support::failEachAllocation(
        {0, counter.count()}, [&](testing_support::AllocationFailure const& failing) {
            EXPECT_THROW(failing([&] { Map<zelvane::String, Item> copy(map); }), std::bad_alloc);
            EXPECT_EQ(Item::live(), 2) << "the clones made are deleted";
        });
    zelvane::String key("three");
    EXPECT_THROW(testing_support::AllocationFailure(0)([&] { map.insert(key, new Item("three")); }),
                 std::bad_alloc);
    EXPECT_EQ(Item::live(), 2) << "an object not stored is deleted";
    EXPECT_EQ(map.size(), 2u);
}
