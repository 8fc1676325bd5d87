#include "ACAPI/Toolbox.hpp"
#include "sim/Databases.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

namespace {

GS::Guid addElement(const GS::Guid& database, short owner = 0) {
    API_Element record;
    record.header.typeID = API_ObjectID;
    record.header.userId = owner;
    return sim::addElement(record, database);
}

} // namespace

TEST(ElementLockTest, LockingActsOnTheCurrentDatabaseOnly) {
    sim::openProject();
    sim::DatabaseRecord sectionRecord;
    sectionRecord.type = APIWind_SectionID;
    const GS::Guid section = sim::addDatabase(sectionRecord);
    const GS::Guid onPlan = addElement(GS::Guid());
    const GS::Guid inSection = addElement(section);
    API_Elem_Head heads[2];
    heads[0].guid = onPlan;
    heads[1].guid = inSection;

    struct Case {
        const char* name;
        API_WindowTypeID currentType;
        bool inSectionDatabase;
        API_ToolCmdID command;
        bool planLocked;
        bool sectionLocked;
    };
    for (const Case& c :
         {Case{"lock from the floor plan", APIWind_FloorPlanID, false, APITool_Lock, true, false},
          Case{"lock from the section", APIWind_SectionID, true, APITool_Lock, true, true},
          Case{"unlock from the floor plan", APIWind_FloorPlanID, false, APITool_Unlock, false, true},
          Case{"unlock from the section", APIWind_SectionID, true, APITool_Unlock, false, false}}) {
        sim::setCurrentDatabase(c.currentType, c.inSectionDatabase ? section : GS::Guid());
        EXPECT_EQ(ACAPI_Element_Tool(heads, 2, c.command), NoError) << c.name;
        EXPECT_EQ(sim::element(onPlan).header.locked, c.planLocked) << c.name;
        EXPECT_EQ(sim::element(inSection).header.locked, c.sectionLocked) << c.name;
    }
}

TEST(ElementLockTest, UnknownElementsAndOtherMembersElements) {
    sim::openProject();
    const GS::Guid mine = addElement(GS::Guid(), 2);
    const GS::Guid theirs = addElement(GS::Guid(), 7);
    API_Elem_Head heads[2];
    heads[0].guid = mine;
    heads[1].guid.Generate();
    EXPECT_EQ(ACAPI_Element_Tool(heads, 2, APITool_Lock), APIERR_BADID);
    EXPECT_FALSE(sim::element(mine).header.locked) << "nothing changes";

    sim::setTeamwork(true, 2);
    heads[1].guid = theirs;
    EXPECT_EQ(ACAPI_Element_Tool(heads, 2, APITool_Lock), NoError);
    EXPECT_TRUE(sim::element(mine).header.locked);
    EXPECT_FALSE(sim::element(theirs).header.locked);
    EXPECT_EQ(ACAPI_Element_Tool(nullptr, 1, APITool_Lock), APIERR_BADPARS);
}
