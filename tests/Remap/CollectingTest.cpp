#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Door.h"
#include "Element/Lamp.h"
#include "Element/Window.h"
#include "Interface/ProgressWindow.h"
#include "Library/Library.h"
#include "Memo/ElementMemoStore.h"
#include "PlanRemapFixture.h"
#include "Remap/ObjectMapTransaction.h"
#include "Remap/RemappingPrefs.h"
#include "sim/Attributes.h"
#include "sim/ComponentRequests.h"
#include "sim/Dialogs.h"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/IFC.h"
#include "sim/Library.h"
#include "sim/Project.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace zelvane;
using zelvane::remap::ObjectMap;
using zelvane::remap::ObjectMapTransaction;

namespace {

API_IFCProperty nameProperty(const char* text, Int32 kind = API_IFCPropertySingleValueType) {
    API_IFCProperty record;
    record.head.propertyType = kind;
    record.head.propertyName = GS::UniString("Name");
    record.head.propertySetName = GS::UniString("AC_Pset_Name");
    record.singleValue.valueType = GS::UniString("IfcLabel");
    record.singleValue.primitiveType = 4;
    record.singleValue.stringValue = GS::UniString(text);
    return record;
}

class CollectingTest : public remap_test::PlanRemapTest {
protected:
    void SetUp() override {
        PlanRemapTest::SetUp();
        host.getProject()->setPreference(remap::RemappingPrefs(), false);
    }

    static Int32 addPart(const std::string& name, API_LibTypeID type = APILib_ObjectID,
                         bool missing = false) {
        sim::LibPartDef def;
        def.type = type;
        def.name = name;
        def.missing = missing;
        def.parameters = {sim::scalarParameter(APIParT_Length, "A", 1.0)};
        return sim::addLibPart(def);
    }
    static void storeParameters(const GS::Guid& guid, const std::vector<sim::LibParameter>& parameters) {
        ElementMemoStore store;
        ASSERT_EQ(sim::writeParameterRecords(parameters, store.params()), NoError);
        ASSERT_EQ(sim::storeMemo(guid, store.getTarget(), APIMemoMask_AddPars), NoError);
    }
    static GS::Guid place(API_ElemTypeID type, Int32 part) {
        API_Element record;
        record.header.typeID = type;
        if (type == API_DoorID) {
            record.door.openingBase.libInd = part;
        } else if (type == API_WindowID) {
            record.window.openingBase.libInd = part;
        } else if (type == API_LampID) {
            record.lamp.libInd = part;
        } else {
            record.object.libInd = part;
        }
        return sim::addElement(record);
    }
    // The collected keys (part type and source name) with their element counts, in map order.
    static std::vector<std::string> keysOf(ObjectMapTransaction& transaction) {
        std::vector<std::string> keys;
        for (const auto& [key, links] : transaction.getElementMap()) {
            keys.push_back(std::to_string(key.first) + ":" + key.second.data() + "x" +
                           std::to_string(links.size()));
        }
        return keys;
    }
    std::vector<std::string> collect(ObjectMap::Type kind) {
        ObjectMapTransaction transaction(kind);
        auto progress = ProgressWindow::create("collecting", 3);
        EXPECT_TRUE(transaction.collect(*plan, *progress));
        return keysOf(transaction);
    }
};

} // namespace

TEST(LegacyName, TakesTheVersionSuffixOff) {
    struct Case {
        const char* partName;
        bool qualifies;
        const char* name;
    } cases[] = {
        {"Chair 15", true, "Chair"},
        {"Chair 45", true, "Chair"},
        {"Chair 40", true, "Chair"}, // from 40 up, the version's tenths: 4.0
        {"Chair 39", false, ""},     // version 39 is not older than this host's
        {"Chair 8", true, "Chair"},
        {"Chair 20", true, "Chair"},
        {"Chair 99", true, "Chair"},
        {"Chair  12", true, "Chair"},
        {"Chair12", true, "Chair"},
        {" Chair\t12", true, " Chair"},
        {"Chair 012", true, "Chair"},
        {"Chair 21", false, ""},
        {"Chair 7", false, ""},
        {"Chair 120", false, ""},
        {"1215", false, ""},
        {"Chair", false, ""},
        {"Chair 4294967311", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        String name("unchanged");
        EXPECT_EQ(ObjectMapTransaction::getLegacyName(String(c.partName), name), c.qualifies) << c.partName;
        if (c.qualifies) {
            EXPECT_STREQ(name.data(), c.name) << c.partName;
        }
    }
}

TEST_F(CollectingTest, EachKindCollectsOnlyItsElements) {
    Int32 chair = addPart("Chair");
    Int32 oldChair = addPart("Chair 15");
    Int32 lost = addPart("Lost Table", APILib_ObjectID, true);
    Int32 drawn = addPart("Sofa");
    place(API_ObjectID, chair);
    place(API_ObjectID, oldChair);
    place(API_ObjectID, lost);
    GS::Guid drawnGuid = place(API_ObjectID, drawn);
    storeParameters(drawnGuid, {sim::textParameter("Derived_from_AutoCad", "1")});
    // The parameter must be text to count.
    storeParameters(place(API_ObjectID, addPart("Rug")),
                    {sim::scalarParameter(APIParT_Length, "Derived_from_AutoCad", 1.0)});
    GS::Guid unloaded = place(API_ObjectID, 999);
    sim::setUnloadedPartName(unloaded, "Gone Bench");
    GS::Guid named = place(API_ObjectID, chair);
    sim::IFCItems items;
    items.properties = {nameProperty("IfcChair")};
    sim::setStoredIFC(named, items);
    GS::Guid blank = place(API_ObjectID, chair);
    items.properties = {nameProperty("")};
    sim::setStoredIFC(blank, items);
    // A list value is no name, even holding one text.
    API_IFCProperty list = nameProperty("IfcListed", API_IFCPropertyListValueType);
    list.listValues.Push(list.singleValue);
    items.properties = {list};
    sim::setStoredIFC(place(API_ObjectID, chair), items);

    const std::string object = std::to_string(APILib_ObjectID) + ":";
    struct Case {
        ObjectMap::Type kind;
        std::vector<std::string> keys;
    } cases[] = {
        {ObjectMap::IFC, {object + "IfcChairx1"}},
        {ObjectMap::DWG, {object + "Sofax1"}},
        {ObjectMap::GSM, {object + "Chairx4", object + "Chair 15x1", object + "Rugx1", object + "Sofax1"}},
        {ObjectMap::missing, {object + "Gone Benchx1", object + "Lost Tablex1"}},
        {ObjectMap::legacy, {object + "Chairx1"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(collect(c.kind), c.keys) << ObjectMap::typeName(c.kind);
    }
}

TEST_F(CollectingTest, KeysOrderByPartTypeThenNameAndKeepTheOrderMet) {
    Int32 window = addPart("Sash", APILib_WindowID);
    Int32 door = addPart("Panel", APILib_DoorID);
    Int32 lamp = addPart("Bulb", APILib_LampID);
    Int32 table = addPart("Table");
    Int32 chair = addPart("Chair");
    GS::Guid first = place(API_ObjectID, table);
    place(API_WindowID, window);
    place(API_LampID, lamp);
    place(API_DoorID, door);
    place(API_ObjectID, chair);
    GS::Guid second = place(API_ObjectID, table);

    ObjectMapTransaction transaction(ObjectMap::GSM);
    auto progress = ProgressWindow::create("collecting", 3);
    ASSERT_TRUE(transaction.collect(*plan, *progress));
    std::vector<std::string> expected;
    for (auto [type, name] : {std::pair{APILib_WindowID, "Sash"}, std::pair{APILib_DoorID, "Panel"},
                              std::pair{APILib_ObjectID, "Chair"}, std::pair{APILib_ObjectID, "Table"},
                              std::pair{APILib_LampID, "Bulb"}}) {
        expected.push_back(std::to_string(type) + ":" + name + (std::string(name) == "Table" ? "x2" : "x1"));
    }
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return std::stoi(a) != std::stoi(b) ? std::stoi(a) < std::stoi(b) : a < b;
    });
    EXPECT_EQ(keysOf(transaction), expected);
    const auto& tables = transaction.getElementMap()[ObjectMap::Key(APILib_ObjectID, "Table")];
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].getUniqueID(), Guid(first));
    EXPECT_EQ(tables[1].getUniqueID(), Guid(second));

    // A DWG run never walks doors, windows or lamps.
    EXPECT_TRUE(collect(ObjectMap::DWG).empty());
}

// Collecting only reads: no element it walks past is written back, whatever the kind.
TEST_F(CollectingTest, CollectingWritesNoElementBack) {
    Int32 chair = addPart("Chair");
    place(API_ObjectID, chair);
    place(API_ObjectID, chair);
    place(API_LampID, addPart("Bulb", APILib_LampID));
    for (ObjectMap::Type kind :
         {ObjectMap::IFC, ObjectMap::DWG, ObjectMap::GSM, ObjectMap::missing, ObjectMap::legacy}) {
        sim::clearCalls();
        collect(kind);
        EXPECT_EQ(sim::callCount("ACAPI_Element_Change"), 0u) << ObjectMap::typeName(kind);
        EXPECT_EQ(sim::callCount("ACAPI_Element_ChangeParameters"), 0u) << ObjectMap::typeName(kind);
    }
}

// The drawing is counted once for both passes, the listed elements are loaded without the host
// being asked again whether they pass the flags, and the project is asked about once.
TEST_F(CollectingTest, CollectingAsksTheHostNothingTwice) {
    Int32 chair = addPart("Chair");
    std::vector<GS::Guid> chairs;
    for (int i = 0; i < 3; ++i) {
        chairs.push_back(place(API_ObjectID, chair));
    }
    struct Case {
        const char* label;
        std::size_t selected;
        std::size_t lists;   // three counts, then a list of each kind of the whole drawing's pass
        std::size_t filters; // a selected element's flags are asked as it is listed
        std::size_t phases;
        std::size_t headers; // the whole drawing's elements are listed to be loaded, without them
    } cases[] = {
        {"nothing selected", 0, 7, 0, 2, 0},
        {"a chair selected", 1, 3, 1, 1, 1},
    };
    for (const Case& c : cases) {
        std::vector<API_Neig> neigs(c.selected);
        for (std::size_t i = 0; i < c.selected; ++i) {
            neigs[i].guid = chairs[i];
        }
        sim::setSelection(neigs);
        plan->reset();
        std::size_t events = sim::progressEvents().size();
        ObjectMapTransaction transaction(ObjectMap::GSM);
        auto progress = ProgressWindow::create("collecting", 3);
        sim::clearCalls();
        EXPECT_TRUE(transaction.collect(*plan, *progress));
        EXPECT_EQ(keysOf(transaction).size(), 1u) << c.label;
        EXPECT_EQ(sim::callCount("ACAPI_Element_GetElemList"), c.lists) << c.label;
        EXPECT_EQ(sim::callCount("ACAPI_Element_Filter"), c.filters) << c.label;
        EXPECT_EQ(sim::callCount("ACAPI_Element_GetHeader"), c.headers) << c.label;
        std::size_t projectQueries = 0;
        for (const sim::CallRecord& call : sim::calls()) {
            projectQueries += call.name == "ACAPI_Environment" && call.code == APIEnv_ProjectID ? 1 : 0;
        }
        EXPECT_LE(projectQueries, 1u) << c.label << ": the project is held open while collecting";
        std::size_t phases = 0;
        for (std::size_t i = events; i < sim::progressEvents().size(); ++i) {
            const sim::ProgressEvent& event = sim::progressEvents()[i];
            if (event.kind == sim::ProgressEvent::phase) {
                ++phases;
                EXPECT_EQ(event.value, 3) << c.label << ": each pass counts the whole drawing";
            }
        }
        EXPECT_EQ(phases, c.phases) << c.label;
    }
}

// Each part's name and presence is looked up in the library once, however many elements it has;
// a part missing from the library still names each element.
TEST_F(CollectingTest, ThePartsAreLookedUpOnceAPart) {
    Int32 chair = addPart("Chair");
    Int32 lost = addPart("Lost", APILib_ObjectID, true);
    const std::string object = std::to_string(APILib_ObjectID) + ":";
    std::vector<std::size_t> lookups;
    for (std::size_t each : {1, 3}) {
        while (sim::elementCount() < 2 * each) {
            place(API_ObjectID, chair);
            place(API_ObjectID, lost);
        }
        sim::clearCalls();
        EXPECT_EQ(collect(ObjectMap::GSM),
                  std::vector<std::string>{object + "Chairx" + std::to_string(each)});
        lookups.push_back(sim::callCount("ACAPI_LibPart_Get"));
        EXPECT_EQ(collect(ObjectMap::missing),
                  std::vector<std::string>{object + "Lostx" + std::to_string(each)});
    }
    EXPECT_EQ(lookups[1], lookups[0]);
}

// Parts of one name collect under one key, their elements in the order met; an element the host
// fails to load is left out and the walk goes on.
TEST_F(CollectingTest, PartsOfOneNameShareAKeyAndAnElementNotLoadedIsLeftOut) {
    Int32 first = addPart("Chair");
    Int32 second = addPart("Chair");
    std::vector<GS::Guid> chairs;
    for (Int32 part : {first, second, first, second, first}) {
        chairs.push_back(place(API_ObjectID, part));
    }
    sim::failCall("ACAPI_Element_Get", APIERR_GENERAL, 1, 1);
    ObjectMapTransaction transaction(ObjectMap::GSM);
    auto progress = ProgressWindow::create("collecting", 3);
    ASSERT_TRUE(transaction.collect(*plan, *progress));
    ASSERT_EQ(transaction.getElementMap().size(), 1u);
    const std::vector<ElementLink>& links = transaction.getElementMap().begin()->second;
    std::vector<GS::Guid> collected;
    for (const ElementLink& link : links) {
        collected.push_back(GS::Guid(link.getUniqueID()));
    }
    EXPECT_EQ(collected, (std::vector<GS::Guid>{chairs[0], chairs[2], chairs[3], chairs[4]}));
}

TEST_F(CollectingTest, TheSelectionComesFirstElseTheWholeDrawing) {
    Int32 chair = addPart("Chair");
    Int32 table = addPart("Table");
    Int32 lost = addPart("Lost", APILib_ObjectID, true);
    GS::Guid chairGuid = place(API_ObjectID, chair);
    place(API_ObjectID, table);
    GS::Guid lostGuid = place(API_ObjectID, lost);
    const std::string object = std::to_string(APILib_ObjectID) + ":";
    struct Case {
        std::vector<GS::Guid> selected;
        std::vector<std::string> keys;
    } cases[] = {
        {{chairGuid}, {object + "Chairx1"}},
        {{lostGuid}, {object + "Chairx1", object + "Tablex1"}}, // nothing of the selection qualifies
        {{}, {object + "Chairx1", object + "Tablex1"}},
    };
    for (const Case& c : cases) {
        std::vector<API_Neig> neigs;
        for (const GS::Guid& guid : c.selected) {
            API_Neig neig;
            neig.guid = guid;
            neigs.push_back(neig);
        }
        sim::setSelection(neigs);
        plan->reset();
        EXPECT_EQ(collect(ObjectMap::GSM), c.keys) << c.selected.size();
    }
}

TEST_F(CollectingTest, ACancelStopsCollectingAndInitialiseClosesTheWindow) {
    Int32 chair = addPart("Chair");
    for (int i = 0; i < 5; ++i) {
        place(API_ObjectID, chair);
    }
    sim::cancelProgressAtQuery(3);
    ObjectMapTransaction transaction(ObjectMap::GSM);
    EXPECT_FALSE(transaction.initialise());
    EXPECT_FALSE(sim::isProgressWindowOpen());
    EXPECT_TRUE(sim::alerts().empty());
    EXPECT_LT(transaction.getElementMap()[ObjectMap::Key(APILib_ObjectID, "Chair")].size(), 5u);
}

TEST_F(CollectingTest, InitialiseEndsWithANoticeWhenNothingQualifies) {
    place(API_ObjectID, addPart("Chair"));
    ObjectMapTransaction none(ObjectMap::none);
    EXPECT_FALSE(none.initialise());
    EXPECT_EQ(none.getDrawing(), nullptr);

    ObjectMapTransaction transaction(ObjectMap::missing);
    EXPECT_FALSE(transaction.initialise());
    EXPECT_EQ(transaction.getDrawing(), plan);
    EXPECT_TRUE(transaction.getElementMap().empty());
    EXPECT_FALSE(sim::isProgressWindowOpen());
    ASSERT_EQ(sim::alerts().size(), 1u);
    EXPECT_EQ(sim::alerts()[0].largeText, "No elements of this kind were found.");
}

TEST_F(CollectingTest, InitialiseWarnsWhenTheLibraryHoldsNoPlaceablePart) {
    struct Case {
        bool withPart;
        bool placeable;
    } cases[] = {{false, false}, {true, false}};
    for (const Case& c : cases) {
        sim::clearLibrary();
        std::size_t shown = sim::alerts().size();
        if (c.withPart) {
            sim::LibPartDef def;
            def.name = "Macro";
            def.placeable = c.placeable;
            def.sections = {{MakeGSType("3DSC"), "BLOCK 1, 1, 1"}};
            place(API_ObjectID, sim::addLibPart(def));
        }
        ObjectMapTransaction transaction(ObjectMap::GSM);
        sim::clearCalls();
        EXPECT_FALSE(transaction.initialise());
        EXPECT_EQ(sim::callCount("ACAPI_LibPart_UpdateSection"), 0u); // the scan only reads
        EXPECT_TRUE(transaction.getElementMap().empty());
        EXPECT_FALSE(sim::isProgressWindowOpen());
        ASSERT_EQ(sim::alerts().size(), shown + 1) << c.withPart;
        EXPECT_EQ(sim::alerts().back().largeText, "The loaded library holds no placeable library parts.");
    }
}

TEST_F(CollectingTest, ElementsOnHiddenLayersAreNotCollected) {
    Int32 chair = addPart("Chair");
    Int32 table = addPart("Table");
    API_AttributeIndex hidden = sim::addAttribute(sim::makeAttribute(API_LayerID, "Hidden", APILay_Hidden));
    API_Element record;
    record.header.typeID = API_ObjectID;
    record.header.layer = static_cast<short>(hidden);
    record.object.libInd = table;
    sim::addElement(record);
    place(API_ObjectID, chair);
    EXPECT_EQ(collect(ObjectMap::GSM),
              std::vector<std::string>{std::to_string(APILib_ObjectID) + ":Chairx1"});
}

TEST_F(CollectingTest, InitialiseEndsSilentlyWithoutTheAddonsPreferences) {
    place(API_ObjectID, addPart("Chair"));
    host.getProject()->setPreference(remap_test::ForeignPrefs(), false);
    ObjectMapTransaction transaction(ObjectMap::GSM);
    EXPECT_FALSE(transaction.initialise());
    EXPECT_EQ(transaction.getPreferences(), nullptr);
    EXPECT_TRUE(sim::progressRequests().empty());
    EXPECT_TRUE(sim::alerts().empty());
    EXPECT_TRUE(transaction.getElementMap().empty());

    host.getProject()->setPreference(remap::RemappingPrefs(), false);
    ObjectMapTransaction ready(ObjectMap::GSM);
    EXPECT_FALSE(ready.initialise()); // collecting went on: the map holds the chair
    EXPECT_EQ(ready.getSpecification(), host.getFrontSpec());
    ASSERT_NE(ready.getPreferences(), nullptr);
    EXPECT_EQ(ready.getPreferences()->getSourceName(ObjectMap::GSM), "Default");
    EXPECT_EQ(ready.getElementMap().size(), 1u);
}
