#include "Database/ElementLinkList.h"
#include "ACAPI/ElementTable.hpp"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Database/Section.h"
#include "Environment/Host.h"
#include "Environment/Memory.h"
#include "sim/Databases.h"
#include "sim/ElementTable.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Toolbox.h"
#include <memory>

#include <gtest/gtest.h>

using namespace zelvane;

namespace {

Guid makeGuid(UInt32 first) {
    const UInt8 tail[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    return Guid(GS::Guid(first, 0, 0, tail));
}

ElementLink* link(UInt8 type, UInt8 subtype, UInt32 guid) {
    auto* made = new ElementLink(element_id(type, subtype), 0);
    made->setUniqueID(makeGuid(guid));
    return made;
}

class ElementLinkListTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        plan = host.getProject()->getFloorPlan();
    }
    void TearDown() override { host.reset(); }
    Plan* plan = nullptr;
};

} // namespace

TEST_F(ElementLinkListTest, SortsMixedSubtypesByTypeSubtypeAndGuid) {
    // Subtype 0 sits between subtypes under the links' own order, which is no strict weak order;
    // the sort orders by type, subtype and GUID.
    ElementLinkList list;
    list.push_back(link(6, 3, 1));
    list.push_back(link(6, 0, 5));
    list.push_back(link(5, 9, 7));
    list.push_back(link(6, 2, 9));
    list.push_back(link(6, 0, 2));
    list.sort();
    std::vector<std::pair<int, UInt32>> order;
    for (const ElementLink* item : list) {
        order.emplace_back(item->getType().getType() * 10 + item->getType().getSubtype(),
                           GS::Guid(item->getUniqueID()).data1);
    }
    EXPECT_EQ(order, (std::vector<std::pair<int, UInt32>>{{59, 7}, {60, 2}, {60, 5}, {62, 9}, {63, 1}}));
    EXPECT_TRUE(list.isSorted());
    // Sorted once: what is appended afterwards stays where it is.
    list.push_back(link(1, 0, 3));
    list.sort();
    EXPECT_EQ(list.back()->getType().getType(), 1);
    std::unique_ptr<ElementLink> probe(link(6, 7, 9));
    EXPECT_TRUE(list.contains(*probe)); // by GUID
}

TEST_F(ElementLinkListTest, AppendsFromGuidsAndMakesHostRecords) {
    API_Element wall;
    wall.header.typeID = API_WallID;
    wall.header.floorInd = 0;
    GS::Guid a = sim::addElement(wall);
    GS::Array<API_Guid> guids;
    guids.Push(a);
    guids.Push(GS::Guid(makeGuid(77))); // not in the project: left out
    ElementLinkList list;
    EXPECT_EQ(list.append(guids, *plan), 1u);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->getType(), element_id(API_WallID));
    EXPECT_EQ(list[0]->getSourceLink().getType(), APIWind_FloorPlanID);
    ElementLinkList copy;
    EXPECT_EQ(copy.append(list), 1u);

    API_Elem_Head** heads = list.getHeaderList(false);
    ASSERT_NE(heads, nullptr);
    EXPECT_EQ((*heads)[0].guid, a);
    char** block = reinterpret_cast<char**>(heads);
    disposeHandle(&block);
    API_Neig** neigs = list.getSelectList(false);
    ASSERT_NE(neigs, nullptr);
    EXPECT_EQ((*neigs)[0].neigID, 1);
    block = reinterpret_cast<char**>(neigs);
    disposeHandle(&block);
    EXPECT_EQ(ElementLinkList().getHeaderList(false), nullptr);
    sim::failNextAllocations(1);
    EXPECT_EQ(list.getSelectList(false), nullptr);
}

TEST_F(ElementLinkListTest, SelectionLinksAndProxyForms) {
    API_Element door;
    door.header.typeID = API_DoorID;
    door.header.variationID = 42;
    door.header.floorInd = 0;
    GS::Guid guid = sim::addElement(door);
    API_Neig neig;
    neig.neigID = 12;
    neig.guid = guid;
    neig.elemPartType = 3;
    ElementLink selected(neig, plan);
    EXPECT_TRUE(selected.isSelectionLink());
    EXPECT_EQ(selected.getType(), element_id(API_DoorID));
    EXPECT_EQ(selected.getVariation(), 42u);
    EXPECT_EQ(selected.getSelectionValue(), 3);
    API_Neig back = selected.getSelectHeader(false);
    EXPECT_EQ(back.neigID, 12);
    EXPECT_EQ(back.elemPartType, 3);

    // Two links without GUIDs from one selection record are equal whatever their kinds.
    API_Neig bare;
    bare.neigID = 12;
    ElementLink first, second;
    first = bare;
    second = bare;
    second.setType(element_id(7));
    EXPECT_TRUE(first == second);

    // Seen through a section, the link's proxy forms name the proxy.
    sim::DatabaseRecord record;
    record.type = APIWind_SectionID;
    Section* section = host.getProject()->getSection(DatabaseGuid(sim::addDatabase(record)));
    ElementLink seen(Guid(guid), plan);
    seen.linkToCutPlane(section);
    seen.setProxyID(makeGuid(5));
    EXPECT_EQ(seen.getProxyKind(), element_id(29));
    EXPECT_EQ(seen.getProxySource(), section);
    EXPECT_EQ(seen.getHeader(true).typeID, 29);
    EXPECT_EQ(seen.getSelectHeader(true).neigID, 55);
    EXPECT_EQ(seen.getSelectHeader(true).guid, GS::Guid(makeGuid(5)));
    EXPECT_EQ(seen.getHeader(false).guid, guid);

    ElementLink loose;
    loose.setUniqueID(Guid(guid), nullptr);
    EXPECT_EQ(loose.getSource(), plan); // the floor plan when it had none
}

TEST_F(ElementLinkListTest, GroupSuspensionSwitchesOnTheFloorPlan) {
    sim::DatabaseRecord record;
    record.type = APIWind_SectionID;
    Section* section = host.getProject()->getSection(DatabaseGuid(sim::addDatabase(record)));
    ASSERT_TRUE(host.setActiveDrawing(*section));
    EXPECT_TRUE(host.isGroupActive());
    sim::clearCalls();
    EXPECT_TRUE(host.setGroupActive(false));
    EXPECT_TRUE(sim::isGroupSuspended());
    // The floor plan was current for the toggle, and the section is again.
    EXPECT_EQ(host.getActiveDrawing(), section);
    EXPECT_EQ(sim::currentDatabase(), GS::Guid(section->getID()));
    EXPECT_EQ(sim::callCount("ACAPI_Element_Tool"), 1u);
    EXPECT_TRUE(host.setGroupActive(false)); // nothing to do
    EXPECT_EQ(sim::callCount("ACAPI_Element_Tool"), 1u);
    sim::failCall("ACAPI_Element_Tool", APIERR_GENERAL);
    EXPECT_FALSE(host.setGroupActive(true));
}
