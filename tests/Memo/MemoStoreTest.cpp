#include "Environment/Memory.h"
#include "Memo/ElementMemoStore.h"
#include "Memo/Memo.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <new>

using namespace zelvane;

namespace {

// A memo part whose owner answers from a record the test prepares, counting the fetches.
class CountingMemo : public Memo {
public:
    bool isValid() const override { return m_valid; }
    void getMemo(UInt64 mask, MemoStore*& store) const override {
        ++fetches;
        lastMask = mask;
        if (!stored) {
            setLoaded(true); // nothing to read
            return;
        }
        store = new ElementMemoStore();
        unpack(*store);
    }
    bool pack(MemoStore*) const override { return true; }
    bool unpack(const MemoStore&) const override {
        setLoaded(unpackResult);
        return unpackResult;
    }
    UInt64 getFilter() const override { return 1; }

    bool m_valid = true;
    bool stored = true;
    bool unpackResult = true;
    mutable int fetches = 0;
    mutable UInt64 lastMask = 0;
};

char** handleOf(int size) {
    return allocateHandle(size);
}

} // namespace

TEST(MemoStoreTest, ConfirmLoadFetchesOnceAndFreesTheStore) {
    struct Case {
        const char* name;
        bool valid;
        bool stored;
        bool unpackResult;
        bool expected;
        int fetchesAfterTwo;
    };
    const Case cases[] = {
        {"stored and valid", true, true, true, true, 1},
        {"unpack fails", true, true, false, false, 2},
        {"not valid after load", false, true, true, false, 2},
        {"not stored", true, false, true, true, 1},
        {"not stored, not valid", false, false, true, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CountingMemo memo;
        memo.m_valid = c.valid;
        memo.stored = c.stored;
        memo.unpackResult = c.unpackResult;
        EXPECT_FALSE(memo.isLoaded());
        EXPECT_EQ(memo.confirmLoad(0x180), c.expected);
        EXPECT_EQ(memo.confirmLoad(0x180), c.expected);
        EXPECT_EQ(memo.fetches, c.fetchesAfterTwo);
        EXPECT_EQ(memo.lastMask, 0x180u);
        EXPECT_EQ(sim::memoryStats().livePointers, 0u);
    }
}

TEST(MemoStoreTest, CopiesKeepTheLoadedFlag) {
    CountingMemo memo;
    memo.setLoaded(true);
    CountingMemo copy(memo);
    EXPECT_TRUE(copy.isLoaded());
    CountingMemo other;
    copy = other;
    EXPECT_FALSE(copy.isLoaded());
}

TEST(MemoStoreTest, StoreDisposesItsRecordUnlessKept) {
    struct Case {
        const char* name;
        bool lend;
        bool keep;
        std::size_t liveHandles;
    };
    const Case cases[] = {
        {"own record", false, false, 0},
        {"own record kept", false, true, 3},
        {"lent record", true, false, 0},
        {"lent record kept", true, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        API_ElementMemo* lent = c.lend ? ElementMemoStore::makeRecord() : nullptr;
        API_ElementMemo* record = nullptr;
        {
            ElementMemoStore store(lent);
            EXPECT_FALSE(store.isKeep());
            record = store.getTarget();
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(store.getSource(), record);
            if (c.lend) {
                EXPECT_EQ(record, lent);
            }
            *store.coords() = reinterpret_cast<API_Coord**>(handleOf(32));
            *store.gables() = reinterpret_cast<API_Gable**>(handleOf(96));
            *store.paragraphs() = reinterpret_cast<API_ParagraphType**>(handleOf(sizeof(API_ParagraphType)));
            (**store.paragraphs())->run = reinterpret_cast<API_RunType*>(allocatePtr(sizeof(API_RunType)));
            (**store.paragraphs())->eolPos = reinterpret_cast<Int32*>(allocatePtr(8));
            *store.sectionLineCoords() = reinterpret_cast<API_Coord*>(allocatePtr(32));
            store.cWSegContour(); // makes its plain block
            store.setKeep(c.keep);
        }
        sim::MemoryStats stats = sim::memoryStats();
        EXPECT_EQ(stats.liveHandles, c.liveHandles);
        // Kept: the record, its section line, contour, run and line-end blocks.
        EXPECT_EQ(stats.livePointers, c.keep ? 5u : 0u);
        if (c.keep) {
            ElementMemoStore::disposeRecord(record);
        }
        EXPECT_EQ(sim::memoryStats().liveHandles, 0u);
        EXPECT_EQ(sim::memoryStats().livePointers, 0u);
        EXPECT_EQ(sim::memoryStats().invalidFrees, 0u);
    }
}

TEST(MemoStoreTest, AccessorsReadTheSourceOrTheTarget) {
    API_ElementMemo* source = ElementMemoStore::makeRecord();
    source->coords = reinterpret_cast<API_Coord**>(handleOf(16));
    source->additionalPolyCoords = reinterpret_cast<API_Coord**>(handleOf(16));
    source->morphBody = handleOf(4);
    {
        ElementMemoStore store(nullptr, source);
        const ElementMemoStore& reader = store;
        EXPECT_NE(store.getTarget(), source);
        EXPECT_EQ(reader.coords(), source->coords);
        EXPECT_EQ(*store.coords(), nullptr); // written to the target
        // These kinds live in the target only.
        EXPECT_EQ(reader.additionalPolyCoords(), nullptr);
        EXPECT_EQ(reader.morphBody(), nullptr);
        *store.additionalPolyCoords() = reinterpret_cast<API_Coord**>(handleOf(16));
        EXPECT_EQ(reader.additionalPolyCoords(), store.getTarget()->additionalPolyCoords);
        EXPECT_EQ(reader.cWSegContour(), nullptr);
        char** contour = store.cWSegContour();
        EXPECT_EQ(getPtrSize(*contour), 56);
        EXPECT_EQ(store.cWSegContour(), contour); // made once
        EXPECT_EQ(store.shellShapes(), &store.getTarget()->shellShapes);
    }
    ElementMemoStore::disposeRecord(source);
}

TEST(MemoStoreTest, KindsTheRecordLacksThrow) {
    ElementMemoStore store;
    const MemoStore& reader = store;
    EXPECT_THROW(store.layer_statItems(), std::bad_alloc);
    EXPECT_THROW(reader.layer_statItems(), std::bad_alloc);
    EXPECT_THROW(store.cwall_compItems(), std::bad_alloc);
    EXPECT_THROW(reader.fill_lineLength(), std::bad_alloc);
    EXPECT_THROW(reader.ltype_dashItems(), std::bad_alloc);
}

TEST(MemoStoreTest, FailedRecordAllocationThrows) {
    sim::failNextAllocations(1);
    EXPECT_THROW(ElementMemoStore store, std::bad_alloc);
    EXPECT_EQ(sim::memoryStats().livePointers, 0u);
}

TEST(MemoStoreTest, DisposingANullRecordIsRefused) {
    EXPECT_EQ(ACAPI_DisposeElemMemoHdls(nullptr), APIERR_BADPARS);
    API_ElementMemo empty;
    EXPECT_EQ(ACAPI_DisposeElemMemoHdls(&empty), NoError);
    EXPECT_EQ(sim::callCount("ACAPI_DisposeElemMemoHdls"), 2u);
}
