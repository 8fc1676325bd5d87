#include "Environment/List.h"
#include "ContainerTestItem.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

using containertest::Item;
using containertest::names;
using zelvane::List;

namespace {

class ListTest : public containertest::Fixture {};

} // namespace

TEST_F(ListTest, CopyIsDeepAndIndependent) {
    auto* original = new List<Item>;
    original->push_back(new Item("a"));
    original->push_back(nullptr);
    original->push_back(new Item("c"));
    {
        List<Item> copy(*original);
        EXPECT_EQ(Item::live(), 4);
        EXPECT_EQ(names(copy), (std::vector<std::string>{"a", "<null>", "c"}));
        EXPECT_NE(copy.front(), original->front());
        copy.front()->rename("changed");
    }
    EXPECT_EQ(Item::live(), 2);
    EXPECT_EQ(names(*original), (std::vector<std::string>{"a", "<null>", "c"}));

    List<Item> assigned;
    assigned.push_back(new Item("old"));
    assigned = *original;
    List<Item>& self = assigned;
    assigned = self;
    EXPECT_EQ(names(assigned), names(*original));
    delete original;
    EXPECT_EQ(Item::live(), 2);
}

TEST_F(ListTest, FailedCopyLeavesNothingBehind) {
    List<Item> list;
    for (const char* name : {"a", "b", "c"}) {
        list.push_back(new Item(name));
    }
    Item::failAfter() = 2;
    EXPECT_THROW(List<Item>{list}, std::bad_alloc);
    EXPECT_EQ(Item::live(), 3);

    List<Item> target;
    target.push_back(new Item("kept"));
    Item::failAfter() = 1;
    EXPECT_THROW(target = list, std::bad_alloc);
    EXPECT_EQ(names(target), std::vector<std::string>{"kept"});
    EXPECT_EQ(Item::live(), 4);
}

TEST_F(ListTest, EraseDeletesAndAnswersTheNextPosition) {
    List<Item> list;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        list.push_back(new Item(name));
    }
    auto next = list.erase(std::next(list.begin()));
    EXPECT_EQ((*next)->name(), "c");
    EXPECT_EQ(Item::live(), 4);
    next = list.erase(next, std::prev(list.end()));
    EXPECT_EQ((*next)->name(), "e");
    EXPECT_EQ(names(list), (std::vector<std::string>{"a", "e"}));
    list.pop_front();
    list.push_front(new Item("z"));
    list.pop_back();
    EXPECT_EQ(names(list), std::vector<std::string>{"z"});
    EXPECT_EQ(Item::live(), 1);
}

TEST_F(ListTest, ReleaseHandsOwnershipOver) {
    List<Item> list;
    list.push_back(new Item("a"));
    list.push_back(new Item("b"));
    Item* taken = list.release(list.begin());
    EXPECT_EQ(taken->name(), "a");
    EXPECT_EQ(list.size(), 1u);
    list.clear();
    EXPECT_EQ(Item::live(), 1);
    delete taken;

    List<Item> moved;
    moved.push_back(new Item("m"));
    List<Item> target(std::move(moved));
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(names(target), std::vector<std::string>{"m"});
}
