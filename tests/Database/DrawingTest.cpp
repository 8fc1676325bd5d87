#include "Database/Drawing.h"
#include "Database/ElementLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zelvane;

namespace {

// Element objects are never dereferenced here: a made element is a marker address.
char markers[4];
std::vector<std::string> calls;

Element* refusing(const API_Element&, const ElementLink&) {
    calls.push_back("refusing");
    return nullptr;
}

Element* making(const API_Element& record, const ElementLink& link) {
    calls.push_back("making " + std::to_string(record.header.typeID) + " " +
                    std::to_string(link.getVariation()));
    return reinterpret_cast<Element*>(&markers[0]);
}

Element* adapting(const API_Element&, const ElementLink&) {
    calls.push_back("adapting");
    return reinterpret_cast<Element*>(&markers[1]);
}

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        Drawing::startup();
        calls.clear();
    }
    void TearDown() override { Drawing::shutdown(); }
};

} // namespace

TEST_F(DrawingTest, FactoriesAreTriedAdaptersFirstInRegistrationOrder) {
    API_Element record;
    record.header.typeID = API_ObjectID;
    record.header.variationID = 77;
    ElementLink link(element_id(6), 0);
    EXPECT_EQ(Drawing::createElement(record, link), nullptr); // nothing registered
    EXPECT_EQ(link.getVariation(), 77u);

    EXPECT_EQ(Drawing::addAdapter(element_id(6, 0), refusing, false), refusing);
    Drawing::addAdapter(element_id(6, 2), making, false);
    Drawing::addAdapter(element_id(6, 2), refusing, false); // already there for an equivalent kind
    EXPECT_EQ(Drawing::createElement(record, link), reinterpret_cast<Element*>(&markers[0]));
    EXPECT_EQ(calls, (std::vector<std::string>{"refusing", "making 6 77"}));

    calls.clear();
    Drawing::addAdapter(element_id(6, 5), adapting, true);
    EXPECT_EQ(Drawing::createElement(record, link), reinterpret_cast<Element*>(&markers[1]));
    EXPECT_EQ(calls, (std::vector<std::string>{"adapting"}));

    calls.clear();
    record.header.typeID = API_DoorID;
    EXPECT_EQ(Drawing::createElement(record, link), nullptr);
    EXPECT_TRUE(calls.empty());

    Drawing::shutdown();
    record.header.typeID = API_ObjectID;
    EXPECT_EQ(Drawing::createElement(record, link), nullptr);
}
