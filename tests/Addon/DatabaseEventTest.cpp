#include "Addon/DatabaseEvent.h"
#include "Database/Drawing.h"
#include "sim/Elements.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

using namespace zelvane;

namespace {

char marker;
API_Element seenRecord;
ElementLink seenLink;

Element* object(const API_Element& record, const ElementLink& link) {
    seenRecord = record;
    seenLink = link;
    return reinterpret_cast<Element*>(&marker);
}

class DatabaseEventTest : public ::testing::Test {
protected:
    void SetUp() override {
        Drawing::startup();
        Drawing::addAdapter(element_id(API_ObjectID), object, false);
    }
    void TearDown() override { Drawing::shutdown(); }
};

} // namespace

TEST_F(DatabaseEventTest, OriginalElementComesFromTheNotifiedParent) {
    ElementLink link(element_id(API_ObjectID), 0);
    DatabaseEvent event(3, link, 9);
    EXPECT_EQ(event.getSpec(), EventSpec(HostEvent::ID, DatabaseEvent::ID));
    EXPECT_EQ(event.getID(), 3);
    EXPECT_EQ(event.getValue(), 9);
    EXPECT_EQ(event.getOriginalElement(), nullptr); // no notification under way

    API_Element parent;
    parent.header.typeID = API_ObjectID;
    parent.header.variationID = 12;
    parent.header.guid.Generate();
    sim::setNotifiedParent(parent);
    EXPECT_EQ(event.getOriginalElement(), reinterpret_cast<Element*>(&marker));
    EXPECT_EQ(seenRecord.header.guid, parent.header.guid);
    EXPECT_EQ(GS::Guid(seenLink.getUniqueID()), parent.header.guid);
    EXPECT_EQ(seenLink.getVariation(), 12u);

    // Another member's element is answered all the same; other host errors give nothing.
    sim::setNotifiedParent(parent, {}, 0, 0, true);
    EXPECT_NE(event.getOriginalElement(), nullptr);
    sim::failCall("ACAPI_Notify_GetParentElement", APIERR_GENERAL);
    EXPECT_EQ(event.getOriginalElement(), nullptr);
    // The host hands out no memo with the parent element.
    EXPECT_EQ(event.getOriginalElement(true), nullptr);

    parent.header.typeID = API_DoorID; // no factory for doors
    sim::setNotifiedParent(parent);
    EXPECT_EQ(event.getOriginalElement(), nullptr);

    std::unique_ptr<DatabaseEvent> copy(event.clone());
    EXPECT_EQ(copy->getID(), 3);
    EXPECT_TRUE(copy->getLink() == link);
}
