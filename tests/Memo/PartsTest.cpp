#include "Environment/Memory.h"
#include "Memo/AttributeMemoStore.h"
#include "Memo/ConstructionMemo.h"
#include "Memo/ElementMemoStore.h"
#include "Memo/GableMemo.h"
#include "Memo/SectionLineMemo.h"
#include "PackTwice.h"
#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

using namespace zelvane;

namespace {

// Owners of the tests' own: nothing is stored in the host, so a fetch marks the part loaded.
class GableOwner : public GableMemo {
public:
    void getMemo(UInt64 mask, MemoStore*&) const override {
        ++fetches;
        if (mask & getFilter()) {
            setLoaded(true);
        }
    }
    mutable int fetches = 0;
};

class ConstructionOwner : public ConstructionMemo {
public:
    void getMemo(UInt64 mask, MemoStore*&) const override {
        if (mask & getFilter()) {
            setLoaded(true);
        }
    }
};

class SectionOwner : public SectionLineMemo {
public:
    void getMemo(UInt64 mask, MemoStore*&) const override {
        if (mask & getFilter()) {
            setLoaded(true);
        }
    }
    const API_Polygon& getPolyData(const MemoStore&) const override { return description; }
    API_Polygon description;
};

Gable* gableWith(double offset) {
    API_Gable record;
    record.xOffset = offset;
    return new Gable(record);
}

template <typename T>
T** handleOf(int count) {
    char** h = allocateHandle(int(count * sizeof(T)));
    clearMemory(*h, int(count * sizeof(T)));
    return reinterpret_cast<T**>(h);
}

} // namespace

TEST(MemoPartsTest, GablesKeepTheirOrderAndPackWhole) {
    GableOwner memo;
    EXPECT_EQ(memo.getGable(0), nullptr); // none yet
    memo.addGable(gableWith(1));
    memo.addGable(gableWith(2));
    memo.insertGable(gableWith(0), 0);
    memo.insertGable(gableWith(3), 9); // outside: appended
    memo.setGable(gableWith(10), 1);
    memo.setGable(gableWith(4), -1); // outside: appended
    memo.deleteGable(7);             // outside: nothing
    std::vector<double> offsets;
    for (int i = 0; i < memo.getGableCount(); ++i) {
        offsets.push_back(memo.getGable(i)->getRecord().xOffset);
    }
    EXPECT_EQ(offsets, (std::vector<double>{0, 10, 2, 3, 4}));
    EXPECT_THROW(memo.getGable(5), std::out_of_range);
    EXPECT_EQ(memo.fetches, 1);

    ElementMemoStore store;
    ASSERT_TRUE(memo.pack(&store));
    EXPECT_EQ(getHandleSize(reinterpret_cast<char**>(store.getTarget()->gables)), 5 * 96);
    std::unique_ptr<API_Gable> copy(memo.getGable(4)->getGableData());
    EXPECT_EQ(copy->xOffset, 4);

    // 200 bytes hold two whole gables.
    char** h = allocateHandle(200);
    copyMemory(*h, *store.getTarget()->gables, 200);
    ElementMemoStore read;
    *read.gables() = reinterpret_cast<API_Gable**>(h);
    GableOwner other;
    EXPECT_TRUE(other.unpack(read));
    EXPECT_EQ(other.getGableCount(), 2);
    EXPECT_EQ(other.getGable(1)->getRecord().xOffset, 10);

    memo.clear();
    ElementMemoStore empty;
    EXPECT_TRUE(memo.pack(&empty)); // no gables: nothing to store
    EXPECT_EQ(empty.getTarget()->gables, nullptr);
    ElementMemoStore none;
    EXPECT_TRUE(other.unpack(none));
    EXPECT_EQ(other.getGableCount(), 0);
}

TEST(MemoPartsTest, GableCopiesHoldTheirOwnGables) {
    GableOwner memo;
    memo.addGable(gableWith(1));
    memo.addGable(gableWith(2));
    GableOwner copy(memo);
    copy.deleteGable(0);
    EXPECT_EQ(memo.getGableCount(), 2);
    ASSERT_EQ(copy.getGableCount(), 1);
    EXPECT_NE(copy.getGable(0), memo.getGable(1));
    EXPECT_EQ(copy.getGable(0)->getRecord().xOffset, 2);

    copy = memo;
    memo.clear();
    ASSERT_EQ(copy.getGableCount(), 2);
    EXPECT_EQ(copy.getGable(0)->getRecord().xOffset, 1);
    const GableOwner& same = copy;
    copy = same;
    EXPECT_EQ(copy.getGableCount(), 2);
    copy = memo;
    EXPECT_EQ(copy.getGableCount(), 0);
}

TEST(MemoPartsTest, GablePackFailsWhenMemoryRunsOut) {
    GableOwner memo;
    memo.addGable(gableWith(1));
    ElementMemoStore store;
    sim::failNextAllocations(1);
    EXPECT_FALSE(memo.pack(&store));
    EXPECT_EQ(store.getTarget()->gables, nullptr);
}

TEST(MemoPartsTest, PackingTwiceReplacesTheFirstBlocks) {
    GableOwner gables;
    gables.addGable(gableWith(1));
    gables.addGable(gableWith(2));
    testing_memo::expectPackingTwiceReplacesTheBlocks(gables);

    ConstructionOwner construction;
    AttributeMemoStore read;
    *read.cwall_compItems() = handleOf<API_CWallComponent>(2);
    *read.cwall_compLItems() = handleOf<API_CWallLineComponent>(3);
    ASSERT_TRUE(construction.unpack(read));
    testing_memo::expectPackingTwiceReplacesTheBlocks<AttributeMemoStore>(construction);
}

TEST(MemoPartsTest, ConstructionsNeedALineMoreThanSkins) {
    struct Case {
        const char* name;
        int skins;
        int lines;
        bool unpacks;
    };
    const Case cases[] = {
        {"two skins", 2, 3, true},   {"one skin", 1, 2, true},  {"lines short", 2, 2, false},
        {"lines over", 2, 4, false}, {"no skins", 0, 1, false}, {"no lines", 3, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConstructionOwner memo;
        {
            AttributeMemoStore first;
            *first.cwall_compItems() = handleOf<API_CWallComponent>(1);
            *first.cwall_compLItems() = handleOf<API_CWallLineComponent>(2);
            ASSERT_TRUE(memo.unpack(first));
        }
        AttributeMemoStore store;
        if (c.skins > 0) {
            *store.cwall_compItems() = handleOf<API_CWallComponent>(c.skins);
            for (int i = 0; i < c.skins; ++i) {
                (**store.cwall_compItems())[i].buildingMaterial = API_AttributeIndex(i + 1);
            }
        }
        if (c.lines > 0) {
            *store.cwall_compLItems() = handleOf<API_CWallLineComponent>(c.lines);
        }
        EXPECT_EQ(memo.unpack(store), c.unpacks);
        EXPECT_EQ(memo.isLoaded(), c.unpacks);
        EXPECT_EQ(memo.getCoreCount(), c.unpacks ? c.skins : 0); // the previous skins are gone
        if (c.unpacks) {
            EXPECT_EQ(memo.getEdgeCount(), c.lines);
            EXPECT_EQ(memo.getCore(c.skins - 1)->getRecord().buildingMaterial, c.skins);
            AttributeMemoStore packed;
            ASSERT_TRUE(memo.pack(&packed));
            EXPECT_EQ(getHandleSize(reinterpret_cast<char**>(*packed.cwall_compItems())), c.skins * 16);
            EXPECT_EQ(getHandleSize(reinterpret_cast<char**>(*packed.cwall_compLItems())), c.lines * 32);
        }
    }
}

TEST(MemoPartsTest, ConstructionCoresOutsideAreNotTaken) {
    ConstructionOwner memo;
    EXPECT_FALSE(memo.pack(nullptr)); // nothing loaded: not valid
    AttributeMemoStore store;
    *store.cwall_compItems() = handleOf<API_CWallComponent>(2);
    *store.cwall_compLItems() = handleOf<API_CWallLineComponent>(3);
    ASSERT_TRUE(memo.unpack(store));
    std::unique_ptr<ConstructionMemo::Core> outside(new ConstructionMemo::Core);
    EXPECT_FALSE(memo.setCore(outside.get(), 2));
    EXPECT_FALSE(memo.setCore(outside.get(), -1));
    auto* inside = new ConstructionMemo::Core;
    inside->getRecord().buildingMaterial = 9;
    EXPECT_TRUE(memo.setCore(inside, 1));
    EXPECT_EQ(memo.getCore(1), inside);
    EXPECT_TRUE(memo.setCore(inside, 1)); // the same core stays
    EXPECT_EQ(memo.getCore(2), nullptr);
    EXPECT_EQ(memo.getEdge(3), nullptr);
    ConstructionOwner copy(memo);
    EXPECT_EQ(copy.getCore(1)->getRecord().buildingMaterial, 9);
    EXPECT_NE(copy.getCore(1), inside);
    EXPECT_THROW(ElementMemoStore().cwall_compItems(), std::bad_alloc);
}

TEST(MemoPartsTest, SectionLinesRoundTripAndRefuseShortBlocks) {
    SectionOwner source;
    auto* line = new CadPolygon(0, 0, false);
    line->push_back(new PolyPoint(CadPoint(0, 0), 0, 0));
    line->push_back(new PolyPoint(CadPoint(5, 0), 0, 0));
    line->push_back(new PolyPoint(CadPoint(5, 3), 0, 0));
    line->setClosed(false);
    source.setPolygon(line);
    ElementMemoStore store;
    ASSERT_TRUE(source.pack(&store));
    EXPECT_EQ(getPtrSize(reinterpret_cast<char*>(store.getTarget()->sectionLineCoords)), 3 * 16);
    API_Polygon description;
    source.fillDescription(description);
    EXPECT_EQ(description.nCoords, 3);
    EXPECT_EQ(description.nSubPolys, 1);
    EXPECT_EQ(description.nArcs, 0);
    ASSERT_TRUE(source.pack(&store)); // packing again replaces the block

    struct Case {
        const char* name;
        int coords;
        bool unpacks;
    };
    const Case cases[] = {{"as packed", 3, true},
                          {"fewer", 2, true},
                          {"one", 1, false},
                          {"more than held", 4, false},
                          {"negative", -3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SectionOwner target;
        target.description.nCoords = c.coords;
        EXPECT_EQ(target.unpack(store), c.unpacks);
        if (c.unpacks) {
            ASSERT_NE(target.getPolygon(), nullptr);
            EXPECT_EQ(target.getPolygon()->vertSize(), c.coords);
            EXPECT_FALSE(target.getPolygon()->isClosed());
            EXPECT_EQ((*target.getPolygon())[1]->x(), 5);
        } else {
            EXPECT_FALSE(target.isLoaded());
        }
    }
    sim::failNextAllocations(1);
    EXPECT_THROW(source.pack(&store), std::bad_alloc);
    sim::failNextAllocations(0);
    EXPECT_NE(store.getTarget()->sectionLineCoords, nullptr); // the old block stays

    SectionOwner noBlock;
    noBlock.description.nCoords = 3;
    EXPECT_FALSE(noBlock.unpack(ElementMemoStore()));
}
