#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementTable.hpp"
#include "ACAPI/Interface.hpp"
#include "ACAPI/Toolbox.hpp"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/Library.h"
#include "sim/Sim.h"
#include "sim/Toolbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

std::map<std::string, std::string> defaultParameters(API_ElemTypeID type) {
    std::vector<sim::LibParameter> parameters = sim::defaultMemoParameters(type, 0);
    std::map<std::string, std::string> values;
    for (const sim::LibParameter& parameter : parameters) {
        values[parameter.record.name] = parameter.record.typeID == APIParT_CString
                                            ? std::string(1, char(parameter.record.value.uStr[0]))
                                            : std::to_string(parameter.record.value.real);
    }
    return values;
}

} // namespace

TEST(ToolSettingsTest, AnAcceptedDialogSetsTheToolsPartAndValues) {
    const Int32 doorIndex = 2;

    struct Case {
        const char* name;
        API_ElemTypeID tool;
        sim::SettingsAnswer answer;
        GSErrCode result;
        Int32 part;
        std::map<std::string, std::string> parameters;
        const char* refusal = ""; // why the answer is refused
    };
    const Case cases[] = {
        {"cancelled", API_ObjectID, {false, "Chair", {}}, APIERR_CANCEL, 0, {}},
        {"as shown", API_ObjectID, {true, "", {}}, NoError, 0, {}},
        {"a part brings its parameters",
         API_ObjectID,
         {true, "Chair", {}},
         NoError,
         1,
         {{"A", std::to_string(0.5)}, {"mat", "O"}}},
        {"values set, and a size the part does not list",
         API_ObjectID,
         {true, "Chair", {{"A", 1.25, "", false}, {"mat", 0.0, "Beech", true}, {"B", 0.5, "", false}}},
         NoError,
         1,
         {{"A", std::to_string(1.25)}, {"mat", "B"}, {"B", std::to_string(0.5)}}},
        {"a door's part", API_DoorID, {true, "Door", {}}, NoError, doorIndex, {{"A", std::to_string(0.9)}}},
        {"no such part", API_ObjectID, {true, "Sofa", {}}, APIERR_CANCEL, 0, {}, "no loaded library part"},
        {"a tool without parts",
         API_WallID,
         {true, "Chair", {}},
         APIERR_CANCEL,
         0,
         {},
         "places no library part"},
        // Values the dialog has no field for.
        {"a parameter the part lacks",
         API_ObjectID,
         {true, "Chair", {{"A", 1.25, "", false}, {"legs", 4.0, "", false}}},
         APIERR_CANCEL,
         0,
         {},
         "the part \"Chair\" has no parameter \"legs\""},
        {"a number for a text",
         API_ObjectID,
         {true, "Chair", {{"mat", 2.0, "", false}}},
         APIERR_CANCEL,
         0,
         {},
         "the parameter \"mat\" of the part \"Chair\" takes a text"},
    };
    for (const Case& c : cases) {
        sim::reset();
        sim::LibPartDef chair;
        chair.name = "Chair";
        chair.parameters = {sim::scalarParameter(APIParT_Length, "A", 0.5), sim::textParameter("mat", "Oak")};
        sim::addLibPart(chair);
        sim::LibPartDef door;
        door.type = APILib_DoorID;
        door.name = "Door";
        door.parameters = {sim::scalarParameter(APIParT_Length, "A", 0.9)};
        ASSERT_EQ(sim::addLibPart(door), doorIndex);
        sim::queueSettingsDialog(c.answer);
        API_ToolBoxItem item;
        item.typeID = c.tool;
        EXPECT_EQ(ACAPI_Interface(APIIo_SettingsDialogID, &item), c.result) << c.name;
        API_Element defaults = sim::defaults(c.tool, 0);
        Int32 part = c.tool == API_DoorID ? defaults.door.openingBase.libInd : defaults.object.libInd;
        EXPECT_EQ(part, c.part) << c.name;
        EXPECT_EQ(defaultParameters(c.tool), c.parameters) << c.name;
        EXPECT_EQ(sim::callCount("sim::settingsRefused"), c.result == NoError || !c.answer.accept ? 0u : 1u)
            << c.name;
        const std::string refusal = sim::takeSettingsRefusal();
        EXPECT_NE(refusal.find(c.refusal), std::string::npos) << c.name << ": " << refusal;
        EXPECT_EQ(refusal.empty(), *c.refusal == '\0') << c.name << ": " << refusal;
    }
}
