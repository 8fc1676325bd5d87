#include "Environment/Vector.h"
#include "ContainerTestItem.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using containertest::Derived;
using containertest::Item;
using containertest::names;
using zelvane::Vector;

namespace {

class VectorTest : public containertest::Fixture {};

Vector<Item> make(std::vector<const char*> const& list) {
    Vector<Item> result(list.size());
    for (const char* name : list) {
        result.push_back(name == nullptr ? nullptr : new Item(name));
    }
    return result;
}

} // namespace

TEST_F(VectorTest, ReservesWithoutElements) {
    Vector<Item> vector(40ul);
    EXPECT_TRUE(vector.empty());
    EXPECT_GE(vector.capacity(), 40u);
}

TEST_F(VectorTest, CopyAndCloneAreDeepAndKeepNulls) {
    Vector<Item> original = make({"a", nullptr, "c"});
    original.push_back(new Derived("d"));
    Vector<Item> copy(original);
    std::unique_ptr<Vector<Item>> clone(original.clone());
    EXPECT_EQ(Item::live(), 9);
    for (Vector<Item> const* duplicate : {&copy, clone.get()}) {
        EXPECT_EQ(names(*duplicate), names(original));
        EXPECT_EQ((*duplicate)[1], nullptr);
        EXPECT_NE((*duplicate)[0], original[0]);
        EXPECT_NE(dynamic_cast<Derived*>((*duplicate)[3]), nullptr) << "the copy keeps the dynamic type";
    }
    copy.clear();
    clone.reset();
    EXPECT_EQ(names(original), (std::vector<std::string>{"a", "<null>", "c", "d"}));
    EXPECT_EQ(Item::live(), 3);
}

TEST_F(VectorTest, FailedCopyAndAssignmentLoseNothing) {
    Vector<Item> vector = make({"a", "b", "c"});
    Item::failAfter() = 1;
    EXPECT_THROW(Vector<Item>{vector}, std::bad_alloc);
    EXPECT_EQ(Item::live(), 3);
    Vector<Item> target = make({"x", "y"});
    Item::failAfter() = 2;
    EXPECT_THROW(target = vector, std::bad_alloc);
    EXPECT_EQ(names(target), (std::vector<std::string>{"x", "y"}));
    Item::failAfter() = 0;
    EXPECT_THROW(delete vector.clone(), std::bad_alloc);
    EXPECT_EQ(Item::live(), 5);
}

TEST_F(VectorTest, EraseDeletesOnlyTheErased) {
    struct Case {
        const char* what;
        int first, last; // last < 0: a single element
        std::vector<std::string> rest;
        const char* next; // nullptr: at the end
    };
    const Case cases[] = {
        {"middle", 2, -1, {"a", "b", "d", "e"}, "d"},          {"first", 0, -1, {"b", "c", "d", "e"}, "b"},
        {"last", 4, -1, {"a", "b", "c", "d"}, nullptr},        {"range", 1, 4, {"a", "e"}, "e"},
        {"empty range", 2, 2, {"a", "b", "c", "d", "e"}, "c"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        Vector<Item> vector = make({"a", "b", "c", "d", "e"});
        auto next = c.last < 0 ? vector.erase(vector.begin() + c.first)
                               : vector.erase(vector.begin() + c.first, vector.begin() + c.last);
        EXPECT_EQ(names(vector), c.rest);
        EXPECT_EQ(Item::live(), int(c.rest.size()));
        if (c.next == nullptr) {
            EXPECT_EQ(next, vector.end());
        } else {
            EXPECT_EQ((*next)->name(), c.next);
        }
    }
}

TEST_F(VectorTest, ResizeReleaseAndMove) {
    Vector<Item> vector = make({"a", nullptr, "c", "d"});
    vector.resize(2);
    EXPECT_EQ(Item::live(), 1);
    vector.resize(3);
    EXPECT_EQ(names(vector), (std::vector<std::string>{"a", "<null>", "<null>"}));
    vector.pop_back();

    std::unique_ptr<Item> taken(vector.release(vector.begin()));
    EXPECT_EQ(taken->name(), "a");
    EXPECT_EQ(names(vector), std::vector<std::string>{"<null>"});

    Vector<Item> other = make({"p", "q"});
    vector = std::move(other);
    EXPECT_TRUE(other.empty());
    EXPECT_EQ(names(vector), (std::vector<std::string>{"p", "q"}));
    vector.insert(vector.begin() + 1, new Item("i"));
    EXPECT_EQ(names(vector), (std::vector<std::string>{"p", "i", "q"}));
    EXPECT_THROW(vector.at(3), std::out_of_range);
}
