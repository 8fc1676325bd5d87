#include "Environment/Memory.h"
#include "Library/ComponentDefaults.h"
#include "Library/LengthParameter.h"
#include "Library/Library.h"
#include "Library/LongParameter.h"
#include "Library/ParameterLinkList.h"
#include "Library/RealParameter.h"
#include "Memo/ComponentParameterMemo.h"
#include "Memo/ComponentResourceMemo.h"
#include "Memo/ElementMemoStore.h"
#include "sim/Library.h"
#include "sim/Memory.h"
#include "sim/ParameterScript.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <string>

using namespace zelvane;

namespace {

// A part of the simulated library seen through both memos, as a library-part source carries them.
class Component : public ComponentParameterMemo, public ComponentResourceMemo {
public:
    Component(const Library& library, Int32 index) : m_link(index, APILib_ObjectID, &library) {
        m_record.index = index;
    }
    ComponentLink getSourceLink() const override { return m_link; }
    bool makeDefaultComponent() override { return ++madeDefault > 0; }
    void getOwnerInfo(API_ParamOwnerType& owner, bool& defaults) const override {
        defaults = true;
        owner.libInd = m_link.getIndex();
    }
    void getMemo(UInt64 mask, MemoStore*& store) const override {
        if (store == nullptr) {
            store = new ElementMemoStore();
            loadLibraryMemo(*store, false);
        }
        if ((mask & parameterMask) != 0) {
            unpack(*store);
        }
    }
    Int32 getResourceIndex() const override { return m_link.getIndex(); }
    double getResourceWidth() const override { return 1.0; }
    double getResourceDepth() const override { return 2.0; }
    const API_LibPart& getResourceData() const override { return m_record; }

    std::string text(const char* name, std::size_t row = 0, std::size_t column = 0) const {
        return getParameter(String(name))->getValueText(row, column).data();
    }

    ComponentLink m_link;
    API_LibPart m_record{};
    int madeDefault = 0;
};

Int32 addPart() {
    sim::LibPartDef def;
    def.name = "Table";
    def.a = 0.8;
    def.b = 1.6;
    def.parameters = {sim::scalarParameter(APIParT_Length, "A", 0.8),
                      sim::scalarParameter(APIParT_Length, "ZZYZX", 0.7),
                      sim::scalarParameter(APIParT_Integer, "legs", 4),
                      sim::numberArray(APIParT_RealNum, "grid", 3, 2, {1, 2, 3, 4, 5, 6}),
                      sim::scalarParameter(APIParT_Title, "Look", 0)};
    def.sections = {{MakeGSType("3DSC"), "BLOCK A, B, ZZYZX"},
                    {MakeGSType("VLSC"), "VALUES \"legs\" 3, 4"},
                    {MakeGSType("GIFF"), std::string("image/png\0data", 14)}};
    return sim::addLibPart(def);
}

} // namespace

TEST(ComponentMemoTest, OneHostReadPerLoadAndSizes) {
    Library library(nullptr, 0);
    Component part(library, addPart());
    EXPECT_EQ(part.sizeParameters(), 5u);
    EXPECT_DOUBLE_EQ(part.getSourceWidth(), 0.8);
    EXPECT_DOUBLE_EQ(part.getSourceDepth(), 1.6);
    EXPECT_DOUBLE_EQ(part.getAxialHeight(), 0.7);
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetParams"), 1u);

    part.setAxialWidth(2.5);
    part.setAxialDepth(9.0); // no "B": nothing
    EXPECT_DOUBLE_EQ(part.getAxialWidth(), 2.5);
    EXPECT_DOUBLE_EQ(part.getAxialDepth(), 0.0);
    part.addParameter(new LengthParameter("b", "", 3.0));
    EXPECT_DOUBLE_EQ(part.getAxialDepth(), 3.0); // letter case aside
    // Once the defaults were had, sizes are read and written with no host allocation.
    std::size_t allocations = sim::memoryStats().allocations;
    part.setAxialDepth(4.0);
    EXPECT_DOUBLE_EQ(part.getAxialDepth() + part.getSourceWidth() + part.getSourceDepth(), 4.0 + 0.8 + 1.6);
    EXPECT_EQ(sim::memoryStats().allocations, allocations);
    part.deleteParameter(part.getParameterIndex(String("b")));
    // A size name on a parameter of another kind is no size: not read, not written.
    part.addParameter(new RealParameter("B", "", 5.0));
    part.setAxialDepth(6.0);
    EXPECT_DOUBLE_EQ(part.getAxialDepth(), 0.0);
    const auto* other = static_cast<const RealParameter*>(part.getParameter(String("B")));
    EXPECT_DOUBLE_EQ(other->getValue(0, 0), 5.0);
    part.deleteParameter(part.getParameterIndex(String("B")));
    part.getParameter(String("legs"))->setValueText("3");
    part.setAxialHeight(1.0);
    EXPECT_DOUBLE_EQ(part.getAxialHeight(), 1.0);

    Component copy(library, part.getSourceLink().getIndex());
    copy.copyParametersFrom(static_cast<const ParameterMemo&>(part), false, true, true);
    EXPECT_DOUBLE_EQ(copy.getAxialWidth(), 2.5);
    EXPECT_EQ(copy.text("legs"), "3");

    Component missing(library, 99);
    EXPECT_EQ(missing.getSourceWidth(), 0.0);
    EXPECT_EQ(missing.sizeParameters(), 0u);
}

TEST(ComponentMemoTest, ReloadKeepsValuesAndAFailedFetchChangesNothing) {
    Library library(nullptr, 0);
    Int32 index = addPart();
    Component part(library, index);
    EXPECT_TRUE(part.reload(false, false, false));
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetParams"), 0u);

    part.getParameter(String("legs"))->setValueText("6");
    sim::libPart(index)->parameters[2].record.value.real = 5; // the part's default changes
    sim::libPart(index)->parameters.push_back(sim::scalarParameter(APIParT_Integer, "new", 1));
    EXPECT_TRUE(part.reload(true, true, false));
    EXPECT_EQ(part.text("legs"), "6"); // the element's value laid over the new defaults
    EXPECT_EQ(part.text("new"), "1");

    sim::failCall("ACAPI_LibPart_GetParams", APIERR_GENERAL);
    EXPECT_FALSE(part.reload(true, true, false));
    EXPECT_EQ(part.text("legs"), "6");
    EXPECT_EQ(part.sizeParameters(), 6u);

    EXPECT_TRUE(part.reload(true, true, true)); // the defaults laid over the values
    EXPECT_EQ(part.text("legs"), "5");

    // A memo never loaded keeps the values it stands for.
    Component fresh(library, index);
    sim::libPart(index)->parameters[2].record.value.real = 8;
    EXPECT_TRUE(fresh.reload(false, true, false));
    EXPECT_EQ(fresh.text("legs"), "8");
}

TEST(ComponentMemoTest, DefaultsFetchedOnceAreReadOnceAndTakenAsTheRecordsAre) {
    Library library(nullptr, 0);
    Int32 index = addPart();
    ComponentDefaults defaults;
    ASSERT_TRUE(defaults.fetch(ComponentLink(index, APILib_ObjectID, &library)));
    ASSERT_NE(defaults.getParameters(), nullptr);
    EXPECT_EQ(defaults.getParameters()->size(), 5u);

    for (bool refetch : {false, true}) {
        for (bool keepCurrent : {false, true}) {
            Component byRecords(library, index), byDefaults(library, index);
            for (Component* part : {&byRecords, &byDefaults}) {
                part->getParameter(String("legs"))->setValueText("6");
                part->setAxialWidth(2.5);
                part->deleteParameter(part->getParameterIndex(String("grid")));
            }
            std::size_t fetches = sim::callCount("ACAPI_LibPart_GetParams");
            ASSERT_TRUE(byRecords.reload(refetch, true, keepCurrent));
            EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetParams"), fetches + 1);
            ASSERT_TRUE(byDefaults.reload(defaults, refetch, true, keepCurrent));
            EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetParams"), fetches + 1); // not asked again
            ASSERT_EQ(byDefaults.sizeParameters(), byRecords.sizeParameters());
            for (std::size_t i = 0; i < byRecords.sizeParameters(); ++i) {
                const Parameter& mine = *byDefaults.getParameter(i);
                const Parameter& theirs = *byRecords.getParameter(i);
                EXPECT_TRUE(mine == theirs) << i;
                EXPECT_EQ(mine.getName(), theirs.getName());
                EXPECT_EQ(mine.getFlags(), theirs.getFlags());
                EXPECT_EQ(mine.getIndex(), theirs.getIndex());
            }
            EXPECT_EQ(byDefaults.text("legs"), keepCurrent ? "4" : "6");
        }
    }
    // The defaults' own list is read, never changed.
    EXPECT_EQ(defaults.getParameters()->getParameter(String("legs"))->getValueText(), "4");
    EXPECT_EQ(defaults.getParameters()->size(), 5u);
}

TEST(ComponentMemoTest, DefaultsThatCannotBeReadAreNotHeld) {
    Library library(nullptr, 0);
    Int32 index = addPart();
    for (int skip = 0; skip < 20; ++skip) {
        sim::MemoryStats before = sim::memoryStats();
        {
            ComponentDefaults defaults;
            sim::failNextAllocations(1, ErrMemoryFull, skip);
            bool fetched = false;
            EXPECT_NO_THROW(fetched = defaults.fetch(ComponentLink(index, APILib_ObjectID, &library)))
                << skip;
            sim::failNextAllocations(0);
            EXPECT_EQ(defaults.isFetched(), fetched) << skip;
            EXPECT_EQ(defaults.getParameters() != nullptr, fetched) << skip;
            if (fetched) {
                EXPECT_EQ(defaults.getParameters()->size(), 5u) << skip;
            }
            Component part(library, index);
            EXPECT_EQ(part.reload(defaults, false, true, false), fetched) << skip;
            EXPECT_EQ(part.sizeParameters(), 5u) << skip;
        }
        sim::MemoryStats after = sim::memoryStats();
        EXPECT_EQ(after.liveHandles + after.livePointers, before.liveHandles + before.livePointers) << skip;
    }
}

TEST(ComponentMemoTest, WriteParametersSendsCellsAndTakesTheResult) {
    Library library(nullptr, 0);
    Component part(library, addPart());
    sim::setParameterScript([](std::vector<sim::LibParameter>& parameters, double&, double&) {
        parameters[2].record.value.real = 12; // the script sets "legs"
    });
    ParameterLinkList links;
    links.push_back(new ParameterLink(String("grid")));
    links.push_back(new ParameterLink(String("absent")));
    links.push_back(new ParameterLink(String("Look")));
    ASSERT_TRUE(part.writeParameters(links, false, true));
    EXPECT_EQ(sim::parameterChanges().size(), 6u);
    EXPECT_EQ(sim::parameterChanges().back(), "grid[3,2]=6.000000");
    EXPECT_EQ(part.text("legs"), "12");
    EXPECT_EQ(part.madeDefault, 1);
    EXPECT_FALSE(sim::isParameterSessionOpen());
    EXPECT_TRUE(part.writeParameters(ParameterLinkList(), false, false));

    struct Case {
        const char* what;
        long long row;
        long long column;
        const char* fail;
        std::size_t changes;
        bool result;
    };
    const Case cases[] = {
        {"one cell", 1, 0, nullptr, 1, true},
        {"one column", ParameterLink::all, 1, nullptr, 3, true},
        {"row past the end", 3, 0, nullptr, 0, false},
        {"negative column", 0, -2, nullptr, 0, false},
        {"refused", ParameterLink::all, ParameterLink::all, "ACAPI_Goodies:CHGP", 5, false},
        {"open refused", 0, 0, "ACAPI_Goodies:OPAR", 5, false}, // the changes of the session before
        {"fetch refused", 0, 0, "ACAPI_Goodies:GPAR", 1, false},
        {"close refused", 0, 0, "ACAPI_Goodies:CPAR", 1, false},
    };
    for (const Case& c : cases) {
        sim::clearFaults();
        if (c.fail != nullptr) {
            sim::failCall(c.fail, APIERR_GENERAL);
        }
        ParameterLinkList one;
        one.push_back(new ParameterLink(String("grid"), c.row, c.column));
        EXPECT_EQ(part.writeParameters(one, false, false), c.result) << c.what;
        EXPECT_EQ(sim::parameterChanges().size(), c.changes) << c.what;
        EXPECT_EQ(part.getParameter(String("grid"))->getRowCount(), 3u) << c.what;
        if (std::string(c.what) != "close refused") {
            EXPECT_FALSE(sim::isParameterSessionOpen()) << c.what;
        }
    }
    EXPECT_EQ(sim::parameterSessionsLeftOpen(), 0);
}

TEST(ComponentMemoTest, SectionsLoadOnceAndOwnTheirHandles) {
    Library library(nullptr, 0);
    Component part(library, addPart());
    EXPECT_EQ(part.ComponentResourceMemo::size(), 4u); // 3DSC, GIFF, PARD, VLSC
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetSectionList"), 1u);
    GSHandle script = part.getSection(MakeGSType("3DSC"));
    ASSERT_NE(script, nullptr);
    EXPECT_STREQ(*script, "BLOCK A, B, ZZYZX");
    EXPECT_EQ(part.getSection(MakeGSType("2DSC")), nullptr);
    EXPECT_FALSE(part.eraseSection(MakeGSType("2DSC")));
    EXPECT_TRUE(part.isLoaded()); // the parameter section marks the parameters loaded

    GSHandle parameters = part.getSection(MakeGSType("PARD"));
    ASSERT_NE(parameters, nullptr);
    auto records = reinterpret_cast<API_AddParType**>(parameters);
    EXPECT_EQ(getHandleSize(parameters), int(5 * sizeof(API_AddParType)));
    ACAPI_DisposeAddParHdl(&records);

    UInt32 type = 0;
    GSHandle definition = part.getSection(2, type);
    EXPECT_EQ(type, MakeGSType("PARD"));
    ASSERT_NE(definition, nullptr);
    disposeHandle(&definition);
    EXPECT_EQ(part.getSection(4, type), nullptr);

    part.applySection(MakeGSType("3DSC"), script); // the same handle: kept, not freed
    EXPECT_TRUE(sim::isLiveHandle(script));
    Component copy(part);
    EXPECT_NE(copy.getSection(MakeGSType("3DSC")), script);
    part.setSection(MakeGSType("3DSC"), nullptr);
    EXPECT_EQ(part.getSection(MakeGSType("3DSC")), nullptr);
    EXPECT_STREQ(*copy.getSection(MakeGSType("3DSC")), "BLOCK A, B, ZZYZX");

    // A missing section is skipped; any other error stops the reading.
    Component absent(library, part.getSourceLink().getIndex());
    sim::failCall("ACAPI_LibPart_GetSection", APIERR_NOLIBSECT);
    EXPECT_TRUE(absent.loadSections());
    EXPECT_EQ(absent.getSection(MakeGSType("3DSC")), nullptr);
    Component failing(library, part.getSourceLink().getIndex());
    sim::failCall("ACAPI_LibPart_GetSection", APIERR_GENERAL, 1, 1);
    EXPECT_FALSE(failing.loadSections());
    for (int skip = 0; skip < 6; ++skip) {
        Component starved(library, part.getSourceLink().getIndex());
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        try {
            starved.loadSections();
        } catch (const std::bad_alloc&) {
        }
        sim::failNextAllocations(0);
    }
    EXPECT_FALSE(Component(library, 0).loadSections());
}

TEST(ComponentMemoTest, AllocationFailuresLoseNothing) {
    Library library(nullptr, 0);
    Int32 index = addPart();
    for (int skip = 0; skip < 30; ++skip) {
        sim::MemoryStats before = sim::memoryStats();
        {
            Component part(library, index);
            part.sizeParameters();
            sim::failNextAllocations(1, ErrMemoryFull, skip);
            try {
                ParameterLinkList links;
                links.push_back(new ParameterLink(String("grid")));
                part.writeParameters(links, false, false);
                part.reload(true, true, false);
            } catch (const std::bad_alloc&) {
            }
            sim::failNextAllocations(0);
            EXPECT_FALSE(sim::isParameterSessionOpen()) << skip;
            // Whatever failed, the values stay whole.
            EXPECT_EQ(part.getParameter(String("grid"))->getRowCount(), 3u) << skip;
        }
        sim::MemoryStats after = sim::memoryStats();
        EXPECT_EQ(after.liveHandles + after.livePointers, before.liveHandles + before.livePointers) << skip;
    }
}
