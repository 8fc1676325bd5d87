#include "Memo/ParameterMemo.h"
#include "Environment/Int32Setting.h"
#include "Environment/Memory.h"
#include "Library/IntegerParameter.h"
#include "Library/LengthParameter.h"
#include "Library/LongParameter.h"
#include "Memo/ElementMemoStore.h"
#include "Memo/ParameterListPopulator.h"
#include "sim/Library.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

namespace {

// A parameter memo whose owner reads the default parameters of a part of the simulated library.
class PartMemo : public ParameterMemo {
public:
    explicit PartMemo(Int32 index) : m_index(index) {}
    void getMemo(UInt64 mask, MemoStore*& store) const override {
        ++fetches;
        auto* memoStore = new ElementMemoStore();
        store = memoStore;
        ACAPI_LibPart_GetParams(m_index, nullptr, nullptr, nullptr, memoStore->params());
        if ((mask & parameterMask) != 0) {
            unpack(*store);
        }
    }
    Int32 m_index;
    mutable int fetches = 0;
};

class OtherMemo : public Memo {
public:
    bool isValid() const override { return true; }
    void getMemo(UInt64, MemoStore*&) const override {}
    bool pack(MemoStore*) const override { return true; }
    bool unpack(const MemoStore&) const override { return true; }
    UInt64 getFilter() const override { return 2; }
};

Int32 partWithParameters() {
    sim::LibPartDef def;
    def.name = "Part";
    def.parameters = {sim::scalarParameter(APIParT_Length, "A", 2.0),
                      sim::scalarParameter(APIParT_Integer, "n", 3),
                      sim::numberArray(APIParT_RealNum, "v", 2, 1, {1, 2})};
    return sim::addLibPart(def);
}

} // namespace

TEST(ParameterMemoTest, LoadsOnceThroughItsOwner) {
    PartMemo memo(partWithParameters());
    EXPECT_FALSE(memo.isLoaded());
    EXPECT_EQ(memo.sizeParameters(), 3u);
    EXPECT_EQ(memo.getParameterIndex("N"), 1u);
    ASSERT_NE(memo.getParameter("v"), nullptr);
    EXPECT_EQ(memo.fetches, 1);
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetParams"), 1u);

    PartMemo failing(partWithParameters());
    sim::failCall("ACAPI_LibPart_GetParams", APIERR_GENERAL);
    EXPECT_EQ(failing.sizeParameters(), 0u); // no handle: an empty list
}

TEST(ParameterMemoTest, PacksTheLoadedListAndLeavesAnEmptyOneAlone) {
    PartMemo memo(partWithParameters());
    ElementMemoStore store;
    ASSERT_TRUE(memo.pack(&store));
    EXPECT_EQ(memo.fetches, 1); // packing loads first
    ParameterListPopulator populator;
    ParameterList copy;
    ASSERT_TRUE(populator.populate(copy, store));
    ASSERT_EQ(copy.size(), 3u);
    EXPECT_EQ(copy.getParameter(2)->getValueText(1, 0), "2");

    ParameterList target;
    target.addParameter(new IntegerParameter("n", "", short(0)));
    target.addParameter(new LengthParameter("A", "", 9.0));
    ASSERT_TRUE(populator.copyTo(target, store, true, true, true));
    EXPECT_EQ(target.getParameter(0)->getValueText(), "3");
    EXPECT_EQ(target.getParameter(1)->getValueText(), "9");

    ElementMemoStore untouched;
    ParameterListPopulator empty;
    empty.setLoaded(true);
    EXPECT_TRUE(empty.pack(&untouched));
    EXPECT_EQ(static_cast<const ElementMemoStore&>(untouched).params(), nullptr);

    // A store whose records cannot be read fails and leaves the target alone.
    ElementMemoStore broken;
    API_AddParType record{};
    record.typeID = 99;
    *broken.params() = reinterpret_cast<API_AddParType**>(allocateHandle(int(sizeof record)));
    ***broken.params() = record;
    EXPECT_FALSE(populator.populate(target, broken));
    EXPECT_FALSE(populator.isLoaded());
    EXPECT_EQ(target.size(), 2u);
}

TEST(ParameterMemoTest, DeltasAndCopiesBetweenMemos) {
    PartMemo base(partWithParameters());
    PartMemo changed(partWithParameters());
    PartMemo target(partWithParameters());
    changed.getParameter("n")->setValueText("8");
    target.applyDelta(changed, base);
    EXPECT_EQ(target.getParameter("n")->getValueText(), "8");

    OtherMemo other;
    target.getParameter("n")->setValueText("1");
    target.applyDelta(other, base);
    EXPECT_EQ(target.getParameter("n")->getValueText(), "1");

    PartMemo copy(partWithParameters());
    copy.copyParameterFrom(changed, "v", ParameterList::npos, ParameterList::npos);
    copy.copyParametersFrom(changed, true, true, true);
    EXPECT_EQ(copy.getParameter("n")->getValueText(), "8");

    ParameterList replacement;
    replacement.addParameter(new LongParameter("only", "", 5));
    PartMemo set(partWithParameters());
    set.setParameterList(replacement);
    EXPECT_EQ(set.sizeParameters(), 1u);
    EXPECT_EQ(set.fetches, 0);
}

TEST(ParameterMemoTest, SettingsAndCopiesFromAnotherMemoDoNotLoad) {
    PartMemo fresh(partWithParameters());
    EXPECT_EQ(std::unique_ptr<Setting>(fresh.getSetting("n")), nullptr); // nothing held yet
    EXPECT_FALSE(fresh.setSetting(Int32Setting(4), "n"));
    EXPECT_EQ(fresh.fetches, 0);
    EXPECT_FALSE(fresh.isLoaded());

    // Once loaded, they read and write what the memo holds.
    EXPECT_EQ(fresh.sizeParameters(), 3u);
    EXPECT_TRUE(fresh.setSetting(Int32Setting(4), "N"));
    std::unique_ptr<Setting> cell(fresh.getSetting("n"));
    ASSERT_NE(cell, nullptr);
    int value = 0;
    cell->getValue(value);
    EXPECT_EQ(value, 4);
    EXPECT_EQ(fresh.fetches, 1);

    // Copying from another memo takes its list as it stands, without loading it.
    PartMemo unloaded(partWithParameters());
    PartMemo target(partWithParameters());
    target.copyParametersFrom(unloaded, false, true, true);
    EXPECT_EQ(unloaded.fetches, 0);
    EXPECT_EQ(target.fetches, 1); // the target loads first
    EXPECT_EQ(target.getParameter("n")->getValueText(), "3");
    target.copyParametersFrom(fresh, false, true, true);
    EXPECT_EQ(target.getParameter("n")->getValueText(), "4");
    EXPECT_EQ(fresh.fetches, 1);
}
