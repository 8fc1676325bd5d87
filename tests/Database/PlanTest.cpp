#include "Database/Plan.h"
#include "ACAPI/Attributes.hpp"
#include "Attribute/Layer.h"
#include "Attribute/Storey.h"
#include "Database/Project.h"
#include "Database/Section.h"
#include "Database/Specification.h"
#include "Element/CutPlaneReference.h"
#include "Environment/Host.h"
#include "TestElement.h"
#include "sim/Attributes.h"
#include "sim/Databases.h"
#include "sim/ElementTable.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Storeys.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

namespace {

class PlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        Specification::startup();
        Drawing::startup();
        Drawing::addAdapter(element_id(API_ObjectID), TestElement::create, false);
        sim::setStoreys({{-1, 1, -3.0, "Cellar"}, {0, 3, 0.0, "Ground"}, {1, 7, 3.5, ""}}, 6.0);
        sim::setCurrentStorey(0);
        host.reset();
        project = host.getProject();
        plan = project->getFloorPlan();
    }
    void TearDown() override {
        host.reset();
        Drawing::shutdown();
        Specification::shutdown();
    }

    Project* project = nullptr;
    Plan* plan = nullptr;
};

} // namespace

TEST_F(PlanTest, StoreysFromTheHostsRecords) {
    // Four records (the top one included) give three storeys.
    ASSERT_EQ(plan->getStoreyCount(), 3u);
    EXPECT_EQ(plan->getBaseStoreyIndex(), -1);
    EXPECT_EQ(plan->getTopStoreyIndex(), 1);
    EXPECT_DOUBLE_EQ(plan->getStorey(short(-1))->getHeight(), 3.0);
    EXPECT_DOUBLE_EQ(plan->getStorey(short(1))->getHeight(), 2.5);
    EXPECT_EQ(plan->getStorey(String("Ground")), plan->getStorey(short(0)));
    EXPECT_EQ(plan->findStoreyByID(7), plan->getStorey(short(1)));
    EXPECT_EQ(plan->findStoreyByID(9), nullptr);
    EXPECT_EQ(plan->getStorey(short(5)), nullptr);
    EXPECT_EQ(plan->getName(), "3-Ground");
    EXPECT_EQ(short(plan->getLink().getStoreyIndex()), 0);

    ASSERT_TRUE(plan->setStorey(*plan->getStorey(short(1)), false));
    EXPECT_EQ(sim::currentStorey(), 1);
    EXPECT_EQ(sim::storeySwitches(false), 1);
    EXPECT_EQ(plan->getName(), "7"); // no name
    EXPECT_EQ(short(plan->getLink().getStoreyIndex()), 1);
    EXPECT_EQ(DrawingLink(APIWind_FloorPlanID, DatabaseGuid(), 1).getStorey(), plan->getStorey(short(1)));
    EXPECT_EQ(DrawingLink(APIWind_SectionID, DatabaseGuid(Guid().generate()), 1).getStorey(), nullptr);

    Storey elsewhere(plan, "Roof", attribute_index(9), 9.0, 3.0);
    EXPECT_FALSE(plan->setStorey(elsewhere, true));
    EXPECT_EQ(plan->getLastError(), APIERR_BADINDEX);

    // Read once per entry; a refused read gives no storeys until the next one.
    host.reset();
    sim::failCall("ACAPI_Environment:GSTO", APIERR_GENERAL);
    EXPECT_EQ(plan->getStoreyCount(), 0u);
    EXPECT_EQ(plan->getName(), "");
    EXPECT_EQ(plan->getCurrentStorey(), nullptr);
    EXPECT_EQ(plan->getStoreyCount(), 0u);
    host.reset();
    sim::failNextAllocations(1);
    EXPECT_EQ(plan->getStoreyCount(), 0u);
    host.reset();
    EXPECT_EQ(plan->getStoreyCount(), 3u);
    EXPECT_EQ(short(plan->getLink().getStoreyIndex()), 1);
    // Storeys read again find the host's current one.
    sim::setCurrentStorey(-1);
    host.reset();
    EXPECT_EQ(plan->getStoreyCount(), 3u);
    EXPECT_EQ(short(plan->getLink().getStoreyIndex()), -1);
    EXPECT_EQ(plan->getCurrentStorey(), plan->getStorey(short(-1)));
    // The first thing asked after a reset is the current storey: it is the host's, not the one
    // current when the storeys were last read.
    sim::setCurrentStorey(1);
    host.reset();
    Storey* current = plan->getCurrentStorey();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(short(current->getIndex()), 1);
    EXPECT_EQ(plan->getName(), "7");
}

TEST_F(PlanTest, SummaryAndReassignment) {
    short walls = sim::addAttribute(sim::makeAttribute(API_LayerID, "Walls"));
    short doors = sim::addAttribute(sim::makeAttribute(API_LayerID, "Doors"));
    API_Element object;
    object.header.typeID = API_ObjectID;
    object.header.layer = walls;
    object.header.floorInd = -1;
    GS::Guid guid = sim::addElement(object);

    ElementLink link;
    Layer layer;
    Storey* storey = nullptr;
    ASSERT_TRUE(plan->getElementSummary(Guid(guid), &link, &layer, &storey));
    EXPECT_EQ(layer.getName(), "Walls");
    ASSERT_NE(storey, nullptr);
    EXPECT_EQ(storey->getName(), "Cellar");
    EXPECT_FALSE(plan->getElementSummary(Guid().generate(), &link, nullptr, nullptr));
    EXPECT_FALSE(link.isValid());

    std::unique_ptr<Element> element(plan->load(ElementLink(Guid(guid), plan)));
    ASSERT_NE(element, nullptr);
    EXPECT_TRUE(plan->reassign(*element, nullptr, nullptr, nullptr));
    Layer target(AttributeLink(attribute_index(doors), Layer::ID, project->getSpecification()));
    Guid group;
    group.generate();
    ASSERT_TRUE(plan->reassign(*element, &target, plan->getStorey(short(1)), &group));
    API_Elem_Head head = sim::element(guid).header;
    EXPECT_EQ(head.layer, doors);
    EXPECT_EQ(head.floorInd, 1);
    EXPECT_EQ(Guid(head.groupGuid), group);
    EXPECT_EQ(short(element->getLink().getSourceLink().getStoreyIndex()), 1);

    // Another database's element is refused.
    sim::DatabaseRecord sheet;
    sheet.type = APIWind_WorksheetID;
    Worksheet* worksheet = project->getWorksheet(DatabaseGuid(sim::addDatabase(sheet)));
    EXPECT_FALSE(worksheet->reassign(*element, &target, nullptr, nullptr));
    sim::failCall("ACAPI_Element_ChangeParameters", APIERR_NOTMINE);
    EXPECT_FALSE(plan->reassign(*element, &target, nullptr, nullptr));
    EXPECT_EQ(plan->getLastError(), APIERR_NOTMINE);
}

TEST_F(PlanTest, SectionsFindTheirMarker) {
    sim::DatabaseRecord record;
    record.type = APIWind_SectionID;
    GS::Guid id = sim::addDatabase(record);
    API_Element marker;
    marker.header.typeID = API_CutPlaneID;
    marker.cutPlane.databaseID.Generate(); // another section's
    sim::addElement(marker);
    marker.cutPlane.databaseID = id;
    GS::Guid mine = sim::addElement(marker);
    Section* section = project->getSection(DatabaseGuid(id));
    std::unique_ptr<CutPlaneReference> found(section->getPlanReference());
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(GS::Guid(found->getUniqueID()), mine);
    sim::removeElement(mine);
    EXPECT_EQ(std::unique_ptr<CutPlaneReference>(section->getPlanReference()), nullptr);
}
