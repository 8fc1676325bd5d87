#include "ACAPI/ElementMemo.hpp"
#include "Addon/Addon.h"
#include "Database/Drawing.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/ComponentElem.h"
#include "Environment/Host.h"
#include "Library/Library.h"
#include "Memo/ElementMemoStore.h"
#include "Preset/Preset.h"
#include "Preset/ZelvaneLibrary.h"

#include "Addon/TestAddon.h"
#include "PresetTypesTest.h"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/Library.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

// An object of the tests' own, keeping a plain host record.
class Placed : public ComponentElem {
public:
    Placed(const ElementLink& link, const ComponentLink& source, API_Element const& record)
        : ComponentElem(link, source), m_record(record) {}
    Element* clone() const override { return new Placed(*this); }
    API_Element* getData() const override { return new API_Element(m_record); }
    API_Elem_Head& getHead() override { return m_record.header; }
    const API_Elem_Head& getHead() const override { return m_record.header; }

    static Element* create(const API_Element& record, const ElementLink& link) {
        return new Placed(link, ComponentLink(record.object.libInd, APILib_ObjectID, host.getFrontLibrary()),
                          record);
    }

    API_Element m_record;
};

// Two objects with the cells of one wall preset, both asking for the stored wall (status 0).
class ProjectTest : public PresetTypesTest {
protected:
    void SetUp() override {
        PresetTypesTest::SetUp();
        sim::openProject();
        host.reset();
        Library::startup();
        Drawing::addAdapter(element_id(API_ObjectID), Placed::create, false);
        made = new testing_addon::TestAddon;
        addon = made;
        Int32 part = sim::addLibPart(sim::LibPartDef{});
        for (short status : {0, 0}) {
            API_Element record;
            record.header.typeID = API_ObjectID;
            record.object.libInd = part;
            GS::Guid guid = sim::addElement(record);
            std::vector<sim::LibParameter> parameters = {
                sim::textArray("key", 1, 1, {keyText(1)}), sim::textArray("name", 1, 1, {""}),
                sim::textArray("echo", 1, 1, {""}),
                sim::numberArray(APIParT_Integer, "status", 1, 1, {double(status)}),
                sim::numberArray(APIParT_Integer, "pen", 1, 1, {0.0})};
            ElementMemoStore store;
            ASSERT_EQ(sim::writeParameterRecords(parameters, store.params()), NoError);
            ASSERT_EQ(sim::storeMemo(guid, store.getTarget(), APIMemoMask_AddPars), NoError);
            guids.push_back(guid);
        }
        auto* preset = new Preset("wall", "menu");
        preset->getNameParameter().setName("name");
        preset->getEchoParameter().setName("echo");
        preset->getKeyParameter().setName("key");
        preset->getStatusParameter().setName("status");
        preset->getSettingList().push_back(new PresetSetting("pen", "pen"));
        made->getLibraryConfiguration().getPresets().push_back(preset);

        PresetDatabase database;
        PresetDatabase::setDefaultTemplate("wall", true);
        database.createRecord(Guid(), "Brick", key(1)).second->setSetting("pen", Int32Setting(7), 0);
        host.getProject()->setPreference(database, false);
    }
    void TearDown() override {
        // The host's copies of the memos go with the elements.
        for (GS::Guid const& guid : guids) {
            sim::removeElement(guid);
        }
        // The project outlives the test: its preset database goes now.
        host.getProject()->setPreference(PresetDatabase(), false);
        PresetTypesTest::TearDown();
        delete made;
        addon = nullptr;
        Drawing::shutdown();
        Library::shutdown();
        host.reset();
    }

    short pen(GS::Guid const& guid) {
        API_ElementMemo memo{};
        EXPECT_EQ(sim::copyMemoOut(guid, &memo, APIMemoMask_AddPars), NoError);
        ParameterList list;
        list.unpackParameter(memo.params);
        ACAPI_DisposeElemMemoHdls(&memo);
        auto const* parameter = dynamic_cast<IntegerParameter const*>(list.getParameter(String("pen")));
        return parameter != nullptr ? parameter->getValue(0, 0) : -1;
    }

    testing_addon::TestAddon* made = nullptr;
    std::vector<GS::Guid> guids;
};

} // namespace

TEST_F(ProjectTest, TheSelectedElementsThatChangeArePutBack) {
    struct Case {
        std::vector<std::size_t> selected;
        std::vector<short> pens;
        std::size_t puts;
    };
    const Case cases[] = {
        {{}, {0, 0}, 0},     // nothing selected: nothing changes
        {{1}, {0, 7}, 1},    // only the second
        {{0, 1}, {7, 7}, 1}, // the second has its wall already
        {{0, 1}, {7, 7}, 0}, // nothing changes the second time
    };
    for (const Case& c : cases) {
        std::vector<API_Neig> neigs;
        for (std::size_t k : c.selected) {
            API_Neig neig;
            neig.guid = guids[k];
            neigs.push_back(neig);
        }
        sim::setSelection(neigs);
        host.reset();
        std::size_t changes = sim::callCount("ACAPI_Element_Change");
        made->getLibraryConfiguration().applyPresetsToProject(true);
        EXPECT_EQ((std::vector<short>{pen(guids[0]), pen(guids[1])}), c.pens) << c.selected.size();
        EXPECT_EQ(sim::callCount("ACAPI_Element_Change"), changes + c.puts)
            << "only changed elements are put back";
    }
}

TEST_F(ProjectTest, NothingIsWrittenWithoutApply) {
    made->getLibraryConfiguration().applyPresetsToProject(false);
    EXPECT_EQ(pen(guids[0]), 0);
    Drawing* plan = host.getProject()->getFloorPlan();
    std::unique_ptr<Element> element(plan->load(ElementLink(Guid(guids[0]), plan)));
    ASSERT_NE(element, nullptr);
    EXPECT_TRUE(made->getLibraryConfiguration().applyPresetsTo(*element));
    EXPECT_EQ(pen(guids[0]), 0) << "applying changes the loaded element only";
}
