#include "Addon/DatabaseEvent.h"
#include "../Database/TestElement.h"
#include "ACAPI/ElementTable.hpp"
#include "Database/Drawing.h"
#include "Environment/MemoryBlock.h"
#include "sim/ElementTable.h"
#include "sim/Elements.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

namespace {

class DatabaseEventTest : public ::testing::Test {
protected:
    void SetUp() override {
        Drawing::startup();
        Drawing::addAdapter(element_id(API_ObjectID), TestElement::create,
                            true); // before the start-up's objects
        sim::openProject();
    }
    void TearDown() override { Drawing::shutdown(); }
};

} // namespace

TEST_F(DatabaseEventTest, OriginalElementComesFromTheNotifiedParentWithMemoAndUserData) {
    ElementLink link(element_id(API_ObjectID), 0);
    DatabaseEvent event(3, link, 9);
    EXPECT_EQ(event.getSpec(), EventSpec(HostEvent::ID, DatabaseEvent::ID));
    EXPECT_EQ(event.getValue(), 9);
    EXPECT_EQ(event.getOriginalElement(), nullptr); // no notification under way

    API_Element parent;
    parent.header.typeID = API_ObjectID;
    parent.header.variationID = 12;
    API_ElementMemo memo;
    memo.coords = reinterpret_cast<API_Coord**>(BMAllocateHandle(2 * sizeof(API_Coord), 0, 0));
    (*memo.coords)[0] = API_Coord{5.0, 6.0}; // the host keeps every byte it is handed
    (*memo.coords)[1] = API_Coord{7.0, 8.0};
    ASSERT_EQ(ACAPI_Element_Create(&parent, &memo), NoError);
    ACAPI_DisposeElemMemoHdls(&memo);
    sim::setNotifiedParent(parent, {'u', 'd'}, 2, 19789);

    std::unique_ptr<Element> plain(event.getOriginalElement());
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(GS::Guid(plain->getUniqueID()), parent.header.guid);
    EXPECT_EQ(plain->getClass(), 12u);
    EXPECT_TRUE(static_cast<TestElement&>(*plain).coords().empty());
    std::unique_ptr<MemoryBlock> data(plain->getUserData());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->size(), 2);
    EXPECT_FALSE(plain->isUserDataTouched());

    std::unique_ptr<Element> withMemo(event.getOriginalElement(true));
    ASSERT_NE(withMemo, nullptr);
    ASSERT_EQ(static_cast<TestElement&>(*withMemo).coords().size(), 2u);
    EXPECT_EQ(static_cast<TestElement&>(*withMemo).coords()[0].x, 5.0);
    EXPECT_EQ(static_cast<TestElement&>(*withMemo).coords()[1].y, 8.0);
    EXPECT_TRUE(Element::m_isMinData);

    // Another member's element is answered all the same; other host errors give nothing, and
    // leave no memo or user data behind.
    sim::setNotifiedParent(parent, {'u'}, 0, 0, true);
    EXPECT_NE(std::unique_ptr<Element>(event.getOriginalElement()), nullptr);
    sim::failCall("ACAPI_Notify_GetParentElement", APIERR_GENERAL);
    EXPECT_EQ(event.getOriginalElement(true), nullptr);
    sim::failNextAllocations(1, ErrMemoryFull, 2);
    EXPECT_EQ(event.getOriginalElement(true), nullptr);

    parent.header.typeID = API_DoorID; // no factory for doors
    sim::setNotifiedParent(parent);
    EXPECT_EQ(event.getOriginalElement(), nullptr);

    std::unique_ptr<DatabaseEvent> copy(event.clone());
    EXPECT_EQ(copy->getID(), 3);
    EXPECT_TRUE(copy->getLink() == link);
}
