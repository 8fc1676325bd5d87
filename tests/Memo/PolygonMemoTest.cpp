#include "Memo/PolygonMemo.h"
#include "Environment/Memory.h"
#include "Memo/ElementMemoStore.h"
#include "Memo/PolygonConstructor.h"
#include "PackTwice.h"
#include "StarvedPack.h"
#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace zelvane;

namespace {

struct Vertex {
    double x;
    double y;
    double z;
    double sweep;
};
using Contour = std::vector<Vertex>;

CadPolygon* makePolygon(const std::vector<Contour>& contours) {
    auto* polygon = new CadPolygon(0, 0, true);
    for (std::size_t k = 0; k < contours.size(); ++k) {
        CadPolygon* target = k == 0 ? polygon : polygon->addHole(new CadPolygon(0, 0, true));
        for (const Vertex& v : contours[k]) {
            target->push_back(new PolyPoint(CadPoint(v.x, v.y, v.z), v.sweep, 0));
        }
    }
    polygon->renumber(false);
    return polygon;
}

// An element of the tests' own: its description and memo record stand for what the host holds.
class Owner : public PolygonMemo {
public:
    void getMemo(UInt64 mask, MemoStore*& store) const override {
        ++fetches;
        if (!stored) {
            if (mask & getFilter()) {
                setLoaded(true);
            }
            return;
        }
        if (store == nullptr) {
            store = new ElementMemoStore(nullptr, &host);
        }
        if (mask & getFilter()) {
            unpack(*store);
        }
    }
    const API_Polygon& getPolyData(const MemoStore&) const override { return description; }
    API_Polygon& getPolyStorage(MemoStore*) const override { return description; }

    bool stored = false;
    mutable API_Polygon description;
    API_ElementMemo host;
    mutable int fetches = 0;
};

template <typename T>
T** handleWith(const std::vector<T>& items) {
    char** h = allocateHandle(int(items.size() * sizeof(T)));
    if (!items.empty()) {
        copyMemory(*h, items.data(), int(items.size() * sizeof(T)));
    }
    return reinterpret_cast<T**>(h);
}

template <typename T>
std::vector<T> itemsOf(T** handle) {
    int n = getHandleSize(reinterpret_cast<char**>(handle)) / int(sizeof(T));
    return std::vector<T>(*handle, *handle + n);
}

const Contour square{{0, 0, 1, 0}, {4, 0, 2, 0}, {4, 4, 3, 0.5}, {0, 4, 4, 0}};
const Contour hole{{1, 1, 0, 0}, {1, 2, 0, 0}, {2, 2, 0, 0}};
const Contour tinyArc{{0, 0, 0, 1e-6}, {4, 0, 0, 0}, {4, 4, 0, -1e-5}, {0, 4, 0, 0}};
const Contour closingArc{{0, 0, 0, 0.3}, {4, 0, 0, 0}, {4, 4, 0, 0}, {0, 4, 0, 0}};

} // namespace

TEST(PolygonMemoTest, PacksAndUnpacksRotatingEachContourByOne) {
    struct Case {
        const char* name;
        std::vector<Contour> contours;
        int coords;
        int arcs;
    };
    const Case cases[] = {
        {"square", {square}, 5, 1},
        {"square with a hole", {square, hole}, 9, 1},
        {"square with two holes", {square, hole, hole}, 13, 1},
        {"arcs within tolerance", {tinyArc}, 5, 0},
        {"arc on the closing edge", {closingArc}, 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Owner source;
        source.setPolygon(makePolygon(c.contours));
        ElementMemoStore store;
        char** heights = allocateHandle(8);
        *store.meshPolyZ() = reinterpret_cast<double**>(heights);
        ASSERT_TRUE(source.pack(&store));
        EXPECT_EQ(source.fetches, 0); // set by the program: no host read
        EXPECT_EQ(source.description.nCoords, c.coords);
        EXPECT_EQ(source.description.nSubPolys, int(c.contours.size()));
        EXPECT_EQ(source.description.nArcs, c.arcs);
        const API_ElementMemo& record = *store.getTarget();
        EXPECT_EQ(getHandleSize(reinterpret_cast<char**>(record.coords)),
                  int((c.coords + 1) * sizeof(API_Coord)));
        std::vector<Int32> ends = itemsOf(record.pends);
        ASSERT_EQ(ends.size(), c.contours.size() + 1);
        EXPECT_EQ(ends.back(), c.coords);
        EXPECT_EQ((*record.vertexIDs)[0], source.getPolygon()->getTopID());

        Owner target;
        target.description = source.description;
        ASSERT_TRUE(target.unpack(store));
        EXPECT_TRUE(target.isLoaded());
        EXPECT_TRUE(target.hasVertexIDs());
        const CadPolygon* back = target.getPolygon();
        ASSERT_NE(back, nullptr);
        ASSERT_EQ(back->getHoleCount() + 1, int(c.contours.size()));
        for (std::size_t k = 0; k < c.contours.size(); ++k) {
            const CadPolygon& original = source.getPolygon()->getShape(int(k));
            const CadPolygon& contour = back->getShape(int(k));
            ASSERT_EQ(contour.vertSize(), original.vertSize());
            for (int i = 0; i < contour.vertSize(); ++i) {
                const PolyPoint& was = original[(i + 1) % original.vertSize()];
                EXPECT_EQ(contour[i].x(), was.x());
                EXPECT_EQ(contour[i].y(), was.y());
                EXPECT_EQ(contour[i].z(), was.z());
                EXPECT_EQ(contour[i].getID(), was.getID());
                EXPECT_EQ(contour[i].getSweep(), std::fabs(was.getSweep()) > 1e-5 ? was.getSweep() : 0.0);
            }
        }
        EXPECT_EQ(back->getTopID(), source.getPolygon()->getTopID());
    }
}

TEST(PolygonMemoTest, LoadsLazilyOnceFromTheOwner) {
    Owner unstored;
    EXPECT_FALSE(unstored.confirmLoad(1)); // nothing to read: loaded, but no polygon
    EXPECT_TRUE(unstored.isLoaded());
    EXPECT_EQ(unstored.getPolygon(), nullptr);
    EXPECT_FALSE(unstored.pack(nullptr));

    Owner source;
    source.setPolygon(makePolygon({square}));
    Owner owner;
    owner.stored = true;
    {
        ElementMemoStore store(&owner.host);
        store.setKeep(true);
        ASSERT_TRUE(source.pack(&store));
    }
    owner.description = source.description;
    ASSERT_NE(owner.getPolygon(), nullptr);
    ASSERT_NE(owner.getPolygon(), nullptr);
    EXPECT_EQ(owner.fetches, 1);
    EXPECT_EQ(owner.getPolygon()->vertSize(), 4);
    ACAPI_DisposeElemMemoHdls(&owner.host);
}

TEST(PolygonMemoTest, MalformedRecordsFailToUnpack) {
    // A valid packed square with a hole: 9 coordinates after the placeholder, 3 contour ends.
    Owner source;
    source.setPolygon(makePolygon({square, hole}));
    ElementMemoStore packed;
    *packed.meshPolyZ() = reinterpret_cast<double**>(allocateHandle(8));
    ASSERT_TRUE(source.pack(&packed));
    const API_ElementMemo& good = *packed.getTarget();
    auto coords = itemsOf(good.coords);
    auto ends = itemsOf(good.pends);
    auto arcs = itemsOf(good.parcs);
    auto ids = itemsOf(good.vertexIDs);
    auto heights = itemsOf(good.meshPolyZ);
    struct Case {
        const char* name;
        void (*spoil)(API_Polygon&, std::vector<API_Coord>&, std::vector<Int32>&, std::vector<API_PolyArc>&,
                      std::vector<UInt32>&, std::vector<double>&);
    };
    const Case cases[] = {
        {"contour end past the coordinates",
         [](API_Polygon&, auto&, auto& e, auto&, auto&, auto&) { e[2] = 40; }},
        {"contour ends shorter than the contours",
         [](API_Polygon&, auto&, auto& e, auto&, auto&, auto&) { e.pop_back(); }},
        {"more arcs than held", [](API_Polygon& d, auto&, auto&, auto&, auto&, auto&) { d.nArcs = 3; }},
        {"vertex IDs cut short", [](API_Polygon&, auto&, auto&, auto&, auto& i, auto&) { i.resize(4); }},
        {"heights cut short", [](API_Polygon&, auto&, auto&, auto&, auto&, auto& h) { h.resize(3); }},
        {"coordinates cut short", [](API_Polygon&, auto& c, auto&, auto&, auto&, auto&) { c.resize(6); }},
        {"empty contour", [](API_Polygon&, auto&, auto& e, auto&, auto&, auto&) { e[1] = 0; }},
        {"descending contour ends", [](API_Polygon&, auto&, auto& e, auto&, auto&, auto&) { e[2] = 2; }},
        {"no contours", [](API_Polygon& d, auto&, auto&, auto&, auto&, auto&) { d.nSubPolys = 0; }},
        {"negative counts", [](API_Polygon& d, auto&, auto&, auto&, auto&, auto&) { d.nSubPolys = -4; }},
        {"huge contour count",
         [](API_Polygon& d, auto&, auto&, auto&, auto&, auto&) { d.nSubPolys = 0x7FFFFFFF; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Owner owner;
        owner.description = source.description;
        auto co = coords;
        auto en = ends;
        auto ar = arcs;
        auto id = ids;
        auto he = heights;
        c.spoil(owner.description, co, en, ar, id, he);
        ElementMemoStore store;
        *store.coords() = handleWith(co);
        *store.pends() = handleWith(en);
        *store.parcs() = handleWith(ar);
        *store.vertexIDs() = handleWith(id);
        *store.meshPolyZ() = handleWith(he);
        EXPECT_FALSE(owner.unpack(store));
        EXPECT_FALSE(owner.isLoaded());
        EXPECT_FALSE(owner.isValid());
    }
}

TEST(PolygonMemoTest, RecordsWithoutIDsAreRenumbered) {
    Owner source;
    source.setPolygon(makePolygon({square}));
    ElementMemoStore store;
    ASSERT_TRUE(source.pack(&store));
    disposeHandle(reinterpret_cast<char***>(store.vertexIDs()));
    Owner owner;
    owner.description = source.description;
    ASSERT_TRUE(owner.unpack(store));
    EXPECT_FALSE(owner.hasVertexIDs());
    EXPECT_EQ(owner.getPolygon()->getTopID(), 4u);
    EXPECT_NE(owner.getPolygon()->getShape(0)[0]->getID(), 0u);
}

TEST(PolygonMemoTest, AllocationFailuresDuringPackLeaveNothingBehind) {
    Owner source;
    source.setPolygon(makePolygon({square, hole}));
    testing_memo::expectStarvedPackLeavesNothing(source, 8);
}

TEST(PolygonMemoTest, PackingTwiceReplacesTheFirstBlocks) {
    Owner source;
    source.setPolygon(makePolygon({square, hole}));
    testing_memo::expectPackingTwiceReplacesTheBlocks(source);
    // A second polygon without arcs leaves no arc block of the first behind.
    ElementMemoStore store;
    ASSERT_TRUE(source.pack(&store));
    ASSERT_NE(store.getTarget()->parcs, nullptr);
    source.setPolygon(makePolygon({tinyArc}));
    ASSERT_TRUE(source.pack(&store));
    EXPECT_EQ(store.getTarget()->parcs, nullptr);
}

TEST(PolygonMemoTest, ConstructorLeavesTheCallersHandles) {
    Owner source;
    source.setPolygon(makePolygon({closingArc, hole}));
    ElementMemoStore store;
    ASSERT_TRUE(source.pack(&store));
    API_ElementMemo& record = *store.getTarget();
    PolygonConstructor constructor;
    std::unique_ptr<CadPolygon> made(
        constructor.make(source.description, record.coords, record.pends, record.parcs));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getHoleCount(), 1);
    EXPECT_EQ(made->getArcCount(false), 1);
    EXPECT_EQ(constructor.getPolygon(), nullptr); // given away
    EXPECT_TRUE(sim::isLiveHandle(record.coords));
    EXPECT_TRUE(sim::isLiveHandle(record.pends));
    API_Polygon wrong = source.description;
    wrong.nSubPolys = 5;
    EXPECT_EQ(constructor.make(wrong, record.coords, record.pends, record.parcs), nullptr);
    EXPECT_EQ(constructor.make(source.description, nullptr, record.pends, nullptr), nullptr);
    EXPECT_TRUE(sim::isLiveHandle(record.parcs));
}
