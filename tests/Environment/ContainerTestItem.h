// Heap objects for the owning container tests: they count the live instances and can be told to
// fail their next clones. The fixture checks that a test leaves none of them alive.
#pragma once

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

namespace containertest {

class Item {
public:
    explicit Item(std::string name) : m_name(std::move(name)) { ++live(); }
    Item(Item const& other) : m_name(other.m_name) { ++live(); }
    virtual ~Item() { --live(); }

    virtual Item* clone() const {
        countClone();
        return new Item(*this);
    }

    std::string const& name() const { return m_name; }
    void rename(std::string name) { m_name = std::move(name); }

    static int& live() {
        static int count = 0;
        return count;
    }
    // When not negative: this many more clones succeed, then one fails.
    static int& failAfter() {
        static int count = -1;
        return count;
    }

protected:
    static void countClone() {
        int& countdown = failAfter();
        if (countdown == 0) {
            countdown = -1;
            throw std::bad_alloc();
        }
        if (countdown > 0) {
            --countdown;
        }
    }

private:
    std::string m_name;
};

// Its clone() answers the base class, as text styles and rulers do.
class Derived : public Item {
public:
    using Item::Item;
    Item* clone() const override {
        countClone();
        return new Derived(*this);
    }
};

// A sibling whose clone() is not a Derived: a down-cast of its copy fails.
class Other : public Item {
public:
    using Item::Item;
    Item* clone() const override { return new Other(*this); }
};

class Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        Item::live() = 0;
        Item::failAfter() = -1;
    }
    void TearDown() override {
        Item::failAfter() = -1;
        EXPECT_EQ(Item::live(), 0) << "objects leaked or deleted twice";
    }
};

// The names of the items of a sequence in order, "<null>" for a null slot.
template <typename Sequence>
std::vector<std::string> names(Sequence const& sequence) {
    std::vector<std::string> result;
    for (Item const* item : sequence) {
        result.push_back(item == nullptr ? "<null>" : item->name());
    }
    return result;
}

} // namespace containertest
