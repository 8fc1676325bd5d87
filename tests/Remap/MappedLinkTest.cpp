#include "Database/ComponentLink.h"
#include "Environment/Host.h"
#include "Library/Library.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/SpecificationList.h"
#include "RemapFixture.h"
#include "sim/Library.h"
#include "sim/Project.h"

#include <memory>

using namespace zelvane;
using namespace zelvane::remap;
using remap_test::RemapTest;

namespace {

const char* const chairID = "{00000000-0000-0000-0000-000000000001}-{00000000-0000-0000-0000-000000000002}";
const char* const doorID = "{00000000-0000-0000-0000-000000000003}-{00000000-0000-0000-0000-000000000004}";

class MappedLinkTest : public RemapTest {
protected:
    void SetUp() override {
        RemapTest::SetUp();
        sim::LibPartDef chair;
        chair.type = APILib_ObjectID;
        chair.name = "Chair 21";
        chair.ownID = chairID;
        sim::addLibPart(chair);
        sim::LibPartDef door;
        door.type = APILib_DoorID;
        door.name = "Door 21";
        door.ownID = doorID;
        sim::addLibPart(door);
        sim::openProject();
        host.reset();
    }
    void TearDown() override {
        sim::closeProject();
        RemapTest::TearDown();
    }

    static ObjectSpecification rule(const char* name, const char* guid) {
        ObjectSpecification made;
        made.setOriginalName(String("Seat"));
        made.setMappedName(String(name));
        made.setMappedObjectGuid(String(guid));
        return made;
    }
};

} // namespace

TEST_F(MappedLinkTest, ResolvedByUniqueIDThenByName) {
    struct Case {
        const char* label;
        const char* name;
        const char* guid;
        Int32 index; // 0: unresolved
        API_LibTypeID type;
    };
    for (const Case& c : {
             Case{"by unique ID", "Old name", doorID, 2, APILib_DoorID},
             Case{"by name", "Chair 21", "", 1, APILib_ObjectID},
             Case{"unknown ID, by name", "Chair 21", "{00000000-0000-0000-0000-000000000009}", 1,
                  APILib_ObjectID},
             Case{"unresolved", "Bench", "", 0, 0},
             Case{"nothing to resolve", "", "", 0, 0},
         }) {
        ObjectSpecification subject = rule(c.name, c.guid);
        ComponentLink* link = subject.getMappedLink();
        if (c.index == 0) {
            EXPECT_EQ(link, nullptr) << c.label;
        } else {
            ASSERT_NE(link, nullptr) << c.label;
            EXPECT_EQ(link->getIndex(), c.index) << c.label;
            EXPECT_EQ(link->getType(), c.type) << c.label;
            EXPECT_EQ(link->getLibrary(), host.getFrontLibrary()) << c.label;
        }
        EXPECT_EQ(subject.getMappedType(), APILib_ObjectID) << c.label << ": the rule keeps its own type";
    }
}

TEST_F(MappedLinkTest, TheFoundTypeNeverChangesTheRulesKey) {
    ObjectMap map;
    map.addSource(String("Default"), ObjectMap::GSM);
    ObjectSpecification door = rule("Door 21", doorID);
    ASSERT_TRUE(map.setSpecification(door, String("Default"), ObjectMap::GSM));
    ObjectSpecification* stored = map.getLists()[0]->front();
    ASSERT_NE(stored->getMappedLink(), nullptr) << "resolved when stored";
    EXPECT_EQ(stored->getMappedLink()->getType(), APILib_DoorID);
    String source("Default");
    EXPECT_EQ(map.getSpecification(ObjectMap::Key(APILib_ObjectID, String("seat")), source, ObjectMap::GSM,
                                   false, false),
              stored)
        << "still found by its key";
    EXPECT_TRUE(map.isWritable());
    EXPECT_NE(remap_test::xmlOf(map).find("<objectSpecification>"), std::string::npos)
        << "written with the key's type (object: no attribute)";
    EXPECT_TRUE(
        map.deleteSpecification(ObjectMap::Key(APILib_ObjectID, String("Seat")), source, ObjectMap::GSM));
}

TEST_F(MappedLinkTest, ResolvedOnceAndShared) {
    ObjectSpecification late = rule("Bench", "");
    EXPECT_EQ(late.getMappedLink(), nullptr);
    sim::LibPartDef bench;
    bench.name = "Bench";
    sim::addLibPart(bench);
    sim::clearCalls();
    EXPECT_EQ(late.getMappedLink(), nullptr) << "a failed resolution is not retried";
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_Search"), 0u);

    ObjectSpecification chair = rule("Chair 21", chairID);
    ComponentLink* link = chair.getMappedLink();
    ASSERT_NE(link, nullptr);
    std::unique_ptr<ObjectSpecification> copy(chair.clone());
    sim::clearCalls();
    EXPECT_EQ(copy->getMappedLink(), link) << "the copy shares the resolved target";
    EXPECT_EQ(chair.getMappedLink(), link);
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_Search"), 0u);
}

TEST_F(MappedLinkTest, WithoutALibraryNothingResolves) {
    sim::closeProject();
    host.reset();
    ASSERT_EQ(host.getFrontLibrary(), nullptr);
    ObjectSpecification chair = rule("Chair 21", chairID);
    EXPECT_EQ(chair.getMappedLink(), nullptr);
}
