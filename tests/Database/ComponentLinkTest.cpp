#include "Database/ComponentLink.h"
#include "Environment/Host.h"
#include "Library/Library.h"
#include "sim/Library.h"
#include "sim/Project.h"

#include <gtest/gtest.h>

using namespace zelvane;

TEST(ComponentLinkTest, FindsPartsAndKeepsTheGivenTypeWhenNoneIsFound) {
    sim::LibPartDef lamp;
    lamp.type = APILib_LampID;
    lamp.name = "Spot";
    lamp.ownID = "{00000000-0000-0000-0000-000000000007}-{00000000-0000-0000-0000-000000000001}";
    sim::addLibPart(lamp);
    Library library(nullptr, 0);

    ComponentLink byName("Spot", APILib_ObjectID, &library);
    EXPECT_EQ(byName.getIndex(), 1);
    EXPECT_EQ(byName.getType(), APILib_LampID);
    ComponentLink byID(FamilyGuid(lamp.ownID.c_str()), 0, &library);
    EXPECT_EQ(byID.getIndex(), 1);
    ComponentLink missing("Nothing", APILib_ObjectID, &library);
    EXPECT_FALSE(missing.isValid());
    EXPECT_EQ(missing.getType(), APILib_ObjectID);
    ComponentLink noLibrary("Spot", APILib_ObjectID, nullptr);
    EXPECT_FALSE(noLibrary.isValid());

    API_LibPart record{};
    record.index = 0;
    record.typeID = APILib_DoorID;
    ComponentLink fromRecord(record, nullptr);
    EXPECT_EQ(fromRecord.getLibrary(), nullptr);
    EXPECT_FALSE(fromRecord.isValid());
    EXPECT_TRUE(byName == ComponentLink(1, APILib_LampID, &library));
    EXPECT_FALSE(byName == ComponentLink(1, APILib_LampID, nullptr));
    record.index = 3;
    byName = record;
    EXPECT_EQ(byName.getIndex(), 3);
    EXPECT_EQ(byName.getLibrary(), nullptr);
    std::unique_ptr<ComponentLink> copy(byID.clone());
    EXPECT_TRUE(*copy == byID);
}

TEST(ComponentLinkTest, WithoutALibraryTheProjectsIsUsed) {
    sim::LibPartDef chair;
    chair.name = "Chair";
    sim::addLibPart(chair);
    sim::openProject();
    host.reset();
    Library* project = host.getFrontLibrary();
    ASSERT_NE(project, nullptr);
    ComponentLink byName("Chair", APILib_ObjectID, nullptr);
    EXPECT_EQ(byName.getLibrary(), project);
    EXPECT_EQ(byName.getIndex(), 1);
    EXPECT_EQ(ComponentLink(1, APILib_ObjectID, nullptr).getLibrary(), project);
    EXPECT_EQ(ComponentLink(0, APILib_ObjectID, nullptr).getLibrary(), nullptr);
    sim::closeProject();
    host.reset();
}
