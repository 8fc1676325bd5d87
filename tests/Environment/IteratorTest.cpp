// The database iterators over a small database of numbered test items.
#include "Environment/IteratorBase.h"
#include "Environment/Vector.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

class TestDatabase;

struct TestLink {
    int id = 0;
    TestDatabase* database = nullptr;

    TestDatabase* getSource() const { return database; }
    TestLink* clone() const { return new TestLink(*this); }
    bool operator==(TestLink const& other) const { return id == other.id && database == other.database; }
};

class TestItem {
public:
    TestItem(TestLink link, int value) : m_link(link), value(value) { ++live; }
    TestItem(TestItem const& other) : m_link(other.m_link), value(other.value) { ++live; }
    ~TestItem() { --live; }
    TestItem* clone() const { return new TestItem(*this); }
    TestLink const& getLink() const { return m_link; }

    static int live;

private:
    TestLink m_link;

public:
    int value;
};
int TestItem::live = 0;

// Passes items whose value is at least the minimum.
class TestFilter {
public:
    explicit TestFilter(int minimum = 0) : minimum(minimum) { ++live; }
    TestFilter(TestFilter const& other) : minimum(other.minimum) { ++live; }
    ~TestFilter() { --live; }
    TestFilter* clone() const { return new TestFilter(*this); }
    bool passes(int value) const { return value >= minimum; }

    int minimum;
    static int live;
};
int TestFilter::live = 0;

// Items by id, each with a value; loads of some ids fail, and writes can be refused.
class TestDatabase {
public:
    std::map<int, int> values;
    std::set<int> failingLoads;
    bool refusePuts = false;
    std::vector<int> puts;

    TestItem* load(TestLink const& link, TestFilter const* filter) {
        auto it = values.find(link.id);
        if (it == values.end() || failingLoads.count(link.id) > 0 || !filter->passes(it->second)) {
            return nullptr;
        }
        return new TestItem(link, it->second);
    }
    TestItem* seekNext(TestLink const& link, bool forward, TestFilter const& filter) {
        if (forward) {
            for (auto it = values.upper_bound(link.id); it != values.end(); ++it) {
                if (TestItem* item = load(TestLink{it->first, this}, &filter)) {
                    return item;
                }
            }
        } else {
            for (auto it = std::make_reverse_iterator(values.lower_bound(link.id)); it != values.rend();
                 ++it) {
                if (TestItem* item = load(TestLink{it->first, this}, &filter)) {
                    return item;
                }
            }
        }
        return nullptr;
    }
    bool put(TestItem& item, bool forceNew, bool withMemo) {
        EXPECT_FALSE(forceNew);
        EXPECT_TRUE(withMemo);
        puts.push_back(item.getLink().id);
        if (refusePuts) {
            return false;
        }
        values[item.getLink().id] = item.value;
        return true;
    }

    TestItem* item(int id) { return load(TestLink{id, this}, &m_all); }
    std::shared_ptr<zelvane::Vector<TestLink>> links(std::vector<int> const& ids) {
        auto list = std::make_shared<zelvane::Vector<TestLink>>();
        for (int id : ids) {
            list->push_back(new TestLink{id, this});
        }
        return list;
    }

private:
    TestFilter m_all;
};

using Types = zelvane::IteratorTypes<TestDatabase, TestItem, TestLink, TestFilter, zelvane::Vector<TestLink>>;

template <typename It>
std::vector<int> walk(It it) {
    std::vector<int> ids;
    while (!it.atEnd()) {
        ids.push_back(it.getReference().getLink().id);
        it.moveForward(true);
    }
    return ids;
}

class IteratorTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int id = 1; id <= 6; ++id) {
            db.values[id] = id * 10;
        }
    }
    void TearDown() override {
        EXPECT_EQ(TestItem::live, 0) << "items leaked or deleted twice";
        EXPECT_EQ(TestFilter::live, 1) << "filters leaked or deleted twice";
    }

    TestDatabase db;
};

} // namespace

TEST_F(IteratorTest, LinkListWalksBothWaysSkippingFailedLoads) {
    struct Case {
        const char* what;
        std::vector<int> list;
        std::set<int> failing;
        int minimum;
        std::vector<int> forward, reverse;
    };
    const Case cases[] = {
        {"all load", {1, 2, 3}, {}, 0, {1, 2, 3}, {3, 2, 1}},
        {"empty list", {}, {}, 0, {}, {}},
        {"one link", {4}, {}, 0, {4}, {4}},
        {"middle fails", {1, 2, 3}, {2}, 0, {1, 3}, {3, 1}},
        {"ends fail", {1, 2, 3, 4}, {1, 4}, 0, {2, 3}, {3, 2}},
        {"every load fails", {1, 2}, {1, 2}, 0, {}, {}},
        {"filtered out", {1, 2, 3, 4}, {}, 25, {3, 4}, {4, 3}},
        {"unknown id", {9, 5}, {}, 0, {5}, {5}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        db.failingLoads = c.failing;
        TestFilter filter(c.minimum);
        auto links = db.links(c.list);
        EXPECT_EQ(walk(Types::iterator(links, filter)), c.forward);
        EXPECT_EQ(walk(Types::reverse_iterator(links, filter)), c.reverse);
        EXPECT_EQ(walk(Types::const_iterator(links, filter)), c.forward);
        EXPECT_EQ(walk(Types::const_reverse_iterator(links, filter)), c.reverse);
        EXPECT_EQ(links.use_count(), 1) << "an ended iterator lets go of the list";
    }
}

TEST_F(IteratorTest, DatabaseScanSeeksInItsOwnDirection) {
    db.failingLoads = {3};
    TestFilter filter(20);
    EXPECT_EQ(walk(Types::iterator(db.item(1), filter)), (std::vector<int>{1, 2, 4, 5, 6}));
    EXPECT_EQ(walk(Types::reverse_iterator(db.item(6), filter)), (std::vector<int>{6, 5, 4, 2}));
    EXPECT_EQ(walk(Types::const_reverse_iterator(db.item(2), filter)), (std::vector<int>{2}));

    Types::iterator ended(nullptr, filter);
    EXPECT_THROW(ended.moveForward(true), std::out_of_range);
    EXPECT_THROW(ended.getReference(), std::out_of_range);
    try {
        ended.getReference();
    } catch (std::out_of_range const& e) {
        EXPECT_STREQ(e.what(), "");
    }
}

TEST_F(IteratorTest, AutoWriteWritesWhatItLeavesButNeverOnDestruction) {
    TestFilter filter;
    {
        Types::iterator it(db.links({1, 2, 3}), filter);
        EXPECT_TRUE(it.isAutoWrite());
        it->value = 11;
        it.moveForward(true);
        it->value = 22;
        it.moveForward(true);
        it->value = 33; // dropped: destruction does not write
    }
    EXPECT_EQ(db.puts, (std::vector<int>{1, 2}));
    EXPECT_EQ(db.values[1], 11);
    EXPECT_EQ(db.values[2], 22);
    EXPECT_EQ(db.values[3], 30);

    db.puts.clear();
    Types::reverse_iterator scan(db.item(6), filter);
    scan.setAutoWrite(false);
    scan->value = 66;
    scan.moveForward(true);
    EXPECT_TRUE(db.puts.empty());
    EXPECT_EQ(db.values[6], 60);

    // A refused write, or an item without a database, is counted.
    scan.setAutoWrite(true);
    db.refusePuts = true;
    scan.moveForward(true);
    EXPECT_EQ(scan.getWriteFailures(), 1u);
    Types::iterator orphan(new TestItem(TestLink{7, nullptr}, 70), filter);
    orphan.deallocate(true);
    EXPECT_EQ(orphan.getWriteFailures(), 1u);
    EXPECT_TRUE(orphan.atEnd());
}

TEST_F(IteratorTest, ReleaseHandsTheItemOverAndMovesOn) {
    TestFilter filter;
    Types::iterator it(db.links({2, 4}), filter);
    it.setAutoWrite(false);
    std::unique_ptr<TestItem> first(it.release());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getLink().id, 2);
    EXPECT_EQ(it->getLink().id, 4);
    std::unique_ptr<TestItem> second(it.release());
    EXPECT_TRUE(it.atEnd());
    EXPECT_EQ(it.release(), nullptr);

    // A scan that cannot go on keeps the item it could not hand over.
    Types::iterator orphan(new TestItem(TestLink{7, nullptr}, 70), filter);
    EXPECT_THROW(orphan.release(), std::bad_alloc);
    EXPECT_EQ(orphan->value, 70);
}

TEST_F(IteratorTest, CopiesAreIndependentAndShareTheList) {
    TestFilter filter(15);
    auto links = db.links({1, 2, 3, 4});
    Types::const_iterator it(links, filter);
    EXPECT_EQ(it->getLink().id, 2);
    Types::const_iterator copy(it);
    EXPECT_EQ(links.use_count(), 3);
    EXPECT_NE(&copy.getReference(), &it.getReference());
    EXPECT_NE(copy.getFilter(), it.getFilter());
    EXPECT_TRUE(copy.isEqual(it));
    copy.moveForward(true);
    EXPECT_EQ(copy->getLink().id, 3);
    EXPECT_EQ(it->getLink().id, 2);
    EXPECT_FALSE(copy == it);
    it = copy;
    EXPECT_TRUE(copy == it);

    // Ended iterators are equal whatever their filters; an ended and a live one are not.
    TestFilter other(99);
    Types::const_iterator endA(nullptr, filter), endB(nullptr, other);
    EXPECT_TRUE(endA == endB);
    EXPECT_TRUE(endA == Types::const_iterator());
    EXPECT_FALSE(endA == it);
    EXPECT_FALSE(it == endA);
}

TEST_F(IteratorTest, MissingDatabaseOrLinkFailsCleanly) {
    TestFilter filter;
    auto links = db.links({1, 2});
    links->push_back(nullptr);
    Types::iterator it(links, filter);
    it.setAutoWrite(false);
    it.moveForward(true);
    EXPECT_THROW(it.moveForward(true), std::bad_alloc);

    auto orphanLinks = std::make_shared<zelvane::Vector<TestLink>>();
    orphanLinks->push_back(new TestLink{1, nullptr});
    EXPECT_THROW(Types::const_reverse_iterator(orphanLinks, filter), std::bad_alloc);

    Types::const_iterator scan(new TestItem(TestLink{3, nullptr}, 30), filter);
    EXPECT_THROW(scan.moveForward(true), std::bad_alloc);
    EXPECT_EQ(scan->value, 30) << "the item stays when the scan cannot go on";
}

TEST_F(IteratorTest, SeekerIsToldOfEverySeek) {
    struct Recorder : Types::iterator::Seeker {
        std::vector<std::string> seen;
        void seek(TestLink const& link, bool forward, TestFilter const& filter,
                  TestItem const* found) override {
            seen.push_back(std::to_string(link.id) + (forward ? ">" : "<") + std::to_string(filter.minimum) +
                           ":" + (found == nullptr ? "none" : std::to_string(found->getLink().id)));
        }
    } recorder;
    TestFilter filter(20);
    db.failingLoads = {4};
    {
        Types::reverse_iterator it(db.item(5), filter);
        it.setSeeker(&recorder);
        it.setAutoWrite(false);
        walk(std::move(it));
    }
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"5<20:3", "3<20:2", "2<20:none"}));

    recorder.seen.clear();
    Types::iterator listed(db.links({1, 2, 3, 4, 5}), filter);
    listed.setSeeker(&recorder);
    listed.setAutoWrite(false);
    listed.moveForward(true);
    listed.moveForward(true);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"3>20:3", "4>20:none", "5>20:5"}));
}
