// The mapping dialog's zoom and parameters buttons.
#include "Database/Plan.h"
#include "Element/Object.h"
#include "Geometry/Cube.h"
#include "Interface/ProgressWindow.h"
#include "Library/LengthParameter.h"
#include "Library/ParameterList.h"
#include "MappingFixture.h"
#include "Remap/MappingDialog.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/SpecificationList.h"
#include "sim/Databases.h"
#include "sim/Dialogs.h"
#include "sim/ElementBounds.h"
#include "sim/ElementTable.h"
#include "sim/Toolbox.h"

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace zelvane::remap;
using K = sim::DialogAction;

namespace {

class MappingToolsTest : public remap_test::MappingFixture {
protected:
    void SetUp() override {
        MappingFixture::SetUp();
        armchair = addPart("Armchair");
        chair = addPart("Chair Modern");
        door = addPart("Door Single", APILib_DoorID);
        map.initialise();
    }

    Int16 run(const sim::DialogScript& script) {
        sim::queueDialogScript(MappingDialog::resourceID, script);
        MappingDialog dialog(map, elements, parts, ObjectMap::GSM);
        return dialog.show();
    }
    ObjectSpecification* ruleOf(const char* original, API_LibTypeID type = APILib_ObjectID) {
        SpecificationList* list = map.getLists().getSpecificationList(String("Default"), ObjectMap::GSM);
        return list->find(ObjectMap::Key(type, String(original)));
    }
    // The rule's custom values as "name=value" texts.
    static std::vector<std::string> valuesOf(const ObjectSpecification* rule) {
        std::vector<std::string> values;
        if (rule != nullptr && rule->getCustomParameters() != nullptr) {
            const ParameterList& list = *rule->getCustomParameters();
            for (std::size_t index = 0; index < list.size(); ++index) {
                values.push_back(std::string(list.getParameter(index)->getName().data()) + "=" +
                                 list.getParameter(index)->getValueText().data());
            }
        }
        return values;
    }
    // The user sets the tool to the part with A as given, in the tool settings.
    static void userChooses(const ComponentLink& part, double a) {
        sim::queueSettingsDialog([part, a](Int32, UInt32) {
            std::unique_ptr<ComponentElem> element;
            if (part.getType() == APILib_DoorID) {
                element = std::make_unique<Door>(part);
            } else {
                element = std::make_unique<Object>(part, 0);
            }
            if (auto* width = dynamic_cast<LengthParameter*>(element->getParameter(String("A")))) {
                width->setValue(a);
            }
            ASSERT_TRUE(element->makeDefault());
        });
    }

    ObjectMap map;
    ComponentLink armchair, chair, door;
};

} // namespace

TEST_F(MappingToolsTest, ZoomShowsTheFirstElementOfTheRow) {
    API_Element record;
    record.header.typeID = API_ObjectID;
    record.object.libInd = chair.getIndex();
    GS::Guid first = sim::addElement(record);
    sim::addElement(record);
    sim::setElementBounds(first, API_Box3D{1.0, 2.0, 0.0, 3.0, 5.0, 1.0});
    ObjectMapTransaction transaction(ObjectMap::GSM);
    auto progress = ProgressWindow::create("collecting", 3);
    ASSERT_TRUE(transaction.collect(*host.getProject()->getFloorPlan(), *progress));
    progress.reset();
    elements = transaction.getElementMap();
    ASSERT_EQ(elements.size(), 1u);

    ASSERT_EQ(run({userAction(K::clickRow, 9, 0), userAction(K::click, 11), userAction(K::closeOK)}), 1);
    std::vector<API_Neig> selected = sim::selection();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].guid, first);

    std::unique_ptr<Element> element(
        host.getProject()->getFloorPlan()->load(elements.begin()->second.front()));
    ASSERT_NE(element, nullptr);
    std::unique_ptr<Cube> box(element->getBoundingCube(false));
    ASSERT_NE(box, nullptr);
    API_Box zoom = sim::database(APIWind_FloorPlanID).zoom;
    EXPECT_NEAR(zoom.xMin, box->getOrigin().x() - 0.5, 1e-9);
    EXPECT_NEAR(zoom.xMax, box->getEnd().x() + 0.5, 1e-9);
    EXPECT_NEAR(zoom.yMin, box->getOrigin().y() - 0.5, 1e-9);
}

TEST_F(MappingToolsTest, ZoomWithoutElementsDoesNothing) {
    addKey("Chair");
    ASSERT_EQ(run({userAction(K::clickRow, 9, 0), userAction(K::click, 11), userAction(K::closeOK)}), 1);
    EXPECT_TRUE(sim::selection().empty());
    EXPECT_EQ(sim::database(APIWind_FloorPlanID).zoom.xMax, 10.0);
}

TEST_F(MappingToolsTest, ParametersMapARuleWithoutTargetAndKeepTheDifferences) {
    addKey("Chair");
    API_Element before = sim::defaults(API_ObjectID, 0);
    userChooses(chair, 2.5);
    ASSERT_EQ(run({userAction(K::clickRow, 9, 0), userAction(K::click, 10), userAction(K::closeOK)}), 1);
    ObjectSpecification* rule = ruleOf("Chair");
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->getMappedName(), "Chair Modern");
    EXPECT_EQ(valuesOf(rule), std::vector<std::string>{"A=2.5"});
    EXPECT_EQ(sim::defaults(API_ObjectID, 0).object.libInd, before.object.libInd) << "the defaults are back";
}

TEST_F(MappingToolsTest, AValueSetBackToThePartsOwnIsDropped) {
    addKey("Chair");
    userChooses(chair, 2.5);
    ASSERT_EQ(run({userAction(K::clickRow, 9, 0), userAction(K::click, 10), userAction(K::closeOK)}), 1);
    ASSERT_EQ(valuesOf(ruleOf("Chair")), std::vector<std::string>{"A=2.5"});
    userChooses(chair, 1.0);
    ASSERT_EQ(run({userAction(K::clickRow, 9, 0), userAction(K::click, 10), userAction(K::closeOK)}), 1);
    EXPECT_EQ(ruleOf("Chair")->getMappedName(), "Chair Modern");
    EXPECT_EQ(valuesOf(ruleOf("Chair")), std::vector<std::string>{});
}

TEST_F(MappingToolsTest, AnotherPartReplacesTheTargetOfEverySelectedRowOfItsType) {
    addKey("Chair");
    addKey("Stool");
    addKey("Entry", APILib_DoorID);
    String name("Default");
    map.getSpecification(ObjectMap::Key(APILib_ObjectID, String("Chair")), name, ObjectMap::GSM, true, false)
        ->setMappedLink(armchair);
    // Rows: Entry (a door), Chair, Stool. The first selected row is the door: the part is a door's.
    userChooses(door, 3.0);
    ASSERT_EQ(
        run({userAction(K::clickRow, 9, 0), userAction(K::clickRow, 9, 1, 0, "command"),
             userAction(K::clickRow, 9, 2, 0, "command"), userAction(K::click, 10), userAction(K::closeOK)}),
        1);
    ASSERT_NE(ruleOf("Entry", APILib_DoorID), nullptr);
    EXPECT_EQ(ruleOf("Entry", APILib_DoorID)->getMappedName(), "Door Single");
    EXPECT_EQ(valuesOf(ruleOf("Entry", APILib_DoorID)), std::vector<std::string>{"A=3"});
    EXPECT_EQ(ruleOf("Chair")->getMappedName(), "Armchair") << "object rows refuse a door part";
    EXPECT_EQ(ruleOf("Stool"), nullptr);

    userChooses(chair, 2.0);
    ASSERT_EQ(run({userAction(K::clickRow, 9, 1), userAction(K::clickRow, 9, 2, 0, "command"),
                   userAction(K::click, 10), userAction(K::closeOK)}),
              1);
    EXPECT_EQ(ruleOf("Chair")->getMappedName(), "Chair Modern");
    ASSERT_NE(ruleOf("Stool"), nullptr);
    EXPECT_EQ(ruleOf("Stool")->getMappedName(), "Chair Modern");
    EXPECT_EQ(valuesOf(ruleOf("Stool")), std::vector<std::string>{"A=2"});
}

TEST_F(MappingToolsTest, ACancelledToolSettingsDialogChangesNothing) {
    addKey("Chair");
    String name("Default");
    ObjectSpecification* rule = map.getSpecification(ObjectMap::Key(APILib_ObjectID, String("Chair")), name,
                                                     ObjectMap::GSM, true, false);
    rule->setMappedLink(armchair);
    API_Element before = sim::defaults(API_ObjectID, 0);
    sim::queueSettingsDialog(false);
    ASSERT_EQ(run({userAction(K::clickRow, 9, 0), userAction(K::click, 10), userAction(K::closeOK)}), 1);
    EXPECT_EQ(ruleOf("Chair")->getMappedName(), "Armchair");
    EXPECT_EQ(valuesOf(ruleOf("Chair")), std::vector<std::string>{});
    EXPECT_EQ(sim::defaults(API_ObjectID, 0).object.libInd, before.object.libInd)
        << "the rule's part lent to the tool is taken back";
}

// The defaults that hold the user's choice cannot be read after the tool's settings: the rule is
// left alone and the tool's own defaults are put back all the same.
TEST_F(MappingToolsTest, AFailedReadOfTheChosenSettingsStillPutsTheDefaultsBack) {
    addKey("Chair");
    String name("Default");
    map.getSpecification(ObjectMap::Key(APILib_ObjectID, String("Chair")), name, ObjectMap::GSM, true, false)
        ->setMappedLink(armchair);
    API_Element before = sim::defaults(API_ObjectID, 0);
    const sim::DialogScript script{userAction(K::clickRow, 9, 0), userAction(K::click, 10),
                                   userAction(K::closeOK)};
    // The user picks another part and width in the tool's settings.
    sim::SettingsAnswer choice{true, "Chair Modern", {{"A", 2.5, "", false}}};
    // A first run counts the reads of the defaults before the tool's settings open.
    sim::queueSettingsDialog(choice);
    sim::clearCalls();
    ASSERT_EQ(run(script), 1);
    int reads = 0;
    for (const sim::CallRecord& call : sim::calls()) {
        if (call.name == "ACAPI_Interface" && call.code == APIIo_SettingsDialogID) {
            break;
        }
        reads += call.name == "ACAPI_Element_GetDefaults" ? 1 : 0;
    }
    ASSERT_EQ(ruleOf("Chair")->getMappedName(), "Chair Modern");
    ruleOf("Chair")->setMappedLink(armchair);
    const std::vector<std::string> values = valuesOf(ruleOf("Chair"));
    sim::queueSettingsDialog(choice);
    sim::failCall("ACAPI_Element_GetDefaults", APIERR_GENERAL, 1, reads);
    ASSERT_EQ(run(script), 1);
    sim::clearFaults();
    EXPECT_EQ(ruleOf("Chair")->getMappedName(), "Armchair");
    EXPECT_EQ(valuesOf(ruleOf("Chair")), values);
    EXPECT_EQ(sim::defaults(API_ObjectID, 0).object.libInd, before.object.libInd);
}

// The host runs out of memory in the tool's settings: the rule's part lent to the tool is taken
// back on the way out.
TEST_F(MappingToolsTest, TheDefaultsComeBackWhenTheToolSettingsThrow) {
    addKey("Chair");
    String name("Default");
    map.getSpecification(ObjectMap::Key(APILib_ObjectID, String("Chair")), name, ObjectMap::GSM, true, false)
        ->setMappedLink(armchair);
    API_Element before = sim::defaults(API_ObjectID, 0);
    bool lent = false;
    sim::queueSettingsDialog([&](Int32, UInt32) {
        lent = sim::defaults(API_ObjectID, 0).object.libInd == armchair.getIndex();
        throw std::bad_alloc();
    });
    // Wherever the dialog stops the exception, it passes the handler.
    try {
        run({userAction(K::clickRow, 9, 0), userAction(K::click, 10), userAction(K::closeOK)});
    } catch (const std::bad_alloc&) {
    }
    EXPECT_TRUE(lent) << "the tool showed the rule's part";
    EXPECT_EQ(sim::defaults(API_ObjectID, 0).object.libInd, before.object.libInd);
    EXPECT_EQ(ruleOf("Chair")->getMappedName(), "Armchair");
}
